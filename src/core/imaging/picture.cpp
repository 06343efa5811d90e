#include "imaging/picture.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/picture_animation.h"

#include <algorithm>
#include <cctype>

namespace kelmor {
namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string patterns(const PictureCodec& codec) {
    std::string text;
    for (const char* extension : codec.extensions)
        text += (text.empty() ? "*." : ";*.") + std::string(extension);
    return text;
}

std::string filterEntry(const PictureCodec& codec) {
    const std::string pattern = patterns(codec);
    return std::string(codec.description) + " (" + pattern + ")|" + pattern;
}

} // namespace

std::string pictureSaveFilter(PictureFormat format) {
    const PictureCodec* codec = pictureCodec(format);
    if (!codec)
        return {};
    const std::string pattern = std::string("*.") + codec->extensions.front();
    return std::string(codec->description) + " (" + pattern + ")|" + pattern;
}

std::string pictureDefaultExtension(PictureFormat format) {
    const PictureCodec* codec = pictureCodec(format);
    return codec ? codec->extensions.front() : std::string();
}

std::string pictureOpenFilter() {
    std::string all;
    std::string entries;
    for (const PictureCodec& codec : pictureCodecs()) {
        all += (all.empty() ? "" : ";") + patterns(codec);
        entries += "|" + filterEntry(codec);
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
    for (const PictureCodec& codec : pictureCodecs()) {
        for (const char* candidate : codec.extensions) {
            if (extension == candidate)
                return codec.format;
        }
    }
    return PictureFormat::None;
}

void Picture::setIconDecoder(IconDecoder decoder) {
    installIconDecoder(std::move(decoder));
}

bool Picture::hasIconDecoder() {
    return iconDecoderInstalled();
}

Picture::Picture(GifImage image)
    : format_(PictureFormat::Gif), gif_(std::make_shared<const GifImage>(std::move(image))) {}

Picture::Picture(Bitmap bitmap)
    : format_(PictureFormat::Bitmap), bitmap_(std::make_shared<const Bitmap>(std::move(bitmap))) {}

Picture::Picture(PictureFormat format, DecodedPicture decoded, std::string bytes)
    : format_(format), gif_(std::move(decoded.gif)), bitmap_(std::move(decoded.bitmap)),
      animation_(std::move(decoded.animation)) {
    // A format without a writer of its own is saved as it was read.
    if (pictureCodec(format)->encode == nullptr)
        fileBytes_ = std::make_shared<const std::string>(std::move(bytes));
}

void Picture::clear() {
    *this = Picture();
}

const std::string& Picture::fileBytes() const {
    static const std::string none;
    return fileBytes_ ? *fileBytes_ : none;
}

void Picture::loadFromFile(const std::string& path, GifFrames gifFrames) {
    clear();
    const PictureCodec* codec = pictureCodec(pictureFormatOf(path));
    if (!codec || !codec->readable())
        throw Error(kelmor::format(msg::kUnknownPictureExtension, fileExtension(path)));
    loadFromBytes(codec->format, readWholeFile(path), gifFrames, path);
}

void Picture::loadFromBytes(PictureFormat format, std::string bytes, GifFrames gifFrames,
                            const std::string& path) {
    clear();
    const PictureCodec* codec = pictureCodec(format);
    if (!codec)
        throw Error(msg::kObjectTypeNotSupported);
    if (!codec->readable())
        refuseFormat(codec);
    DecodedPicture decoded = codec->decode(bytes, gifFrames, path);
    *this = Picture(format, std::move(decoded), std::move(bytes));
}

RgbaImage decodeFirstFrame(PictureFormat format, std::string_view bytes, const std::string& path,
                           const ImageLimits& limits) {
    const PictureCodec* codec = pictureCodec(format);
    if (!codec || !codec->rgbaPixels())
        throw Error(msg::kObjectTypeNotSupported);
    return codec->decodeFirstFrame(bytes, path, limits);
}

std::optional<std::string> readVerbatimPicture(PictureFormat format, const std::string& path) {
    const PictureCodec* codec = pictureCodec(format);
    if (!codec || !codec->checkVerbatim)
        return std::nullopt;
    std::string bytes = readWholeFile(path);
    codec->checkVerbatim(bytes, path);
    return bytes;
}

std::string Picture::encoded() const {
    if (empty())
        return {};
    const PictureCodec& codec = *pictureCodec(format_);
    return codec.encode ? codec.encode(*this) : fileBytes();
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
