#pragma once

// PNG files through libspng: decoding to the RGBA pixel form, and writing the smallest
// lossless file for a picture.

#include "imaging/image_limits.h"
#include "imaging/picture_size.h"
#include "imaging/rgba_image.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// One text chunk: its keyword and its text, as the chunk holds it.
struct PngText {
    std::string keyword;
    std::string text;
    // An iTXt chunk, whose text is UTF-8; otherwise a tEXt or zTXt chunk, whose text is Latin-1.
    bool international = false;
    friend bool operator==(const PngText&, const PngText&) = default;
};

// Decodes a PNG file held in memory into RGBA, with the values as stored: no gamma or colour
// profile correction, 16-bit samples keep their high byte, 1/2/4-bit samples are scaled up to
// 0..255, grey gives R = G = B and tRNS becomes alpha. The size in the header is checked against
// `limits` before any pixel is decoded, and so is the memory the decode takes with the copies
// `limits` counts ("Image too large"). Text, profile and other metadata
// chunks are held to small limits, and skipped when they pass them. The file is read up to IEND:
// a wrong CRC of a critical chunk, a cut anywhere or a bad filter type gives "PNG image is not
// valid: " and libspng's reason.
// With `text`, the file's text chunks (tEXt, zTXt, iTXt, wherever they stand) are put there.
RgbaImage decodePng(std::string_view bytes, const ImageLimits& limits = {},
                    std::vector<PngText>* text = nullptr);

// The text chunks that stand before the pixel data, where writers put them, read without
// decoding a pixel. Damage gives "PNG image is not valid: " and libspng's reason.
std::vector<PngText> readPngText(std::string_view bytes);

// The size the header gives, without decoding: "Image too large" past the limits of one
// picture, libspng's message for a header it cannot read.
PictureFileSize measurePng(std::string_view bytes);

// The memory decodePng takes for the file, its picture included, from the header alone.
std::int64_t pngDecodeBytes(std::string_view bytes);

// Checks a file's structure without decoding a pixel, for writing it again as it is: the header
// within the limits of one picture, the chunks before the pixel data as a decode reads them,
// then every chunk whole, each critical one with its right CRC, pixel data present, up to IEND.
// Damage gives "PNG image is not valid: " and libspng's reason.
void checkPngStructure(std::string_view bytes);

// A lossless PNG file of the pixels, in the smallest colour type and bit depth that holds them
// exactly (grey, grey and alpha, palette with tRNS, RGB, RGBA), with the filters and compression
// chosen for size. No ancillary chunk is written beside tRNS.
std::string encodePng(const RgbaImage& image);

// encodePng for drawn pictures (buttons and the menu's sprites of them): the same colour types,
// unfiltered only, which on flat areas and sharp edges packs as well in a fraction of the time.
std::string encodeDrawnPng(const RgbaImage& image);

// What a quickly written picture shows, which decides its one way of filtering.
enum class PngContent {
    Photo, // adaptive filters and zlib's strategy for filtered data (thumbnails of photographs)
    Drawn, // no filtering: flat areas and sharp edges (buttons) pack as well in less time
};

// A lossless PNG file written quickly rather than small, for pictures made by the dozen
// (thumbnails, buttons): RGB when every pixel is opaque, RGBA otherwise, one pass of the
// filtering that suits `content` and a moderate compression level. The text goes into tEXt
// chunks (iTXt for international text) before the pixel data; keywords are 1 to 79 Latin-1
// characters.
std::string encodePngFast(const RgbaImage& image, const std::vector<PngText>& text = {},
                          PngContent content = PngContent::Photo);

} // namespace kelmor
