#pragma once

#include "imaging/bitmap.h"
#include "imaging/image_limits.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelmor {

// What a BMP file's header announced, beside the pixels it gave.
struct BmpFileInfo {
    std::uint32_t headerSize = 0;  // 12 for OS/2 core headers, 40 for BITMAPINFOHEADER, ...
    std::uint32_t compression = 0; // BI_RGB 0, BI_RLE8 1, BI_RLE4 2, BI_BITFIELDS 3, ...
    int bitsPerPixel = 0;          // as stored in the file (2 is widened to 4 in the bitmap)
    bool topDown = false;
};

// BMP compression codes.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;
inline constexpr std::uint32_t kBiAlphaBitfields = 6;

// Reads a BMP file held in memory: Windows headers from BITMAPINFOHEADER to
// BITMAPV5HEADER, OS/2 1.x and 2.x headers, bottom-up and top-down rows,
// uncompressed, bit-field and run-length encoded pixels. The bitmap keeps the
// file's pixel format and palette (2-bit pixels become 4-bit ones). A run-length
// stream that ends early or runs past the edges leaves the remaining pixels at
// index 0. Throws Error("Bitmap image is not valid") for any other damage and
// Error("Image too large") past `limits`: its picture size, and the bitmap with the caller's
// copies against its memory.
Bitmap readBmp(std::string_view bytes, BmpFileInfo* info = nullptr, const ImageLimits& limits = {});

// The bytes of an uncompressed BMP file holding the bitmap in its own pixel
// format and palette, rows bottom-up. Non-default channel masks are written as
// BI_BITFIELDS, an alpha mask with a BITMAPV4HEADER. Throws
// Error("Bitmap image is not valid") for an empty bitmap.
std::string writeBmp(const Bitmap& bitmap);

} // namespace kelmor
