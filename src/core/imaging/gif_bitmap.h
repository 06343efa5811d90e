#pragma once

// GIF images to and from bitmaps: frames made from bitmaps, and the picture a GIF shows.

#include "imaging/bitmap.h"
#include "imaging/gif_image.h"

namespace kelmor {

// Appends the bitmap as a new frame at 0, 0 and returns its index. 1/4/8-bit
// bitmaps keep their palette as the local table; deeper ones are reduced to
// the fixed 216-colour palette (see mapToWebSafePalette). The logical screen grows to hold the
// frame. Throws "Object type not supported for operation" for a bitmap of no format.
int appendFrame(GifImage& image, const Bitmap& bitmap);
// A one-frame image made from the bitmap as appendFrame makes it.
GifImage gifFromBitmap(const Bitmap& bitmap);

// The first frame that has an image, at the logical screen size: the
// frame's own 8-bit bitmap when it covers the screen, otherwise a 32-bit
// bitmap with the frame drawn at its position over black. An image without
// such a frame gives an empty bitmap. Throws "No global or local color
// table defined" when the frame has no colour table.
Bitmap toBitmap(const GifImage& image);
// The frame alone as an 8-bit bitmap with its active colour table as palette.
Bitmap frameBitmap(const GifImage& image, int index);

} // namespace kelmor
