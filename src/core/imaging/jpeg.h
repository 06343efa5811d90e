#pragma once

#include "imaging/bitmap.h"
#include "imaging/image_limits.h"
#include "imaging/picture_size.h"

#include <string>
#include <string_view>

namespace kelmor {

// The program's limits with the JPEG reader's own memory, kMaxJpegDecodeBytes.
ImageLimits jpegDecodeLimits();

// Decodes a JPEG file held in memory into a 24-bit bitmap for display
// (greyscale, YCbCr, RGB and CMYK/YCCK files). Truncated or slightly corrupt
// data decodes as far as libjpeg gets, as its own tools do. Fatal decoder
// errors throw Error with libjpeg's own message, such as "Not a JPEG file:
// starts with 0x42 0x4d"; pictures past the size of `limits`, or whose decode
// (the picture, libjpeg's buffers and kJpegWorkingBytes) with the caller's
// copies would take more than their memory, give "Image too large" before any
// pixel is decoded; a file of more than kMaxJpegScans scans, or
// whose scans walk more than kMaxJpegScanBlocks blocks, gives "JPEG picture has
// more than 500 scans" or "JPEG picture has too many scans for its size".
Bitmap decodeJpeg(std::string_view bytes, const ImageLimits& limits = jpegDecodeLimits());

// A JPEG decoded small, and the size of the whole picture.
struct ReducedJpeg {
    Bitmap bitmap;
    PictureSize fullSize;
};

// Decodes a JPEG file as decodeJpeg does, at the smallest of libjpeg's 1/2, 1/4 and 1/8 scales
// whose longer side still has at least `minLongSide` pixels (at full size when none has): the
// scaled inverse DCT skips most of the work and memory. The limits and errors are decodeJpeg's,
// the picture limit applying to the full size.
ReducedJpeg decodeJpegReduced(std::string_view bytes, int minLongSide,
                              const ImageLimits& limits = jpegDecodeLimits());

// The size a JPEG file's frame header gives, read by libjpeg as a decode reads
// it: markers and stray bytes before the frame header are passed over as the
// decode passes them, and no pixel is decoded. Throws "Cannot open file PATH"
// (see openRegularFile) or libjpeg's message for a header it cannot read.
PictureSize readJpegSize(const std::string& path);

} // namespace kelmor
