#pragma once

// Colour reduction for pictures that hold more colours than a GIF table: a palette by median
// cut, each box cut where it leaves the least squared error, and the pixels mapped onto it with
// serpentine Floyd-Steinberg error diffusion, so that a gradient keeps its steps instead of
// falling into bands.

#include "imaging/bitmap.h"
#include "imaging/rgba_image.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kelmor {

// A palette of at most `room` (1 to 256) colours for the pixels with alpha above 0, each taken
// as opaque; pixels of alpha 0 count for nothing. Each entry is the mean of the colours its box
// holds, so a colour used by many pixels keeps its exact value. A picture of `room` colours or
// fewer gets exactly them, in no particular order; one with no visible pixel an empty palette.
std::vector<Rgb> medianCutPalette(const RgbaImage& picture, std::size_t room);

// The index of every pixel in the palette (at most 256 colours, at least one), rows top to
// bottom, the colours' error spread onto the neighbours Floyd-Steinberg fashion, every other
// row right to left. Pixels of alpha 0 take index palette.size() (the caller's transparent
// entry, after the palette) and neither take nor pass on any error.
std::vector<std::uint8_t> ditherToPalette(const RgbaImage& picture, std::span<const Rgb> palette);

} // namespace kelmor
