// Feeds arbitrary bytes to the PNG decoder: damage must come back as kelmor::Error, never end
// the process, leak or touch memory outside the pixels. A picture that decodes is written again
// and must read back the same, which exercises the writer's layouts on odd pictures too.

#include "base/error.h"
#include "imaging/png.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Pictures past this many pixels are refused, to keep each run short.
    constexpr kelmor::ImageLimits kLimits{1 << 20, 1 << 20};
    try {
        const kelmor::RgbaImage image =
            kelmor::decodePng(std::string_view(reinterpret_cast<const char*>(data), size), kLimits);
        if (image.empty() || image.pixels.size() != std::size_t(image.width) * image.height * 4)
            __builtin_trap();
        if (image.pixels.size() <= 4 * 4096 && kelmor::decodePng(kelmor::encodePng(image)) != image)
            __builtin_trap();
    } catch (const kelmor::Error&) {
    }
    return 0;
}
