#pragma once

// Helpers shared by the GIF tests: byte strings, small images, and giflib as
// an independent decoder.

#include "imaging/gif_image.h"

#include <gif_lib.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelmor::test {

// A byte string from numbers and text pieces.
struct Piece {
    Piece(int byte) : bytes(1, static_cast<char>(byte)) {}
    Piece(const char* text) : bytes(text) {}
    std::string bytes;
};
inline std::string bytesOf(std::initializer_list<Piece> pieces) {
    std::string out;
    for (const Piece& p : pieces)
        out += p.bytes;
    return out;
}

inline std::vector<Rgb> grayPalette(int entries) {
    std::vector<Rgb> colors;
    for (int i = 0; i < entries; ++i) {
        auto v = static_cast<std::uint8_t>(i * 255 / std::max(entries - 1, 1));
        colors.push_back({v, v, v});
    }
    return colors;
}

// An 8-bit bitmap with the given palette and pixels (row by row).
inline Bitmap indexedBitmap(int width, int height, std::vector<Rgb> palette,
                            const std::vector<int>& pixels) {
    Bitmap bitmap(width, height, 8);
    bitmap.palette = std::move(palette);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setIndex(x, y, static_cast<unsigned>(pixels[std::size_t(y) * width + x]));
    return bitmap;
}

// What giflib makes of a GIF file held in memory.
struct GiflibResult {
    bool ok = false;
    int error = 0;
    int width = 0, height = 0;
    int colorResolution = 0;
    std::vector<Rgb> globalColors;
    struct Frame {
        int left, top, width, height;
        bool interlace;
        std::vector<Rgb> localColors;
        std::vector<std::uint8_t> pixels; // de-interlaced
        int transparentIndex = -1;        // from the frame's graphic control block, -1 for none
        int extensionBlocks = 0;          // extension blocks before the image
    };
    std::vector<Frame> frames;
};
GiflibResult giflibDecode(const std::string& bytes);

} // namespace kelmor::test
