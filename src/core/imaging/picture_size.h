#pragma once

// The pixel size a picture file's header gives, read without decoding the picture.

#include <cstdint>
#include <string>

namespace kelmor {

struct PictureSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// What a picture file holds, from its headers: the size it is drawn at (a GIF's logical screen)
// and the pixels its decoded frames take (every frame of a GIF, the picture itself for a BMP or
// a JPEG).
struct PictureFileSize {
    PictureSize size;
    std::int64_t pixels = 0;
};

// Reads the headers of a GIF, BMP, JPEG, PNG, WebP or SVG file, chosen by the file's extension as
// a load chooses its reader, without decoding a pixel: a GIF's frames are walked with their image
// data skipped, a JPEG's header is read by libjpeg, an SVG is parsed but not rendered. What cannot
// be measured is refused with the message its load gives: "Unknown picture file extension (.EXT)",
// "Cannot open file PATH", "Invalid GIF signature", "Bitmap image is not valid", the other readers'
// own, "Image too large".
PictureFileSize readPictureFileSize(const std::string& path);

} // namespace kelmor
