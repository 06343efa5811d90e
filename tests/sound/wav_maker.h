#pragma once

#include "support/temp_folder.h"

#include <cmath>
#include <numbers>
#include <sndfile.h>
#include <string>
#include <vector>

namespace kelmor::test {

// Interleaved samples of a sine of `hz` at half the full level, the same on every channel.
inline std::vector<float> sine(double hz, double seconds, int rate, int channels) {
    const auto frames = static_cast<std::size_t>(std::lround(seconds * rate));
    std::vector<float> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(
            0.5 * std::sin(2 * std::numbers::pi * hz *
                           static_cast<double>(i / static_cast<std::size_t>(channels)) / rate));
    return samples;
}

// Writes a WAV file of the given libsndfile encoding directly with libsndfile.
inline void writeWav(const std::string& path, int subformat, int channels, int rate,
                     const std::vector<float>& samples, int container = SF_FORMAT_WAV) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = container | subformat;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
    sf_close(file);
}

} // namespace kelmor::test
