#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelmor {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A device-independent bitmap that keeps its own pixel format: 1, 4, 8, 16, 24
// or 32 bits per pixel, a palette for the first three. Rows are stored top-down,
// each padded to a multiple of four bytes; within a row pixels are packed
// most-significant bits first (1/4 bpp), 16-bit pixels little-endian with the
// channel masks below, 24/32-bit pixels as blue, green, red(, unused).
class Bitmap {
public:
    Bitmap() = default;
    // Throws Error("Image too large") past the picture limits (imaging/image_limits.h).
    Bitmap(int width, int height, int bitsPerPixel);

    bool empty() const { return width_ == 0 || height_ == 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bpp_; }
    std::size_t stride() const { return stride_; }

    std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * stride_;
    }
    std::vector<std::uint8_t>& pixels() { return pixels_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

    // Palette of 1/4/8-bit bitmaps; may hold fewer entries than 2^bpp.
    std::vector<Rgb> palette;
    // Channel masks of 16- and 32-bit pixels (defaults: 5-5-5 and 8-8-8).
    std::uint32_t redMask = 0, greenMask = 0, blueMask = 0;
    // Alpha mask of 16- and 32-bit pixels; 0 when the pixels are opaque.
    std::uint32_t alphaMask = 0;

    // Bytes of a row that hold pixels, without the padding to four bytes.
    std::size_t rowBytes() const { return (static_cast<std::size_t>(width_) * bpp_ + 7) / 8; }

    // Palette index of a 1/4/8-bit pixel.
    unsigned index(int x, int y) const;
    void setIndex(int x, int y, unsigned value);
    // The colour of any pixel, whatever the format (an index past the palette reads black).
    Rgb color(int x, int y) const;
    void setColor(int x, int y, Rgb value); // 16/24/32-bit bitmaps only
    // Opacity 0..255 of a pixel: 255 unless the bitmap has an alpha mask.
    std::uint8_t alpha(int x, int y) const;

    // Throws Error("Image too large") when a width x height picture would pass
    // the picture limits; returns the row stride at this depth otherwise.
    static std::size_t checkedStride(std::int64_t width, std::int64_t height, int bitsPerPixel);

private:
    int width_ = 0;
    int height_ = 0;
    int bpp_ = 0;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> pixels_;
};

} // namespace kelmor
