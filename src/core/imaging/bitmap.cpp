#include "imaging/bitmap.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/image_limits.h"

namespace kelmor {
namespace {

int lowestBit(std::uint32_t mask) {
    int shift = 0;
    while (((mask >> shift) & 1u) == 0)
        ++shift;
    return shift;
}

// Scales a masked channel value to 0..255.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = lowestBit(mask);
    std::uint64_t max = mask >> shift;
    std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255u + max / 2) / max);
}

// Scales 0..255 to a channel mask's range and puts it in place.
std::uint32_t scaledToMask(std::uint8_t value, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = lowestBit(mask);
    std::uint64_t max = mask >> shift;
    return static_cast<std::uint32_t>(((value * max + 127) / 255) << shift) & mask;
}

std::uint32_t packedPixel(const std::uint8_t* row, int x, int bitsPerPixel) {
    if (bitsPerPixel == 16)
        return row[x * 2] | (row[x * 2 + 1] << 8);
    const std::uint8_t* q = row + x * 4;
    return q[0] | (q[1] << 8) | (q[2] << 16) | (std::uint32_t(q[3]) << 24);
}

} // namespace

std::size_t Bitmap::checkedStride(std::int64_t width, std::int64_t height, int bitsPerPixel) {
    checkImageSize(width, height);
    return static_cast<std::size_t>(((width * bitsPerPixel + 31) / 32) * 4);
}

Bitmap::Bitmap(int width, int height, int bitsPerPixel)
    : width_(width), height_(height), bpp_(bitsPerPixel),
      stride_(checkedStride(width, height, bitsPerPixel)),
      pixels_(stride_ * static_cast<std::size_t>(height)) {
    if (bpp_ == 16) {
        redMask = 0x7C00;
        greenMask = 0x03E0;
        blueMask = 0x001F;
    } else if (bpp_ == 32) {
        redMask = 0x00FF0000;
        greenMask = 0x0000FF00;
        blueMask = 0x000000FF;
    }
}

unsigned Bitmap::index(int x, int y) const {
    const std::uint8_t* r = row(y);
    switch (bpp_) {
    case 1:
        return (r[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0Fu;
    case 8:
        return r[x];
    default:
        return 0;
    }
}

void Bitmap::setIndex(int x, int y, unsigned value) {
    std::uint8_t* r = row(y);
    switch (bpp_) {
    case 1: {
        std::uint8_t bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
        r[x >> 3] =
            static_cast<std::uint8_t>((value & 1u) ? (r[x >> 3] | bit) : (r[x >> 3] & ~bit));
        break;
    }
    case 4: {
        int shift = (x & 1) ? 0 : 4;
        r[x >> 1] =
            static_cast<std::uint8_t>((r[x >> 1] & ~(0x0F << shift)) | ((value & 0x0Fu) << shift));
        break;
    }
    case 8:
        r[x] = static_cast<std::uint8_t>(value);
        break;
    default:
        break;
    }
}

Rgb Bitmap::color(int x, int y) const {
    const std::uint8_t* r = row(y);
    switch (bpp_) {
    case 1:
    case 4:
    case 8: {
        unsigned i = index(x, y);
        return i < palette.size() ? palette[i] : Rgb{};
    }
    case 16:
    case 32: {
        std::uint32_t p = packedPixel(r, x, bpp_);
        return {channel(p, redMask), channel(p, greenMask), channel(p, blueMask)};
    }
    case 24:
        return {r[x * 3 + 2], r[x * 3 + 1], r[x * 3]};
    default:
        return {};
    }
}

std::uint8_t Bitmap::alpha(int x, int y) const {
    if (alphaMask == 0 || (bpp_ != 16 && bpp_ != 32))
        return 255;
    return channel(packedPixel(row(y), x, bpp_), alphaMask);
}

void Bitmap::setColor(int x, int y, Rgb value) {
    std::uint8_t* r = row(y);
    switch (bpp_) {
    case 16:
    case 32: {
        std::uint32_t p = scaledToMask(value.r, redMask) | scaledToMask(value.g, greenMask) |
                          scaledToMask(value.b, blueMask) | alphaMask;
        for (int i = 0; i < bpp_ / 8; ++i)
            r[x * (bpp_ / 8) + i] = static_cast<std::uint8_t>(p >> (8 * i));
        break;
    }
    case 24:
        r[x * 3] = value.b;
        r[x * 3 + 1] = value.g;
        r[x * 3 + 2] = value.r;
        break;
    default:
        break;
    }
}

} // namespace kelmor
