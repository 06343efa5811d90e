#include "imaging/picture_size.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/gif_image.h"
#include "imaging/image_limits.h"
#include "imaging/jpeg.h"
#include "imaging/picture.h"
#include "imaging/png.h"
#include "imaging/svg_renderer_process.h"
#include "imaging/webp.h"

namespace kelmor {
namespace {

// The bytes of a BMP's file and info headers up to the height.
constexpr std::size_t kBmpHeaderBytes = 26;

unsigned byteAt(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}
unsigned le16(const std::string& bytes, std::size_t at) {
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}
std::int64_t le32(const std::string& bytes, std::size_t at) {
    return static_cast<std::int32_t>(le16(bytes, at) | le16(bytes, at + 2) << 16);
}

PictureSize bmpSize(const std::string& path) {
    const std::string head = readFileStart(path, kBmpHeaderBytes);
    if (head.size() < kBmpHeaderBytes || head[0] != 'B' || head[1] != 'M')
        throw Error(msg::kBitmapNotValid);
    PictureSize size{le32(head, 18), le32(head, 22)};
    if (le32(head, 14) == 12) // OS/2 core header: 16-bit sides
        size = {le16(head, 18), le16(head, 20)};
    // A negative height stands for rows stored top-down.
    size.height = size.height < 0 ? -size.height : size.height;
    if (size.width <= 0 || size.height == 0)
        throw Error(msg::kBitmapNotValid);
    return size;
}

} // namespace

PictureFileSize readPictureFileSize(const std::string& path) {
    switch (pictureFormatOf(path)) {
    case PictureFormat::Gif: {
        const GifExtent gif = measureGif(readWholeFile(path));
        return {{gif.width, gif.height}, gif.framePixels};
    }
    case PictureFormat::Bitmap: {
        const PictureSize size = bmpSize(path);
        checkImageSize(size.width, size.height);
        return {size, size.width * size.height};
    }
    case PictureFormat::Jpeg: {
        const PictureSize size = readJpegSize(path);
        checkImageSize(size.width, size.height);
        return {size, size.width * size.height};
    }
    case PictureFormat::Png:
        return measurePng(readWholeFile(path));
    case PictureFormat::WebP:
        return measureWebp(readWholeFile(path));
    case PictureFormat::Svg:
        return measureSvgApart(readWholeFile(path), path);
    case PictureFormat::Icon:
    case PictureFormat::None:
        break;
    }
    throw Error(format(msg::kUnknownPictureExtension, fileExtension(path)));
}

} // namespace kelmor
