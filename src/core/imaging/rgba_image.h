#pragma once

// The one pixel form every picture reader gives and every newer writer takes: 8-bit red,
// green, blue and alpha, straight (not premultiplied), rows top-down without padding.

#include "imaging/bitmap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelmor {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 4 bytes

    // An image of the size with every pixel transparent black. Throws Error("Image too large")
    // past kMaxImagePixels.
    static RgbaImage blank(int width, int height);

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint8_t* row(int y) { return pixels.data() + std::size_t(y) * width * 4; }
    const std::uint8_t* row(int y) const { return pixels.data() + std::size_t(y) * width * 4; }
    // Whether every pixel has alpha 255.
    bool opaque() const;
    friend bool operator==(const RgbaImage&, const RgbaImage&) = default;
};

// One frame of an animation, composed to the whole canvas, and how long it stays.
struct RgbaFrame {
    RgbaImage image;
    int durationMs = 0;
};

// The frames of an animated picture (one frame for a still one) and its loop count, 0 meaning
// for ever.
struct RgbaAnimation {
    std::vector<RgbaFrame> frames;
    int loopCount = 0;
};

// A 32-bit bitmap of the pixels, with an alpha mask unless every pixel is opaque.
Bitmap toBitmap(const RgbaImage& image);
// The pixels of a bitmap of any format (alpha 255 unless it has an alpha mask).
RgbaImage toRgba(const Bitmap& bitmap);

} // namespace kelmor
