#pragma once

// A picture made small for its thumbnail, decoding no more of it than that needs.

#include "imaging/picture.h"
#include "imaging/picture_size.h"
#include "imaging/rgba_image.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelmor {

struct ThumbnailPixels {
    RgbaImage image;      // fitted inside edge x edge (see fittedSize)
    PictureSize original; // the picture's own size
};

// The thumbnail of a picture file's bytes, read as `format` (GIF, BMP, JPEG, PNG, WebP or SVG).
// One decoded picture at most is held at a time: a JPEG is decoded at a reduced scale, an SVG
// drawn at the thumbnail's size, a GIF or WebP read up to its first frame. Every reader checks
// the header's size against the picture limits before it decodes a pixel. Throws Error with the
// reader's message ("Unknown picture file extension (.EXT)" for a kind without a reader here).
// `path` is where an SVG's references resolve.
// The memory makeThumbnailPixels takes for the file, from its headers. Throws what reading the
// headers throws.
std::int64_t thumbnailDecodeBytes(PictureFormat format, std::string_view bytes,
                                  const std::string& path, int edge);

ThumbnailPixels makeThumbnailPixels(PictureFormat format, std::string_view bytes,
                                    const std::string& path, int edge);

} // namespace kelmor
