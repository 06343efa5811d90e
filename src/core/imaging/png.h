#pragma once

// PNG files through libspng: decoding to the RGBA pixel form, and writing the smallest
// lossless file for a picture.

#include "imaging/image_limits.h"
#include "imaging/picture_size.h"
#include "imaging/rgba_image.h"

#include <string>
#include <string_view>

namespace kelmor {

// Decodes a PNG file held in memory into RGBA, with the values as stored: no gamma or colour
// profile correction, 16-bit samples keep their high byte, 1/2/4-bit samples are scaled up to
// 0..255, grey gives R = G = B and tRNS becomes alpha. The size in the header is checked against
// `limits` before any pixel is decoded ("Image too large"). Text, profile and other metadata
// chunks are held to small limits, and skipped when they pass them. The file is read up to IEND:
// a wrong CRC of a critical chunk, a cut anywhere or a bad filter type gives "PNG image is not
// valid: " and libspng's reason.
RgbaImage decodePng(std::string_view bytes, const ImageLimits& limits = {});

// The size the header gives, without decoding: "Image too large" past the limits of one
// picture, libspng's message for a header it cannot read.
PictureFileSize measurePng(std::string_view bytes);

// How hard the PNG writer works for a small file.
enum class PngEffort {
    Smallest, // several colour layouts, filters and compression strategies tried
    Quick,    // one way of filtering and compressing, for pictures made many at a time
};

// A lossless PNG file of the pixels, in the smallest colour type and bit depth that holds them
// exactly (grey, grey and alpha, palette with tRNS, RGB, RGBA), with the filters and compression
// chosen for size, or with Quick effort in one pass. No ancillary chunk is written beside tRNS.
std::string encodePng(const RgbaImage& image, PngEffort effort = PngEffort::Smallest);

} // namespace kelmor
