// Feeds arbitrary bytes to the SVG renderer. A render either succeeds or throws kelmor::Error;
// what it gives has the size measuring the document gives.
//
// librsvg's text goes through pango and fontconfig, whose font caches (in glib objects) live as
// long as the process: LeakSanitizer would report them at exit. Those libraries' own allocations
// are suppressed here, so that a leak in Kelmor's code or librsvg still stops the run.

#include "base/error.h"
#include "imaging/svg.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libpango\nleak:libglib-2.0.so\nleak:libgobject-2.0.so\n";
}

namespace {

// A small picture limit keeps each render quick; the check against it is what matters here.
constexpr kelmor::ImageLimits kLimits{std::int64_t{1} << 18, std::int64_t{1} << 18};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kelmor::RgbaImage image;
    try {
        image = kelmor::renderSvg(bytes, kLimits);
    } catch (const kelmor::Error&) {
        return 0;
    }
    const kelmor::PictureFileSize measured = kelmor::measureSvg(bytes);
    if (image.width != measured.size.width || image.height != measured.size.height ||
        image.pixels.size() != std::size_t(image.width) * image.height * 4)
        __builtin_trap();
    return 0;
}
