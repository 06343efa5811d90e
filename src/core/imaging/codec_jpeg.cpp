// The JPEG row: decoded to a 24-bit bitmap, saved as it was read.
#include "imaging/jpeg.h"
#include "imaging/picture_codecs.h"

#include <algorithm>

namespace kelmor {
namespace {

PictureFileSize measure(const std::string& path) {
    const PictureSize size = readJpegSize(path);
    checkImageSize(size.width, size.height);
    return {size, size.width * size.height};
}

DecodedPicture decode(std::string_view bytes, GifFrames, const std::string&) {
    DecodedPicture decoded;
    decoded.bitmap = std::make_shared<const Bitmap>(decodeJpeg(bytes));
    return decoded;
}

// Decoded at libjpeg's reduced scales, which skip most of the work.
ReducedPicture decodeReduced(std::string_view bytes, const std::string&, int edge) {
    const ReducedJpeg jpeg = decodeJpegReduced(bytes, edge);
    return {toRgba(jpeg.bitmap), jpeg.fullSize};
}

// The coefficients, two bytes for each of the three components when progressive, within the
// JPEG reader's own budget.
std::int64_t reducedDecodeBytes(std::string_view, const std::string& path, int) {
    return std::min(measure(path).pixels * 6, kMaxJpegDecodeBytes);
}

} // namespace

PictureCodec jpegCodec() {
    return {
        .format = PictureFormat::Jpeg,
        .name = "JPEG",
        .description = "JPEG Image File",
        .extensions = {"jpg", "jpeg"},
        .measure = measure,
        .decode = decode,
        .decodeReduced = decodeReduced,
        .reducedDecodeBytes = reducedDecodeBytes,
    };
}

} // namespace kelmor
