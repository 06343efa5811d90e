#pragma once

// GIF to BMP and BMP to GIF: the Pics tab's "&Convert" commands and
// `kelmor-cli convert`, on the GIF image services and the BMP codec. Pure C++.

#include <functional>
#include <string>

namespace kelmor {

enum class ConversionDirection { GifToBmp, BmpToGif };

// "newimage.bmp" for GIF to BMP, "newimage.gif" for BMP to GIF: bare names, so
// the file lands in the process's working directory.
const char* conversionOutputName(ConversionDirection direction);

// Called once the source has been read, before anything is made or written
// (the window clears its preview there, so a source that cannot be read leaves
// the preview untouched).
using SourceReadStep = std::function<void()>;

// Reads `source` as a GIF whatever its extension and writes, through a
// temporary file and rename, the bitmap of its first frame to `target` as a
// BMP: the frame's own 8-bit bitmap with its colour table when it covers the
// logical screen, otherwise a 32-bit bitmap of the screen's size with the
// frame drawn at its place over black (its transparent pixels stay black).
// Later frames are not decoded; timing and transparency are dropped. Errors
// stop at their step: the GIF reader's message or "Cannot open file SOURCE" (nothing
// written), "Image too large", "Cannot create file TARGET".
void convertGifToBmp(const std::string& source, const std::string& target,
                     const SourceReadStep& sourceRead = {});

// Reads `source` as a BMP whatever its extension and writes a one-frame GIF
// made from it to `target`: 1/4/8-bit bitmaps keep their palette and pixels,
// deeper ones are reduced to the fixed 216-colour palette without dithering.
// Errors: "Bitmap image is not valid" or "Cannot open file SOURCE" (nothing
// written), "Image too large", "Cannot create file TARGET".
void convertBmpToGif(const std::string& source, const std::string& target,
                     const SourceReadStep& sourceRead = {});

// The bytes of the file the direction's routine writes, without writing them.
std::string convertedPicture(ConversionDirection direction, const std::string& source,
                             const SourceReadStep& sourceRead = {});

// The routine of the direction.
void convertPicture(ConversionDirection direction, const std::string& source,
                    const std::string& target, const SourceReadStep& sourceRead = {});

} // namespace kelmor
