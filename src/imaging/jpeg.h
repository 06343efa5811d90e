#pragma once

#include "imaging/bitmap.h"

#include <string_view>

namespace kelmor {

// Decodes a JPEG file held in memory into a 24-bit bitmap for display
// (greyscale, YCbCr, RGB and CMYK/YCCK files). Truncated or slightly corrupt
// data decodes as far as libjpeg gets, as its own tools do. Fatal decoder
// errors throw Error with libjpeg's own message, such as "Not a JPEG file:
// starts with 0x42 0x4d"; pictures past the picture limits give "Image too large".
Bitmap decodeJpeg(std::string_view bytes);

} // namespace kelmor
