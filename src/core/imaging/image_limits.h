#pragma once

// How large a picture the decoders accept. Pictures are limited by the memory their pixels
// take, not by the length of a side: a long thin picture opens as long as its pixels fit.

#include "base/error.h"
#include "base/messages.h"

#include <cstdint>

namespace kelmor {

// The most memory one picture's pixels may take when shown, at 32 bits per pixel (every
// picture is drawn at that depth, a GIF's screen is composed at it).
inline constexpr std::int64_t kMaxImageBytes = std::int64_t{256} << 20;
inline constexpr std::int64_t kMaxImagePixels = kMaxImageBytes / 4;
// All frames of one GIF file, or of one animation assembly, together: 1 GiB at 32 bits.
inline constexpr std::int64_t kMaxTotalPixels = std::int64_t{256} << 20;
// The most memory one JPEG decode may take: its 24-bit picture and libjpeg's own buffers
// together, the coefficients of a progressive file above all (two bytes per pixel and
// component). A picture that would need more is refused before libjpeg allocates them. With the
// file and the program itself, a command stays under 500 MB.
inline constexpr std::int64_t kMaxJpegDecodeBytes = std::int64_t{400} << 20;
// What libjpeg takes beside the coefficients (row buffers, tables), kept free in that budget.
inline constexpr std::int64_t kJpegWorkingBytes = std::int64_t{16} << 20;
// The most scans a JPEG decode reads, the limit libjpeg-turbo's own tools suggest, and the most
// coefficient blocks all its scans together may walk: an empty scan still walks every block of
// its components, so these bound the time a small file can take.
inline constexpr int kMaxJpegScans = 500;
inline constexpr std::int64_t kMaxJpegScanBlocks = std::int64_t{64} << 20;

// The memory one command gives its pictures: every copy of their pixels that exists at once,
// the decoder's own buffers, the caller's copies (a bitmap to show, a second canvas) and an
// encoder's buffers, counted from the headers before anything is decoded. With the program
// itself (about 30 MB with its libraries) and a file read whole, a command stays under 500 MB.
// The thumbnail workers share one such budget among them.
inline constexpr std::int64_t kMemoryBudgetBytes = std::int64_t{400} << 20;

// How large a picture one decode accepts. The defaults are the program's; a caller that only
// needs a small picture (a thumbnail) passes lower ones.
struct ImageLimits {
    std::int64_t maxImagePixels = kMaxImagePixels; // one picture, or one frame
    std::int64_t maxTotalPixels = kMaxTotalPixels; // all frames of one file together
    // The memory the decode and the copies below may take together.
    std::int64_t maxBytes = kMemoryBudgetBytes;
    // The bytes per pixel of the decoded picture that the caller holds beside it (a bitmap,
    // an encoder's buffers): counted with the decoder's own against maxBytes.
    std::int64_t bytesPerPixelAfter = 0;
};

// Throws Error("Image too large") when a decode that takes `decodeBytes` of its own for a
// picture of `pixels`, with the caller's copies, passes the limits' memory.
inline void checkMemory(const ImageLimits& limits, std::int64_t decodeBytes, std::int64_t pixels) {
    if (decodeBytes < 0 || pixels < 0 || limits.bytesPerPixelAfter < 0 ||
        decodeBytes > limits.maxBytes ||
        (limits.bytesPerPixelAfter > 0 &&
         pixels > (limits.maxBytes - decodeBytes) / limits.bytesPerPixelAfter))
        throw Error(msg::kImageTooLarge);
}

// Whether a width x height picture fits `maxPixels`, with no negative side.
inline bool withinImageLimits(std::int64_t width, std::int64_t height,
                              std::int64_t maxPixels = kMaxImagePixels) {
    return width >= 0 && height >= 0 && (width == 0 || height <= maxPixels / width);
}

// Throws Error("Image too large") for a width x height picture past kMaxImagePixels, or with a
// negative side.
inline void checkImageSize(std::int64_t width, std::int64_t height) {
    if (!withinImageLimits(width, height))
        throw Error(msg::kImageTooLarge);
}

} // namespace kelmor
