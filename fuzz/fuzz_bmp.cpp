// Feeds arbitrary bytes to the BMP reader. A read either succeeds or throws
// kelmor::Error; every pixel of a bitmap it gives can be looked at, and the
// bitmap written back reads to the same pixel format, palette and pixels.

#include "base/error.h"
#include "imaging/bmp.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelmor::Bitmap bitmap;
    try {
        bitmap = kelmor::readBmp(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const kelmor::Error&) {
        return 0;
    }
    unsigned sum = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const kelmor::Rgb c = bitmap.color(x, y);
            sum += c.r + c.g + c.b + bitmap.alpha(x, y);
        }
    }
    const kelmor::Bitmap back = kelmor::readBmp(kelmor::writeBmp(bitmap));
    if (back.width() != bitmap.width() || back.height() != bitmap.height() ||
        back.bitsPerPixel() != bitmap.bitsPerPixel() || back.redMask != bitmap.redMask ||
        back.greenMask != bitmap.greenMask || back.blueMask != bitmap.blueMask ||
        back.alphaMask != bitmap.alphaMask || back.pixels() != bitmap.pixels() ||
        (!bitmap.palette.empty() && back.palette != bitmap.palette))
        std::abort();
    return sum == 0xFFFFFFFFu; // keeps the colour reads from being optimised away
}
