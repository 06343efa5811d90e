// Feeds arbitrary bytes to the JPEG decoder: libjpeg's fatal errors must come
// back as kelmor::Error, never end the process, leak or touch memory outside
// the bitmap.

#include "base/error.h"
#include "imaging/jpeg.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const kelmor::Bitmap bitmap =
            kelmor::decodeJpeg(std::string_view(reinterpret_cast<const char*>(data), size));
        if (bitmap.bitsPerPixel() != 24 || bitmap.empty())
            __builtin_trap();
    } catch (const kelmor::Error&) {
    }
    return 0;
}
