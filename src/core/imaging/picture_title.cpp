#include "imaging/picture_title.h"

#include "base/read_file.h"
#include "imaging/picture.h"
#include "imaging/picture_codecs.h"

namespace kelmor {

std::optional<std::string> readPictureTitle(const std::string& path) {
    const PictureCodec* codec = pictureCodec(pictureFormatOf(path));
    if (codec == nullptr || codec->title == nullptr)
        return std::nullopt;
    return codec->title(readWholeFile(path));
}

} // namespace kelmor
