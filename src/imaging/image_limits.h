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
// The memory libjpeg may take for its own buffers (progressive coefficients and the like); past
// it a decode fails with libjpeg's message instead of exhausting memory on a hostile header.
inline constexpr long kMaxJpegDecoderMemory = 512L << 20;

// Throws Error("Image too large") for a width x height picture past kMaxImagePixels, or with a
// negative side.
inline void checkImageSize(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0 || (width > 0 && height > kMaxImagePixels / width))
        throw Error(msg::kImageTooLarge);
}

} // namespace kelmor
