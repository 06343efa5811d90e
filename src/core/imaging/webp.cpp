#include "imaging/webp.h"

#include "base/error.h"

namespace kelmor {
RgbaAnimation decodeWebp(std::string_view, const ImageLimits&) {
    throw Error("WebP not built yet");
}
PictureFileSize measureWebp(std::string_view) {
    throw Error("WebP not built yet");
}
int webpFrameCount(std::string_view) {
    throw Error("WebP not built yet");
}
std::string encodeWebp(const RgbaImage&) {
    throw Error("WebP not built yet");
}
std::string encodeAnimatedWebp(const RgbaAnimation&) {
    throw Error("WebP not built yet");
}
} // namespace kelmor
