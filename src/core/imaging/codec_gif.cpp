// The GIF row: decoded to its frames' indices, written anew from them.
#include "base/read_file.h"
#include "imaging/gif_comment.h"
#include "imaging/gif_encode.h"
#include "imaging/gif_rgba.h"
#include "imaging/picture.h"
#include "imaging/picture_codecs.h"

namespace kelmor {
namespace {

GifDecodeOptions optionsFor(GifFrames frames) {
    GifDecodeOptions options;
    options.frames = frames;
    return options;
}

PictureFileSize measure(const std::string& path) {
    const GifExtent gif = measureGif(readWholeFile(path));
    return {{gif.width, gif.height}, gif.framePixels};
}

DecodedPicture decode(std::string_view bytes, GifFrames frames, const std::string&) {
    DecodedPicture decoded;
    decoded.gif = std::make_shared<const GifImage>(decodeGif(bytes, optionsFor(frames)));
    return decoded;
}

// Only up to the first frame with an image, drawn on the logical screen.
ReducedPicture decodeReduced(std::string_view bytes, const std::string&, int) {
    return reducedFromRgba(Picture(decodeGif(bytes, optionsFor(GifFrames::FirstImage))).rgba());
}

// The frames' indices as decoded up to the first image, the screen it is drawn on and its RGBA
// copy.
std::int64_t reducedDecodeBytes(std::string_view bytes, const std::string&, int) {
    const GifExtent gif = measureGif(bytes);
    return gif.framePixels + std::int64_t{gif.width} * gif.height * 8;
}

std::string encode(const Picture& picture) {
    return encodeGif(*picture.gif());
}

std::string encodeRgba(const RgbaImage& image) {
    return encodeGif(gifFromRgba(image));
}

std::optional<std::string> title(std::string_view bytes) {
    return pictureTitleText(readGifComment(bytes));
}

} // namespace

PictureCodec gifCodec() {
    return {
        .format = PictureFormat::Gif,
        .name = "GIF",
        .description = "GIF Image",
        .extensions = {"gif"},
        .measure = measure,
        .decode = decode,
        .decodeReduced = decodeReduced,
        .reducedDecodeBytes = reducedDecodeBytes,
        .encode = encode,
        .encodeRgba = encodeRgba,
        // The frame's indices and its LZW data.
        .encodeBytesPerPixel = 3,
        .title = title,
    };
}

} // namespace kelmor
