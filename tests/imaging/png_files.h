#pragma once

// PNG files made byte by byte with zlib, for known pixels in every colour type and depth, and
// for damaged files.

#include "imaging/rgba_image.h"

#include <ostream>
#include <string>
#include <vector>

namespace kelmor::test {

// One chunk: length, type, data, CRC.
std::string pngChunk(const std::string& type, const std::string& data);

struct PngLayout {
    int colourType; // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
    int depth;
    bool interlaced = false;
};

// A width x height file of `samples` (per pixel, per channel, row by row, at the layout's depth),
// with `beforeData` (PLTE, tRNS, any other chunk) between IHDR and IDAT. Each row's filter type
// byte is `filter`, its bytes stored unfiltered whatever the type says.
std::string pngFile(int width, int height, const PngLayout& layout, const std::vector<int>& samples,
                    const std::string& beforeData = "", int filter = 0);

// The data of the first chunk of `type` ("" if none).
std::string pngChunkData(const std::string& file, const std::string& type);

// A 10 x 7 file of the layout with varied samples and a gAMA chunk, and its pixels as the
// format defines them, without gamma: 1, 2 and 4-bit samples scaled to 0..255, 16-bit ones cut
// to their high byte, grey copied to red, green and blue. With `transparency` a palette has a
// tRNS for half its entries, and grey or RGB a tRNS colour: the first pixel's, which some
// other pixels share; a 16-bit file also has a pixel that differs from it in the low byte only.
struct KnownPng {
    std::string file;
    RgbaImage pixels;
};
KnownPng knownPng(const PngLayout& layout, bool transparency);

// Every layout the format allows, plain and interlaced, each with and without tRNS where the
// colour type takes one.
struct KnownPngCase {
    PngLayout layout;
    bool transparency;
};
std::vector<KnownPngCase> everyPngLayout();
void PrintTo(const KnownPngCase& c, std::ostream* out);

} // namespace kelmor::test
