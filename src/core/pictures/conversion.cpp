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

namespace {

// A BMP of the pixels: 24 bits when opaque, 32 bits with an alpha mask otherwise.
std::string bmpOf(const RgbaImage& pixels) {
    if (!pixels.opaque())
        return writeBmp(toBitmap(pixels));
    Bitmap opaque(pixels.width, pixels.height, 24);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* in = pixels.row(y);
        std::uint8_t* out = opaque.row(y);
        for (int x = 0; x < pixels.width; ++x, in += 4, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return writeBmp(opaque);
}

std::string encodedAs(PictureTarget target, const RgbaImage& pixels) {
    switch (target) {
    case PictureTarget::Png:
        return encodePng(pixels);
    case PictureTarget::WebP:
        return encodeWebp(pixels);
    case PictureTarget::Gif:
        return encodeGif(gifFromRgba(pixels));
    case PictureTarget::Bmp:
        break;
    }
    return bmpOf(pixels);
}

// The bytes per pixel each writer holds beside the picture it writes, the file it makes
// included: the PNG writer its best file and the one it is trying (compressed), the WebP writer
// libwebp's copy of the picture, its hash chains and backward references, the GIF writer the
// frame's indices and its LZW data, the BMP writer the bitmap and its file.
std::int64_t writerBytesPerPixel(PictureTarget target) {
    switch (target) {
    case PictureTarget::Png:
        return 2;
    case PictureTarget::WebP:
        return 18;
    case PictureTarget::Gif:
        return 3;
    case PictureTarget::Bmp:
        break;
    }
    return 8;
}

bool decodedToRgba(PictureFormat format) {
    return format == PictureFormat::Png || format == PictureFormat::WebP ||
           format == PictureFormat::Svg;
}

} // namespace

std::string convertedPicture(PictureTarget target, const Picture& picture) {
    if (picture.empty())
        throw Error(msg::kObjectTypeNotSupported);
    if (target == PictureTarget::Gif) {
        if (const GifImage* gif = picture.gif())
            return encodeGif(*gif);
        if (picture.format() == PictureFormat::Bitmap && picture.bitmap()->bitsPerPixel() <= 8)
            return encodeGif(gifFromBitmap(*picture.bitmap()));
    }
    return encodedAs(target, picture.rgba());
}

std::string convertedPicture(PictureTarget target, const std::string& source,
                             const SourceReadStep& sourceRead) {
    const PictureFormat format = pictureFormatOf(source);
    if (!decodedToRgba(format)) {
        Picture picture;
        picture.loadFromFile(source);
        afterRead(sourceRead);
        return convertedPicture(target, picture);
    }
    // Decoded straight to the pixels the writer takes, its first frame only, with the writer's
    // memory counted before the decode.
    const std::string bytes = readWholeFile(source);
    ImageLimits limits;
    limits.bytesPerPixelAfter = writerBytesPerPixel(target);
    const RgbaImage pixels = decodeFirstFrame(format, bytes, source, limits);
    afterRead(sourceRead);
    return encodedAs(target, pixels);
}

void convertPicture(PictureTarget kind, const std::string& source, const std::string& target,
                    const SourceReadStep& sourceRead) {
    checkPathName(target, msg::kCannotCreateFile);
    writeFileReplacing(target, convertedPicture(kind, source, sourceRead));
}

} // namespace kelmor
