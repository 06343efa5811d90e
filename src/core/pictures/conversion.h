#pragma once

// GIF to BMP and BMP to GIF, and any picture to PNG, WebP, GIF or BMP: the Pics tab's
// "&Convert" commands and `kelmor-cli convert`, on the picture holder and the codecs. Pure C++.

#include "imaging/picture.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelmor {

enum class ConversionDirection { GifToBmp, BmpToGif };

// "newimage.bmp" for GIF to BMP, "newimage.gif" for BMP to GIF: bare names, so
// the file lands in the process's working directory.
const char* conversionOutputName(ConversionDirection direction);

// Called once the source has been read, before anything is made or written
// (the window clears its preview there, so a source that cannot be read leaves
// the preview untouched).
using SourceReadStep = std::function<void()>;

// GIF to BMP reads `source` as a GIF whatever its extension and makes a BMP of the bitmap of
// its first frame: the frame's own 8-bit bitmap with its colour table when it covers the
// logical screen, otherwise a 32-bit bitmap of the screen's size with the frame drawn at its
// place over black (its transparent pixels stay black). Later frames are not decoded; timing
// and transparency are dropped. Errors: the GIF reader's message or "Cannot open file SOURCE",
// "Image too large".
// BMP to GIF reads `source` as a BMP whatever its extension and makes a one-frame GIF of it:
// 1/4/8-bit bitmaps keep their palette and pixels, deeper ones are reduced to the fixed
// 216-colour palette without dithering. Errors: "Bitmap image is not valid" or "Cannot open
// file SOURCE", "Image too large".
// The bytes of the file the direction makes, without writing them.
std::string convertedPicture(ConversionDirection direction, const std::string& source,
                             const SourceReadStep& sourceRead = {});

// Writes what convertedPicture makes to `target` through a temporary file and rename. Errors
// stop at their step: the read's (nothing written), "Image too large", "Cannot create file
// TARGET".
void convertPicture(ConversionDirection direction, const std::string& source,
                    const std::string& target, const SourceReadStep& sourceRead = {});

// The kinds a picture of any kind converts to.
enum class PictureTarget { Png, WebP, Gif, Bmp };

// "newimage.png", "newimage.webp", "newimage.gif" or "newimage.bmp".
const char* conversionOutputName(PictureTarget target);
// The target an extension names ("png", "webp", "gif", "bmp", any letter case).
std::optional<PictureTarget> pictureTargetOf(std::string_view extension);

// The bytes of the picture as a file of the target kind:
// - PNG: lossless, in the smallest colour type that holds the pixels (encodePng);
// - WebP: lossless (encodeWebp);
// - GIF: a GIF picture as it is, every frame; a 1/4/8-bit bitmap with its palette, as BMP to
//   GIF makes it; any other picture by gifFromRgba (alpha below 128 transparent, its exact
//   colours when they fit a colour table, the 216-colour levels otherwise);
// - BMP: 24 bits when opaque, 32 bits with an alpha mask otherwise.
// A GIF, PNG or SVG picture gives its first frame's pixels to PNG, WebP and BMP.
std::string convertedPicture(PictureTarget target, const Picture& picture);

// The bytes of the picture file `source` (by its extension) as a file of the target kind, as
// convertedPicture makes them from its picture. A PNG, WebP or SVG file is decoded straight to
// its first frame's pixels, with the writer's memory counted against the budget before the
// decode ("Image too large"); any other is loaded by Picture::loadFromFile. `sourceRead` is
// called once it is read.
std::string convertedPicture(PictureTarget target, const std::string& source,
                             const SourceReadStep& sourceRead = {});

// Loads `source` by its extension (as convertedPicture above), then, once read, calls
// `sourceRead` and writes the converted bytes to `target` through a temporary file and rename.
// Errors: the load's ("Unknown picture file extension (.EXT)", "Cannot open file SOURCE", the
// reader's own; nothing written), "Image too large", "Cannot create file TARGET".
void convertPicture(PictureTarget kind, const std::string& source, const std::string& target,
                    const SourceReadStep& sourceRead = {});

} // namespace kelmor
