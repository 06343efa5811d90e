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

void convertPicture(ConversionDirection direction, const std::string& source,
                    const std::string& target, const SourceReadStep& sourceRead) {
    checkPathName(target, msg::kCannotCreateFile);
    writeFileReplacing(target, convertedPicture(direction, source, sourceRead));
}

namespace {

// Each target, the format it writes and the name of its file.
struct TargetWriter {
    PictureTarget target;
    PictureFormat format;
    const char* outputName;
};

constexpr TargetWriter kTargetWriters[] = {
    {PictureTarget::Png, PictureFormat::Png, "newimage.png"},
    {PictureTarget::WebP, PictureFormat::WebP, "newimage.webp"},
    {PictureTarget::Gif, PictureFormat::Gif, "newimage.gif"},
    {PictureTarget::Bmp, PictureFormat::Bitmap, "newimage.bmp"},
};

const TargetWriter& targetWriter(PictureTarget target) {
    return kTargetWriters[static_cast<std::size_t>(target)];
}

const PictureCodec& writerOf(PictureTarget target) {
    return *pictureCodec(targetWriter(target).format);
}

} // namespace

const char* conversionOutputName(PictureTarget target) {
    return targetWriter(target).outputName;
}

std::optional<PictureTarget> pictureTargetOf(std::string_view extension) {
    for (const TargetWriter& writer : kTargetWriters) {
        if (equalsIgnoringCase(extension, pictureCodec(writer.format)->extensions.front()))
            return writer.target;
    }
    return std::nullopt;
}

std::string convertedPicture(PictureTarget target, const Picture& picture) {
    if (picture.empty())
        throw Error(msg::kObjectTypeNotSupported);
    if (target == PictureTarget::Gif) {
        if (const GifImage* gif = picture.gif())
            return encodeGif(*gif);
        if (pictureCodec(picture.format())->paletteKeptInGif &&
            picture.bitmap()->bitsPerPixel() <= 8)
            return encodeGif(gifFromBitmap(*picture.bitmap()));
    }
    return writerOf(target).encodeRgba(picture.rgba());
}

std::string convertedPicture(PictureTarget target, const std::string& source,
                             const SourceReadStep& sourceRead) {
    const PictureCodec* codec = pictureCodec(pictureFormatOf(source));
    if (!codec || !codec->rgbaPixels()) {
        Picture picture;
        picture.loadFromFile(source);
        afterRead(sourceRead);
        return convertedPicture(target, picture);
    }
    // Decoded straight to the pixels the writer takes, its first frame only, with the writer's
    // memory counted before the decode.
    const std::string bytes = readWholeFile(source);
    ImageLimits limits;
    limits.bytesPerPixelAfter = writerOf(target).encodeBytesPerPixel;
    const RgbaImage pixels = codec->decodeFirstFrame(bytes, source, limits);
    afterRead(sourceRead);
    return writerOf(target).encodeRgba(pixels);
}

void convertPicture(PictureTarget kind, const std::string& source, const std::string& target,
                    const SourceReadStep& sourceRead) {
    checkPathName(target, msg::kCannotCreateFile);
    writeFileReplacing(target, convertedPicture(kind, source, sourceRead));
}

} // namespace kelmor
