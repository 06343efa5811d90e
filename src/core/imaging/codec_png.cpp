// The PNG row on libspng: RGBA pixels, saved as read after a check of its chunks.
#include "base/read_file.h"
#include "base/utf8.h"
#include "imaging/picture_codecs.h"
#include "imaging/png.h"

namespace kelmor {
namespace {

PictureFileSize measure(const std::string& path) {
    return measurePng(readWholeFile(path));
}

RgbaImage decodeFirstFrame(std::string_view bytes, const std::string&, const ImageLimits& limits) {
    return decodePng(bytes, limits);
}

DecodedPicture decode(std::string_view bytes, GifFrames, const std::string& path) {
    RgbaAnimation frames;
    frames.frames.push_back({decodeFirstFrame(bytes, path, shownBitmapLimits()), 0});
    return decodedFromRgba(std::move(frames));
}

ReducedPicture decodeReduced(std::string_view bytes, const std::string&, int) {
    return reducedFromRgba(decodePng(bytes));
}

std::int64_t reducedDecodeBytes(std::string_view bytes, const std::string&, int) {
    return pngDecodeBytes(bytes);
}

void checkVerbatim(std::string_view bytes, const std::string&) {
    checkPngStructure(bytes);
}

// The "Title" keyword of a tEXt or iTXt chunk before the pixel data, where writers put it.
std::optional<std::string> title(std::string_view bytes) {
    for (PngText& text : readPngText(bytes)) {
        if (text.keyword == "Title")
            return pictureTitleText(text.international ? std::move(text.text)
                                                       : utf8FromLatin1(text.text));
    }
    return std::nullopt;
}

} // namespace

PictureCodec pngCodec() {
    return {
        .format = PictureFormat::Png,
        .name = "PNG",
        .description = "PNG Image",
        .extensions = {"png"},
        .measure = measure,
        .decode = decode,
        .decodeFirstFrame = decodeFirstFrame,
        .decodeReduced = decodeReduced,
        .reducedDecodeBytes = reducedDecodeBytes,
        .checkVerbatim = checkVerbatim,
        .encodeRgba = encodePng,
        // Its best file and the one it is trying, compressed.
        .encodeBytesPerPixel = 2,
        .title = title,
    };
}

} // namespace kelmor
