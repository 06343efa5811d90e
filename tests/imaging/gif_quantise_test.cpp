// The colour reduction against giflib's GifQuantizeBuffer (a median cut without dithering) on a
// photograph-like picture: a palette that leaves less error, and dithering that keeps each small
// area's mean colour where giflib's nearest colours leave it off.
#include "imaging/gif_quantise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gif_lib.h>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

constexpr int kSide = 256;
constexpr int kBlock = 8;

// Smooth scenes under fine noise, some 60,000 colours (so that the cuts are sought among cells),
// a transparent disc in the middle.
RgbaImage photo() {
    RgbaImage image = RgbaImage::blank(kSide, kSide);
    std::uint32_t random = 2463534242u;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const double fx = double(x) / kSide, fy = double(y) / kSide;
            const double scene[3] = {128 + 100 * std::sin(fx * 5.1 + fy * 2.3),
                                     120 + 90 * std::sin(fy * 6.3 - fx * 1.1),
                                     110 + 80 * std::cos((fx - 0.4) * (fy - 0.6) * 20)};
            std::uint8_t* pixel = image.row(y) + x * 4;
            for (int c = 0; c < 3; ++c) {
                random ^= random << 13;
                random ^= random >> 17;
                random ^= random << 5;
                pixel[c] = static_cast<std::uint8_t>(
                    std::clamp(scene[c] + double(random % 17) - 8, 0.0, 255.0));
            }
            const int dx = x - kSide / 2, dy = y - kSide / 2;
            pixel[3] = dx * dx + dy * dy < 20 * 20 ? 0 : 255;
        }
    return image;
}

int distance(const std::uint8_t* pixel, Rgb colour) {
    const int r = pixel[0] - colour.r, g = pixel[1] - colour.g, b = pixel[2] - colour.b;
    return r * r + g * g + b * b;
}

// The mean squared distance of the visible pixels to their nearest palette colour.
double nearestError(const RgbaImage& image, const std::vector<Rgb>& palette) {
    double sum = 0;
    int visible = 0;
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        if (image.pixels[i + 3] == 0)
            continue;
        int best = INT32_MAX;
        for (Rgb colour : palette)
            best = std::min(best, distance(&image.pixels[i], colour));
        sum += best;
        ++visible;
    }
    return sum / visible;
}

// The mean, over the blocks of kBlock x kBlock visible pixels, of how far each channel's mean
// lies from the picture's.
double blockMeanError(const RgbaImage& image, const std::vector<std::uint8_t>& indices,
                      const std::vector<Rgb>& palette) {
    double sum = 0;
    int blocks = 0;
    for (int top = 0; top < kSide; top += kBlock)
        for (int left = 0; left < kSide; left += kBlock) {
            std::array<double, 3> off{};
            bool visible = true;
            for (int y = top; y < top + kBlock; ++y)
                for (int x = left; x < left + kBlock; ++x) {
                    const std::uint8_t* pixel = image.row(y) + x * 4;
                    visible &= pixel[3] != 0;
                    const Rgb shown = palette[indices[std::size_t(y) * kSide + x]];
                    off[0] += shown.r - pixel[0];
                    off[1] += shown.g - pixel[1];
                    off[2] += shown.b - pixel[2];
                }
            if (!visible)
                continue;
            for (double channel : off)
                sum += std::abs(channel) / (kBlock * kBlock);
            blocks += 3;
        }
    return sum / blocks;
}

TEST(GifQuantise, LeavesLessErrorThanGiflib) {
    const RgbaImage image = photo();
    // giflib reduces the visible pixels alone, given as one row, to 256 colours.
    std::vector<GifByteType> red, green, blue;
    for (std::size_t i = 0; i < image.pixels.size(); i += 4)
        if (image.pixels[i + 3] != 0) {
            red.push_back(image.pixels[i]);
            green.push_back(image.pixels[i + 1]);
            blue.push_back(image.pixels[i + 2]);
        }
    int size = 256;
    std::vector<GifByteType> visibleIndices(red.size());
    std::array<GifColorType, 256> theirColours{};
    ASSERT_EQ(GifQuantizeBuffer(static_cast<unsigned>(red.size()), 1, &size, red.data(),
                                green.data(), blue.data(), visibleIndices.data(),
                                theirColours.data()),
              GIF_OK);
    std::vector<Rgb> theirs;
    for (int i = 0; i < size; ++i)
        theirs.push_back({theirColours[i].Red, theirColours[i].Green, theirColours[i].Blue});
    std::vector<std::uint8_t> theirIndices(image.pixels.size() / 4);
    for (std::size_t i = 0, next = 0; i < theirIndices.size(); ++i)
        if (image.pixels[i * 4 + 3] != 0)
            theirIndices[i] = visibleIndices[next++];

    const std::vector<Rgb> ours = medianCutPalette(image, 255);
    ASSERT_EQ(ours.size(), 255u);
    const std::vector<std::uint8_t> indices = ditherToPalette(image, ours);
    for (std::size_t i = 0; i < indices.size(); ++i)
        ASSERT_EQ(indices[i] == 255, image.pixels[i * 4 + 3] == 0) << i;
    const double ourError = nearestError(image, ours), theirError = nearestError(image, theirs);
    EXPECT_LT(ourError, theirError);
    const double ourDrift = blockMeanError(image, indices, ours);
    const double theirDrift = blockMeanError(image, theirIndices, theirs);
    EXPECT_LT(ourDrift, theirDrift / 2);
}

} // namespace
} // namespace kelmor
