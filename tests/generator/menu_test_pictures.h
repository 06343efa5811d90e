#pragma once

// Pictures the menu tests lay out in a folder: PNG files of pixels that differ at every place
// and between pictures, so that a picture shown anywhere else is seen.

#include "generator/page_kind_writer.h"
#include "imaging/png.h"
#include "imaging/rgba_image.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace kelmor::test {

// A row of the Button list with its pictures and link; the other cells empty.
inline PageButton buttonRow(std::string normal, std::string mouseOver = {}, std::string link = {}) {
    PageButton button;
    button.normal = std::move(normal);
    button.mouseOver = std::move(mouseOver);
    button.link = std::move(link);
    return button;
}

// An opaque width x height picture whose pixels depend on their place and on `seed`.
inline RgbaImage patternPicture(int width, int height, int seed) {
    RgbaImage image = RgbaImage::blank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = image.row(y) + std::size_t(x) * 4;
            pixel[0] = static_cast<std::uint8_t>(seed * 40 + x);
            pixel[1] = static_cast<std::uint8_t>(seed * 7 + y * 3);
            pixel[2] = static_cast<std::uint8_t>(x * 11 + y * 5);
            pixel[3] = 255;
        }
    }
    return image;
}

// Writes the pattern picture as a PNG file with the text chunks, and returns its pixels.
inline RgbaImage writePatternPng(const std::string& file, int width, int height, int seed,
                                 const std::vector<PngText>& text = {}) {
    const RgbaImage image = patternPicture(width, height, seed);
    std::ofstream(file, std::ios::binary) << encodePngFast(image, text, PngContent::Drawn);
    return image;
}

} // namespace kelmor::test
