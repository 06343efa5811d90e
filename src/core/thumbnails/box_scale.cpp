#include "thumbnails/box_scale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelmor {
namespace {

// How one axis maps: target pixel i takes `count[i]` source pixels from `first[i]` on, with
// the weights from `weight[offset[i]]` on, summing to 1.
struct Taps {
    std::vector<int> first, count, offset;
    std::vector<float> weight;
};

Taps tapsFor(int source, int target) {
    Taps taps;
    const double step = double(source) / target;
    for (int i = 0; i < target; ++i) {
        const double begin = i * step;
        const double end = std::min(double(source), (i + 1) * step);
        const int first = static_cast<int>(begin);
        const int last = std::min(source, static_cast<int>(std::ceil(end)));
        taps.first.push_back(first);
        taps.count.push_back(last - first);
        taps.offset.push_back(static_cast<int>(taps.weight.size()));
        for (int j = first; j < last; ++j) {
            const double covered = std::min(end, j + 1.0) - std::max(begin, double(j));
            taps.weight.push_back(static_cast<float>(covered / (end - begin)));
        }
    }
    return taps;
}

std::uint8_t toByte(float value) {
    return static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
}

// One source row scaled across into `out`, premultiplied.
void scaleAcross(const std::uint8_t* in, const Taps& across, std::vector<float>& out) {
    float* to = out.data();
    for (std::size_t x = 0; x < across.first.size(); ++x, to += 4) {
        const float* w = across.weight.data() + across.offset[x];
        const std::uint8_t* p = in + std::size_t(across.first[x]) * 4;
        float r = 0, g = 0, b = 0, a = 0;
        for (int k = 0; k < across.count[x]; ++k, p += 4) {
            const float alpha = w[k] * p[3];
            r += alpha * p[0];
            g += alpha * p[1];
            b += alpha * p[2];
            a += alpha;
        }
        to[0] = r;
        to[1] = g;
        to[2] = b;
        to[3] = a;
    }
}

} // namespace

PictureSize fittedSize(std::int64_t width, std::int64_t height, int edge) {
    const std::int64_t longer = std::max(width, height);
    if (longer <= edge)
        return {width, height};
    const auto side = [&](std::int64_t length) {
        return std::max<std::int64_t>(1, std::llround(double(length) * edge / double(longer)));
    };
    return {side(width), side(height)};
}

RgbaImage boxScale(const RgbaImage& source, int width, int height) {
    if (source.width == width && source.height == height)
        return source;
    const Taps across = tapsFor(source.width, width);
    const Taps down = tapsFor(source.height, height);
    // Each target row sums the source rows it covers, each scaled across first into
    // premultiplied floats (red, green and blue times alpha, then alpha) one at a time, so that
    // a tall picture takes no more memory than a row; then back to straight values.
    RgbaImage image = RgbaImage::blank(width, height);
    std::vector<float> row(std::size_t(width) * 4);
    std::vector<float> sum(row.size());
    for (int y = 0; y < height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const float* w = down.weight.data() + down.offset[y];
        for (int k = 0; k < down.count[y]; ++k) {
            scaleAcross(source.row(down.first[y] + k), across, row);
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i] += w[k] * row[i];
        }
        std::uint8_t* out = image.row(y);
        for (int x = 0; x < width; ++x, out += 4) {
            const float* s = sum.data() + std::size_t(x) * 4;
            const float alpha = s[3];
            if (alpha <= 0.0f)
                continue;
            for (int c = 0; c < 3; ++c)
                out[c] = toByte(s[c] / alpha);
            out[3] = toByte(alpha);
        }
    }
    return image;
}

} // namespace kelmor
