#pragma once

#include "imaging/bitmap.h"

namespace kelmor {

// The picture every frame slot starts with: a 50 x 50 two-colour bitmap
// (index 0 black, 1 white) of a film frame, black with white sprocket holes
// down both sides and a white centre. Its bottom-left pixel is black.
Bitmap filmFramePlaceholder();

} // namespace kelmor
