// Feeds arbitrary bytes to the GIF reader. A load either succeeds or throws
// kelmor::Error. A loaded image that can be written (no pixel outside its
// colour table) reads back with the same number of images.

#include "base/error.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

int imageFrames(const kelmor::GifImage& image) {
    int count = 0;
    for (const kelmor::GifFrame& frame : image.frames())
        count += frame.hasImage ? 1 : 0;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelmor::GifImage image;
    try {
        image = kelmor::decodeGif(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const kelmor::Error&) {
        return 0;
    }
    // Writing back very large pictures only slows the fuzzer down.
    std::size_t pixels = 0;
    for (const kelmor::GifFrame& frame : image.frames())
        pixels += frame.pixels.size();
    if (image.empty() || pixels > (std::size_t(1) << 20))
        return 0;
    std::string written;
    try {
        written = kelmor::encodeGif(image);
    } catch (const kelmor::Error&) {
        return 0;
    }
    const kelmor::GifImage back = kelmor::decodeGif(written);
    if (imageFrames(back) != imageFrames(image))
        __builtin_trap();
    return 0;
}
