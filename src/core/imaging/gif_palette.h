#pragma once

// Palette work on GIF images: the fixed 216-colour palette that deep bitmaps are reduced to,
// and one colour table shared by all the frames of an image.

#include "imaging/bitmap.h"
#include "imaging/gif_image.h"

#include <cstdint>
#include <vector>

namespace kelmor {

// The fixed 216-colour palette: levels 0, 51, ..., 255 per channel, index 36 r + 6 g + b.
const std::vector<Rgb>& webSafePalette();

// Writes the index of each pixel of a 16-, 24- or 32-bit bitmap in the fixed palette to `out`
// (width x height bytes, rows top to bottom): level (v + 3) / 51 per channel, no dithering.
void mapToWebSafePalette(const Bitmap& bitmap, std::uint8_t* out);

// Merges every frame's colours into one sorted global table of at most 256
// colours (255 and a black transparent entry when a frame is transparent),
// most used first (first use breaks ties; transparent pixels do not count),
// maps dropped colours to the nearest kept one, empties the local tables
// and re-indexes the pixels.
void shareColorTable(GifImage& image);

} // namespace kelmor
