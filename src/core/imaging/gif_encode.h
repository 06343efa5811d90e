#pragma once

// Encoding GIF files: block order, descriptors, padded colour tables, extensions and LZW image
// data.

#include "imaging/gif_image.h"

#include <string>

namespace kelmor {

// What one encode takes: who hears its warnings ("Image width too small" when a frame lies
// past the logical screen).
struct GifEncodeOptions {
    GifWarningHandler warn;
};

// The GIF file of the image. Throws "Unsupported GIF version" for an image without frames,
// "Invalid GIF data" for a colour table of more than 256 entries and "Color not in color
// table" for a pixel past its table.
std::string encodeGif(const GifImage& image, const GifEncodeOptions& options = {});
// Writes the file through a temporary file and a rename: "Cannot create file PATH".
void saveGif(const std::string& path, const GifImage& image, const GifEncodeOptions& options = {});

} // namespace kelmor
