#include "pictures/conversion.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/gif_image.h"

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

void convertGifToBmp(const std::string& source, const std::string& target,
                     const SourceReadStep& sourceRead) {
    GifImage image;
    image.loadFromFile(source);
    afterRead(sourceRead);
    const Bitmap bitmap = image.toBitmap();
    writeFileReplacing(target, writeBmp(bitmap));
}

void convertBmpToGif(const std::string& source, const std::string& target,
                     const SourceReadStep& sourceRead) {
    const Bitmap bitmap = readBmp(readWholeFile(source));
    afterRead(sourceRead);
    const GifImage image(bitmap);
    image.saveToFile(target);
}

void convertPicture(ConversionDirection direction, const std::string& source,
                    const std::string& target, const SourceReadStep& sourceRead) {
    if (direction == ConversionDirection::GifToBmp)
        convertGifToBmp(source, target, sourceRead);
    else
        convertBmpToGif(source, target, sourceRead);
}

} // namespace kelmor
