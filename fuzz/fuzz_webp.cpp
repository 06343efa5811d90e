// Feeds arbitrary bytes to the WebP reader. A decode either succeeds or throws kelmor::Error;
// what it gives has the canvas size and frame count the headers give, and a small animation
// written anew reads back with the same frames wherever they are not transparent.

#include "base/error.h"
#include "imaging/webp.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Small limits keep each input quick; the checks against them are what matters here.
constexpr kelmor::ImageLimits kLimits{std::int64_t{1} << 22, std::int64_t{1} << 24};

bool sameVisible(const kelmor::RgbaImage& a, const kelmor::RgbaImage& b) {
    if (a.width != b.width || a.height != b.height)
        return false;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        if ((i % 4 == 3 || b.pixels[i | 3] != 0) && a.pixels[i] != b.pixels[i])
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kelmor::RgbaAnimation animation;
    try {
        animation = kelmor::decodeWebp(bytes, kLimits);
    } catch (const kelmor::Error&) {
        return 0;
    }
    const kelmor::PictureFileSize measured = kelmor::measureWebp(bytes);
    if (animation.frames.empty() || kelmor::webpFrameCount(bytes) != int(animation.frames.size()))
        __builtin_trap();
    for (const kelmor::RgbaFrame& frame : animation.frames) {
        if (frame.image.width != measured.size.width ||
            frame.image.height != measured.size.height ||
            frame.image.pixels.size() != std::size_t(frame.image.width) * frame.image.height * 4 ||
            frame.durationMs < 0)
            __builtin_trap();
    }
    if (measured.pixels > 64 * 64 * 8)
        return 0;
    const kelmor::RgbaAnimation back =
        kelmor::decodeWebp(kelmor::encodeAnimatedWebp(animation), kLimits);
    if (back.frames.size() != animation.frames.size() || back.loopCount != animation.loopCount)
        __builtin_trap();
    for (std::size_t i = 0; i < back.frames.size(); ++i) {
        if (!sameVisible(back.frames[i].image, animation.frames[i].image) ||
            back.frames[i].durationMs != animation.frames[i].durationMs)
            __builtin_trap();
    }
    return 0;
}
