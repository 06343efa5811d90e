#include "imaging/picture.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/gif_encode.h"
#include "imaging/jpeg.h"
#include "imaging/picture_animation.h"
#include "imaging/png.h"
#include "imaging/svg_renderer_process.h"
#include "imaging/webp.h"

#include <algorithm>
#include <cctype>

namespace kelmor {
namespace {

Picture::IconDecoder& iconDecoder() {
    static Picture::IconDecoder decoder;
    return decoder;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string patterns(const PictureType& type) {
    std::string text;
    for (const char* extension : type.extensions)
        text += (text.empty() ? "*." : ";*.") + std::string(extension);
    return text;
}

std::string filterEntry(const PictureType& type) {
    const std::string pattern = patterns(type);
    return std::string(type.description) + " (" + pattern + ")|" + pattern;
}

} // namespace

const std::vector<PictureType>& pictureTypes() {
    static const std::vector<PictureType> types = {
        {PictureFormat::Gif, "GIF Image", {"gif"}},
        {PictureFormat::Bitmap, "Bitmaps", {"bmp"}},
        {PictureFormat::Jpeg, "JPEG Image File", {"jpg", "jpeg"}},
        {PictureFormat::Icon, "Icons", {"ico"}},
        {PictureFormat::Png, "PNG Image", {"png"}},
        {PictureFormat::WebP, "WebP Image", {"webp"}},
        {PictureFormat::Svg, "SVG Image", {"svg"}},
    };
    return types;
}

const PictureType* pictureType(PictureFormat format) {
    for (const PictureType& type : pictureTypes()) {
        if (type.format == format)
            return &type;
    }
    return nullptr;
}

std::string pictureSaveFilter(PictureFormat format) {
    const PictureType* type = pictureType(format);
    if (!type)
        return {};
    const std::string pattern = std::string("*.") + type->extensions.front();
    return std::string(type->description) + " (" + pattern + ")|" + pattern;
}

std::string pictureDefaultExtension(PictureFormat format) {
    const PictureType* type = pictureType(format);
    return type ? type->extensions.front() : std::string();
}

std::string pictureOpenFilter() {
    std::string all;
    std::string entries;
    for (const PictureType& type : pictureTypes()) {
        all += (all.empty() ? "" : ";") + patterns(type);
        entries += "|" + filterEntry(type);
    }
    return "All pictures (" + all + ")|" + all + entries;
}

std::string fileExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return std::string(path.substr(dot + 1));
}

PictureFormat pictureFormatOf(std::string_view path) {
    const std::string extension = lowerCase(fileExtension(path));
    for (const PictureType& type : pictureTypes()) {
        for (const char* candidate : type.extensions) {
            if (extension == candidate)
                return type.format;
        }
    }
    return PictureFormat::None;
}

void Picture::setIconDecoder(IconDecoder decoder) {
    iconDecoder() = std::move(decoder);
}

bool Picture::hasIconDecoder() {
    return static_cast<bool>(iconDecoder());
}

Picture::Picture(GifImage image)
    : format_(PictureFormat::Gif), gif_(std::make_shared<const GifImage>(std::move(image))) {}

Picture::Picture(Bitmap bitmap)
    : format_(PictureFormat::Bitmap), bitmap_(std::make_shared<const Bitmap>(std::move(bitmap))) {}

void Picture::clear() {
    *this = Picture();
}

const std::string& Picture::fileBytes() const {
    static const std::string none;
    return fileBytes_ ? *fileBytes_ : none;
}

void Picture::loadFromFile(const std::string& path, GifFrames gifFrames) {
    clear();
    PictureFormat format = pictureFormatOf(path);
    if (format == PictureFormat::Icon && !hasIconDecoder())
        format = PictureFormat::None;
    if (format == PictureFormat::None)
        throw Error(kelmor::format(msg::kUnknownPictureExtension, fileExtension(path)));
    loadFromBytes(format, readWholeFile(path), gifFrames, path);
}

void Picture::loadFromBytes(PictureFormat format, std::string bytes, GifFrames gifFrames,
                            const std::string& path) {
    clear();
    Picture loaded;
    switch (format) {
    case PictureFormat::Gif: {
        GifDecodeOptions options;
        options.frames = gifFrames;
        loaded = Picture(decodeGif(bytes, options));
        break;
    }
    case PictureFormat::Bitmap:
        loaded = Picture(readBmp(bytes));
        break;
    case PictureFormat::Jpeg:
    case PictureFormat::Icon: {
        if (format == PictureFormat::Icon && !hasIconDecoder())
            throw Error(kelmor::format(msg::kUnknownPictureExtension, "ico"));
        Bitmap decoded = format == PictureFormat::Jpeg ? decodeJpeg(bytes) : iconDecoder()(bytes);
        loaded.format_ = format;
        loaded.bitmap_ = std::make_shared<const Bitmap>(std::move(decoded));
        loaded.fileBytes_ = std::make_shared<const std::string>(std::move(bytes));
        break;
    }
    case PictureFormat::Png:
    case PictureFormat::WebP:
    case PictureFormat::Svg: {
        // The bitmap to show is made beside the decoded pixels.
        ImageLimits limits;
        limits.bytesPerPixelAfter = 4;
        RgbaAnimation frames;
        if (format == PictureFormat::WebP && gifFrames == GifFrames::All)
            frames = decodeWebp(bytes, limits);
        else
            frames.frames.push_back({decodeFirstFrame(format, bytes, path, limits), 0});
        loaded.format_ = format;
        loaded.bitmap_ = std::make_shared<const Bitmap>(toBitmap(frames.frames.front().image));
        loaded.fileBytes_ = std::make_shared<const std::string>(std::move(bytes));
        if (frames.frames.size() > 1)
            loaded.animation_ = std::make_shared<const RgbaAnimation>(std::move(frames));
        break;
    }
    case PictureFormat::None:
        throw Error(msg::kObjectTypeNotSupported);
    }
    *this = std::move(loaded);
}

RgbaImage decodeFirstFrame(PictureFormat format, std::string_view bytes, const std::string& path,
                           const ImageLimits& limits) {
    switch (format) {
    case PictureFormat::Png:
        return decodePng(bytes, limits);
    case PictureFormat::WebP:
        return decodeWebpFirstFrame(bytes, limits);
    case PictureFormat::Svg:
        return renderSvgApart(bytes, path, limits);
    default:
        throw Error(msg::kObjectTypeNotSupported);
    }
}

std::optional<std::string> readVerbatimPicture(PictureFormat format, const std::string& path) {
    switch (format) {
    case PictureFormat::Png: {
        std::string bytes = readWholeFile(path);
        checkPngStructure(bytes);
        return bytes;
    }
    case PictureFormat::WebP: {
        std::string bytes = readWholeFile(path);
        webpFrameCount(bytes);
        return bytes;
    }
    case PictureFormat::Svg: {
        // The renderer process measures the document: that refuses a damaged file or one
        // without a size, as a load would, without drawing a pixel.
        std::string bytes = readWholeFile(path);
        measureSvgApart(bytes, path);
        return bytes;
    }
    default:
        return std::nullopt;
    }
}

std::string Picture::encoded() const {
    switch (format_) {
    case PictureFormat::Gif:
        return encodeGif(*gif_);
    case PictureFormat::Bitmap:
        return writeBmp(*bitmap_);
    case PictureFormat::Jpeg:
    case PictureFormat::Icon:
    case PictureFormat::Png:
    case PictureFormat::WebP:
    case PictureFormat::Svg:
        return fileBytes();
    case PictureFormat::None:
        break;
    }
    return {};
}

void Picture::saveToFile(const std::string& path) const {
    if (empty())
        return;
    checkPathName(path, msg::kCannotCreateFile);
    writeFileReplacing(path, encoded());
}

RgbaImage Picture::rgba() const {
    if (bitmap_)
        return toRgba(*bitmap_);
    if (!gif_)
        return {};
    const std::vector<int> shown = shownFrames(*gif_);
    if (shown.empty())
        return {};
    FrameCanvas canvas(*gif_);
    canvas.draw(shown.front());
    RgbaImage image = RgbaImage::blank(canvas.width(), canvas.height());
    std::uint8_t* out = image.pixels.data();
    for (const std::uint32_t argb : canvas.pixels()) {
        *out++ = static_cast<std::uint8_t>(argb >> 16);
        *out++ = static_cast<std::uint8_t>(argb >> 8);
        *out++ = static_cast<std::uint8_t>(argb);
        *out++ = static_cast<std::uint8_t>(argb >> 24);
    }
    return image;
}

int Picture::width() const {
    if (gif_)
        return gif_->width();
    return bitmap_ ? bitmap_->width() : 0;
}

int Picture::height() const {
    if (gif_)
        return gif_->height();
    return bitmap_ ? bitmap_->height() : 0;
}

} // namespace kelmor
