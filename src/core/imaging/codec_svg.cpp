// The SVG row: drawn in the renderer process at its own size, saved as read.
#include "base/read_file.h"
#include "imaging/picture_codecs.h"
#include "imaging/svg_renderer_process.h"
#include "imaging/xml_text.h"

namespace kelmor {
namespace {

PictureFileSize measure(const std::string& path) {
    return measureSvgApart(readWholeFile(path), path);
}

RgbaImage decodeFirstFrame(std::string_view bytes, const std::string& path,
                           const ImageLimits& limits) {
    return renderSvgApart(bytes, path, limits);
}

DecodedPicture decode(std::string_view bytes, GifFrames, const std::string& path) {
    RgbaAnimation frames;
    frames.frames.push_back({renderSvgApart(bytes, path, shownBitmapLimits()), 0});
    return decodedFromRgba(std::move(frames));
}

// Drawn straight at the thumbnail's size.
ReducedPicture decodeReduced(std::string_view bytes, const std::string& path, int edge) {
    ReducedPicture reduced;
    reduced.image = renderSvgFittedApart(bytes, path, edge, &reduced.original);
    reduced.fitted = true;
    return reduced;
}

// The drawing at the thumbnail's size and its copy.
std::int64_t reducedDecodeBytes(std::string_view, const std::string&, int edge) {
    return std::int64_t{edge} * edge * 8;
}

// The renderer process measures the document: that refuses a damaged file or one without a
// size, as a load would, without drawing a pixel.
void checkVerbatim(std::string_view bytes, const std::string& path) {
    measureSvgApart(bytes, path);
}

// The first <title> child of the root element, read by a scan of the text: nothing is drawn.
std::optional<std::string> title(std::string_view bytes) {
    return pictureTitleText(xmlChildText(bytes, "svg", "title"));
}

} // namespace

PictureCodec svgCodec() {
    return {
        .format = PictureFormat::Svg,
        .name = "SVG",
        .description = "SVG Image",
        .extensions = {"svg"},
        .measure = measure,
        .decode = decode,
        .decodeFirstFrame = decodeFirstFrame,
        .decodeReduced = decodeReduced,
        .reducedDecodeBytes = reducedDecodeBytes,
        .checkVerbatim = checkVerbatim,
        .title = title,
    };
}

} // namespace kelmor
