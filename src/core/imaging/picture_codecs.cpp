#include "imaging/picture_codecs.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/utf8.h"

namespace kelmor {

// The rows, each made in its format's codec file.
PictureCodec gifCodec();
PictureCodec bmpCodec();
PictureCodec jpegCodec();
PictureCodec iconCodec();
PictureCodec pngCodec();
PictureCodec webpCodec();
PictureCodec svgCodec();

const std::vector<PictureCodec>& pictureCodecs() {
    static const std::vector<PictureCodec> codecs = {
        gifCodec(), bmpCodec(), jpegCodec(), iconCodec(), pngCodec(), webpCodec(), svgCodec(),
    };
    return codecs;
}

const PictureCodec* pictureCodec(PictureFormat format) {
    for (const PictureCodec& codec : pictureCodecs()) {
        if (codec.format == format)
            return &codec;
    }
    return nullptr;
}

void refuseFormat(const PictureCodec* codec) {
    throw Error(format(msg::kUnknownPictureExtension, codec ? codec->extensions.front() : ""));
}

ImageLimits shownBitmapLimits() {
    ImageLimits limits;
    limits.bytesPerPixelAfter = 4;
    return limits;
}

DecodedPicture decodedFromRgba(RgbaAnimation frames) {
    DecodedPicture decoded;
    decoded.bitmap = std::make_shared<const Bitmap>(toBitmap(frames.frames.front().image));
    if (frames.frames.size() > 1)
        decoded.animation = std::make_shared<const RgbaAnimation>(std::move(frames));
    return decoded;
}

ReducedPicture reducedFromRgba(RgbaImage image) {
    const PictureSize original{image.width, image.height};
    return {std::move(image), original};
}

std::optional<std::string> pictureTitleText(std::optional<std::string> text) {
    if (!text || text->find_first_not_of(" \t\r\n") == std::string::npos || !isValidUtf8(*text))
        return std::nullopt;
    return text;
}

} // namespace kelmor
