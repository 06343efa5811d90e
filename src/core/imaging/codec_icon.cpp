// The icon row: decoded by the reader the Qt layer installs, saved as read.
#include "imaging/codec_icon.h"

#include "imaging/picture_codecs.h"

namespace kelmor {
namespace {

IconDecoder& installed() {
    static IconDecoder decoder;
    return decoder;
}

DecodedPicture decode(std::string_view bytes, GifFrames, const std::string&) {
    DecodedPicture decoded;
    decoded.bitmap = std::make_shared<const Bitmap>(installed()(bytes));
    return decoded;
}

} // namespace

void installIconDecoder(IconDecoder decoder) {
    installed() = std::move(decoder);
}

bool iconDecoderInstalled() {
    return static_cast<bool>(installed());
}

PictureCodec iconCodec() {
    return {
        .format = PictureFormat::Icon,
        .name = "ICO",
        .description = "Icons",
        .extensions = {"ico"},
        .available = iconDecoderInstalled,
        .decode = decode,
    };
}

} // namespace kelmor
