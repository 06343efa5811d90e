#include "thumbnails/thumbnail_maker.h"

#include "base/error.h"
#include "base/messages.h"
#include "thumbnails/box_scale.h"

namespace kelmor {
namespace {

// The decoded picture fitted into the edge, and its own size. A file of no image at all (a GIF
// without frames) has no thumbnail.
ThumbnailPixels fitted(const RgbaImage& image, PictureSize original, int edge) {
    if (image.empty())
        throw Error(msg::kPictureHasNoImage);
    const PictureSize size = fittedSize(original.width, original.height, edge);
    return {boxScale(image, static_cast<int>(size.width), static_cast<int>(size.height)), original};
}

} // namespace

std::int64_t thumbnailDecodeBytes(PictureFormat format, std::string_view bytes,
                                  const std::string& path, int edge) {
    const PictureCodec* codec = pictureCodec(format);
    if (!codec || !codec->reducedDecodeBytes)
        return 0;
    return codec->reducedDecodeBytes(bytes, path, edge);
}

ThumbnailPixels makeThumbnailPixels(PictureFormat format, std::string_view bytes,
                                    const std::string& path, int edge) {
    const PictureCodec* codec = pictureCodec(format);
    if (!codec || !codec->decodeReduced)
        throw Error(kelmor::format(msg::kUnknownPictureExtension, fileExtension(path)));
    ReducedPicture reduced = codec->decodeReduced(bytes, path, edge);
    if (reduced.fitted)
        return {std::move(reduced.image), reduced.original};
    return fitted(reduced.image, reduced.original, edge);
}

} // namespace kelmor
