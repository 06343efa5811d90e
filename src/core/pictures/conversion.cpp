#include "pictures/conversion.h"

#include "base/ascii_case.h"
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"
#include "imaging/gif_rgba.h"
#include "imaging/png.h"
#include "imaging/webp.h"

#include <algorithm>
#include <utility>

namespace kelmor {
namespace {

void afterRead(const SourceReadStep& step) {
    if (step)
        step();
}

} // namespace

const char* conversionOutputName(ConversionDirection direction) {
    return direction == ConversionDirection::GifToBmp ? "newimage.bmp" : "newimage.gif";
}

std::string convertedPicture(ConversionDirection direction, const std::string& source,
                             const SourceReadStep& sourceRead) {
    if (direction == ConversionDirection::GifToBmp) {
        // Only the first frame with an image is drawn, so no later frame is decoded.
        GifDecodeOptions options;
        options.frames = GifFrames::FirstImage;
        const GifImage image = loadGif(source, options);
        afterRead(sourceRead);
        return writeBmp(toBitmap(image));
    }
    const Bitmap bitmap = readBmp(readWholeFile(source));
    afterRead(sourceRead);
    return encodeGif(gifFromBitmap(bitmap));
}

void convertGifToBmp(const std::string& source, const std::string& target,
                     const SourceReadStep& sourceRead) {
    convertPicture(ConversionDirection::GifToBmp, source, target, sourceRead);
}

void convertBmpToGif(const std::string& source, const std::string& target,
                     const SourceReadStep& sourceRead) {
    convertPicture(ConversionDirection::BmpToGif, source, target, sourceRead);
}

void convertPicture(ConversionDirection direction, const std::string& source,
                    const std::string& target, const SourceReadStep& sourceRead) {
    checkPathName(target, msg::kCannotCreateFile);
    writeFileReplacing(target, convertedPicture(direction, source, sourceRead));
}

const char* conversionOutputName(PictureTarget target) {
    switch (target) {
    case PictureTarget::Png:
        return "newimage.png";
    case PictureTarget::WebP:
        return "newimage.webp";
    case PictureTarget::Gif:
        return "newimage.gif";
    case PictureTarget::Bmp:
        break;
    }
    return "newimage.bmp";
}

std::optional<PictureTarget> pictureTargetOf(std::string_view extension) {
    static constexpr std::pair<std::string_view, PictureTarget> kTargets[] = {
        {"png", PictureTarget::Png},
        {"webp", PictureTarget::WebP},
        {"gif", PictureTarget::Gif},
        {"bmp", PictureTarget::Bmp},
    };
    for (const auto& [name, target] : kTargets) {
        if (equalsIgnoringCase(extension, name))
            return target;
    }
    return std::nullopt;
}

std::string convertedPicture(PictureTarget target, const Picture& picture) {
    if (picture.empty())
        throw Error(msg::kObjectTypeNotSupported);
    switch (target) {
    case PictureTarget::Png:
        return encodePng(picture.rgba());
    case PictureTarget::WebP:
        return encodeWebp(picture.rgba());
    case PictureTarget::Gif:
        if (const GifImage* gif = picture.gif())
            return encodeGif(*gif);
        if (picture.format() == PictureFormat::Bitmap && picture.bitmap()->bitsPerPixel() <= 8)
            return encodeGif(gifFromBitmap(*picture.bitmap()));
        return encodeGif(gifFromRgba(picture.rgba()));
    case PictureTarget::Bmp:
        break;
    }
    const RgbaImage pixels = picture.rgba();
    Bitmap bitmap = toBitmap(pixels);
    if (bitmap.alphaMask == 0) {
        Bitmap opaque(bitmap.width(), bitmap.height(), 24);
        for (int y = 0; y < bitmap.height(); ++y) {
            const std::uint8_t* in = bitmap.row(y);
            std::uint8_t* out = opaque.row(y);
            for (int x = 0; x < bitmap.width(); ++x, in += 4, out += 3)
                std::copy_n(in, 3, out);
        }
        return writeBmp(opaque);
    }
    return writeBmp(bitmap);
}

void convertPicture(PictureTarget kind, const std::string& source, const std::string& target,
                    const SourceReadStep& sourceRead) {
    checkPathName(target, msg::kCannotCreateFile);
    Picture picture;
    picture.loadFromFile(source);
    afterRead(sourceRead);
    writeFileReplacing(target, convertedPicture(kind, picture));
}

} // namespace kelmor
