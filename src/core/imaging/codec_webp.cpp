// The WebP row on libwebp: RGBA frames, saved as read after a check of its headers and frames.
#include "base/read_file.h"
#include "imaging/picture_codecs.h"
#include "imaging/webp.h"
#include "imaging/xml_text.h"

#include <memory>
#include <webp/demux.h>

namespace kelmor {
namespace {

PictureFileSize measure(const std::string& path) {
    return measureWebp(readWholeFile(path));
}

RgbaImage decodeFirstFrame(std::string_view bytes, const std::string&, const ImageLimits& limits) {
    return decodeWebpFirstFrame(bytes, limits);
}

DecodedPicture decode(std::string_view bytes, GifFrames frames, const std::string&) {
    if (frames == GifFrames::All)
        return decodedFromRgba(decodeWebp(bytes, shownBitmapLimits()));
    RgbaAnimation first;
    first.frames.push_back({decodeWebpFirstFrame(bytes, shownBitmapLimits()), 0});
    return decodedFromRgba(std::move(first));
}

ReducedPicture decodeReduced(std::string_view bytes, const std::string&, int) {
    return reducedFromRgba(decodeWebpFirstFrame(bytes));
}

std::int64_t reducedDecodeBytes(std::string_view bytes, const std::string&, int) {
    return webpFirstFrameDecodeBytes(bytes);
}

void checkVerbatim(std::string_view bytes, const std::string&) {
    webpFrameCount(bytes);
}

std::string encodeRgba(const RgbaImage& image) {
    return encodeWebp(image);
}

// The dc:title of the XMP chunk: its first rdf:li, the default language's where writers put it.
std::optional<std::string> title(std::string_view bytes) {
    const WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
    const std::unique_ptr<WebPDemuxer, decltype(&WebPDemuxDelete)> demux(WebPDemux(&data),
                                                                         WebPDemuxDelete);
    WebPChunkIterator chunk;
    if (!demux || !WebPDemuxGetChunk(demux.get(), "XMP ", 1, &chunk))
        return std::nullopt;
    const std::string_view xmp(reinterpret_cast<const char*>(chunk.chunk.bytes), chunk.chunk.size);
    WebPDemuxReleaseChunkIterator(&chunk);
    const std::optional<std::string_view> titles = xmlElementContent(xmp, "", "dc:title");
    return titles ? pictureTitleText(xmlChildText(*titles, "", "rdf:li")) : std::nullopt;
}

} // namespace

PictureCodec webpCodec() {
    return {
        .format = PictureFormat::WebP,
        .name = "WebP",
        .description = "WebP Image",
        .extensions = {"webp"},
        .measure = measure,
        .decode = decode,
        .decodeFirstFrame = decodeFirstFrame,
        // Counted from the headers, which give every frame's own header too.
        .frameCount = webpFrameCount,
        .decodeReduced = decodeReduced,
        .reducedDecodeBytes = reducedDecodeBytes,
        .checkVerbatim = checkVerbatim,
        .encodeRgba = encodeRgba,
        // libwebp's copy of the picture, its hash chains and backward references.
        .encodeBytesPerPixel = 18,
        .title = title,
    };
}

} // namespace kelmor
