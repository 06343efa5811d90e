#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace kelmor::test {

// Where a recorded tone lies in a mono signal and what it is: its span between the
// first and last sample above `threshold`, its pitch from upward zero crossings
// within that span and its root-mean-square level.
struct ToneMeasure {
    double seconds = 0;
    double hertz = 0;
    double rms = 0;
};

inline ToneMeasure measureTone(const std::vector<float>& samples, int rate, float threshold) {
    std::size_t first = samples.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (std::fabs(samples[i]) > threshold) {
            first = std::min(first, i);
            last = i;
        }
    ToneMeasure m;
    if (first >= last)
        return m;
    int crossings = 0;
    double squares = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (i > first && samples[i - 1] < 0 && samples[i] >= 0)
            ++crossings;
        squares += static_cast<double>(samples[i]) * samples[i];
    }
    m.seconds = static_cast<double>(last - first) / rate;
    m.hertz = crossings / m.seconds;
    m.rms = std::sqrt(squares / static_cast<double>(last - first + 1));
    return m;
}

} // namespace kelmor::test
