#pragma once

// Between the imaging core and Qt: bitmaps and composed GIF screens as QImages
// for display, and Qt's icon reader behind the picture holder's "ico" type.

#include "imaging/bitmap.h"
#include "imaging/picture_animation.h"
#include "imaging/rgba_image.h"

#include <QImage>
#include <memory>

namespace kelmor {

// The bitmap's colours as an RGB32 image, or ARGB32 when it has an alpha mask.
QImage toQImage(const Bitmap& bitmap);
// The composed screen as an ARGB32 image (uncovered pixels transparent) that
// reads the canvas's pixels in place, without a copy, and keeps the canvas
// alive while it or a copy of it lives. Drawing another frame on the canvas
// changes what the image shows: make a new one for each frame drawn.
QImage toQImage(std::shared_ptr<const FrameCanvas> canvas);
// An RGBA8888 image that reads the pixels in place, without a copy: it is valid while `image`
// lives unchanged, so copy or convert it to keep it.
QImage rgbaView(const RgbaImage& image);
// A 32-bit bitmap with an alpha mask holding the image's pixels.
Bitmap toBitmap(const QImage& image);

// Lets the picture holder load "ico" files through Qt's image readers. Called
// once at start-up; harmless to call again.
void installQtIconDecoder();

} // namespace kelmor
