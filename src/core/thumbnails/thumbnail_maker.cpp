#include "thumbnails/thumbnail_maker.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/bmp.h"
#include "imaging/gif_decode.h"
#include "imaging/image_limits.h"
#include "imaging/jpeg.h"
#include "imaging/png.h"
#include "imaging/svg_renderer_process.h"
#include "imaging/webp.h"
#include "thumbnails/box_scale.h"

#include <algorithm>

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

ThumbnailPixels fitted(const RgbaImage& image, int edge) {
    return fitted(image, {image.width, image.height}, edge);
}

} // namespace

std::int64_t thumbnailDecodeBytes(PictureFormat format, std::string_view bytes,
                                  const std::string& path, int edge) {
    switch (format) {
    case PictureFormat::Png:
        return pngDecodeBytes(bytes);
    case PictureFormat::WebP:
        return webpFirstFrameDecodeBytes(bytes);
    case PictureFormat::Gif: {
        // The frames' indices as decoded up to the first image, the screen it is drawn on and
        // its RGBA copy.
        const GifExtent gif = measureGif(bytes);
        return gif.framePixels + std::int64_t{gif.width} * gif.height * 8;
    }
    case PictureFormat::Bitmap:
    case PictureFormat::Jpeg: {
        // A bitmap and its RGBA copy; a JPEG's coefficients, two bytes for each of its three
        // components when progressive, within the JPEG reader's own budget.
        const PictureFileSize file = readPictureFileSize(path);
        const std::int64_t pixels = file.size.width * file.size.height;
        return format == PictureFormat::Bitmap ? pixels * 8
                                               : std::min(pixels * 6, kMaxJpegDecodeBytes);
    }
    case PictureFormat::Svg:
        // Drawn at the thumbnail's size, the drawing and its copy.
        return std::int64_t{edge} * edge * 8;
    case PictureFormat::Icon:
    case PictureFormat::None:
        break;
    }
    return 0;
}

ThumbnailPixels makeThumbnailPixels(PictureFormat format, std::string_view bytes,
                                    const std::string& path, int edge) {
    switch (format) {
    case PictureFormat::Jpeg: {
        const ReducedJpeg jpeg = decodeJpegReduced(bytes, edge);
        return fitted(toRgba(jpeg.bitmap), jpeg.fullSize, edge);
    }
    case PictureFormat::Png:
        return fitted(decodePng(bytes), edge);
    case PictureFormat::Bitmap:
        return fitted(toRgba(readBmp(bytes)), edge);
    case PictureFormat::Gif: {
        Picture picture;
        picture.loadFromBytes(PictureFormat::Gif, std::string(bytes), GifFrames::FirstImage);
        return fitted(picture.rgba(), edge);
    }
    case PictureFormat::WebP:
        return fitted(decodeWebpFirstFrame(bytes), edge);
    case PictureFormat::Svg: {
        ThumbnailPixels pixels;
        pixels.image = renderSvgFittedApart(bytes, path, edge, &pixels.original);
        return pixels;
    }
    case PictureFormat::Icon:
    case PictureFormat::None:
        break;
    }
    throw Error(kelmor::format(msg::kUnknownPictureExtension, fileExtension(path)));
}

} // namespace kelmor
