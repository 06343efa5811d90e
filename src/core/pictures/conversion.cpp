#include "pictures/conversion.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"

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
    writeFileReplacing(target, convertedPicture(direction, source, sourceRead));
}

} // namespace kelmor
