#pragma once

// Scaling pictures down for thumbnails.

#include "imaging/picture_size.h"
#include "imaging/rgba_image.h"

namespace kelmor {

// The size of a width x height picture fitted inside edge x edge with its aspect ratio kept:
// the longer side becomes `edge`, the other is rounded to the nearest pixel and is at least 1.
// A picture that fits already keeps its size.
PictureSize fittedSize(std::int64_t width, std::int64_t height, int edge);

// The picture at width x height through an area (box) filter: each new pixel is the mean of
// the source area it covers, pixels partly covered weighted by how much of them it covers.
// Colours are averaged premultiplied by their alpha, so a transparent pixel's colour does not
// bleed into its neighbours.
RgbaImage boxScale(const RgbaImage& source, int width, int height);

} // namespace kelmor
