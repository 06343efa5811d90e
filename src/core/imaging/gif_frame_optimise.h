#pragma once

// Frame optimisation of an animated GIF: pixels that do not change become transparent, and
// transparent frames shrink to what they show.

#include "imaging/gif_image.h"

namespace kelmor {

// Merge: pixels equal to the opaque pixel under them in the frame before become
// transparent; a frame without a transparent colour gets a new black entry
// for it (or, on the global table, the index another transparent frame uses).
// Crop: transparent frames are cut to their opaque pixels, and empty ones are
// removed. Merge runs first.
void reduceFrames(GifImage& image, bool merge, bool crop);

} // namespace kelmor
