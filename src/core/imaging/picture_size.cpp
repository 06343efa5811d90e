#include "imaging/picture_size.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/picture.h"

namespace kelmor {

PictureFileSize readPictureFileSize(const std::string& path) {
    const PictureCodec* codec = pictureCodec(pictureFormatOf(path));
    if (!codec || !codec->measure)
        throw Error(format(msg::kUnknownPictureExtension, fileExtension(path)));
    return codec->measure(path);
}

} // namespace kelmor
