// Feeds arbitrary bytes to the SVG drawing the programs use for documents they did not make:
// kelmor-svg-render, a process apart, measures and draws them. A document either gives a picture
// of the size its measuring gives or throws kelmor::Error; a library crash on a hostile document
// (librsvg aborts on some, a huge font size for one) costs the renderer, never the caller.
//
// The renderer of this build runs under AddressSanitizer too. Its reports go to files named by
// kAsanLog: a report there is a fault in Kelmor's own drawing code, which this target stops on,
// while a renderer that merely died is a refused document.

#include "base/error.h"
#include "imaging/svg_renderer_process.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// A small picture limit keeps each render quick; the check against it is what matters here.
constexpr kelmor::ImageLimits kLimits{std::int64_t{1} << 18, std::int64_t{1} << 18};

std::string asanLogStem() {
    return "/tmp/fuzz-svg-renderer-" + std::to_string(::getpid());
}

// AddressSanitizer names its log PREFIX.PID, after the renderer's process.
bool rendererReportedFault() {
    const std::filesystem::path stem(asanLogStem());
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(stem.parent_path(), error))
        if (entry.path().filename().string().starts_with(stem.filename().string() + ".")) {
            std::fprintf(stderr, "the SVG renderer reported a fault: %s\n", entry.path().c_str());
            return true;
        }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("KELMOR_SVG_RENDERER", KELMOR_FUZZ_SVG_RENDERER, 1);
    const std::string options = "log_path=" + asanLogStem() + ":detect_leaks=0";
    ::setenv("ASAN_OPTIONS", options.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kelmor::RgbaImage image;
    try {
        image = kelmor::renderSvgApart(bytes, "fuzz.svg", kLimits);
    } catch (const kelmor::SvgRendererMissing&) {
        __builtin_trap();
    } catch (const kelmor::Error&) {
        if (rendererReportedFault())
            __builtin_trap();
        return 0;
    }
    const kelmor::PictureFileSize measured = kelmor::measureSvgApart(bytes, "fuzz.svg");
    if (image.width != measured.size.width || image.height != measured.size.height ||
        image.pixels.size() != std::size_t(image.width) * image.height * 4)
        __builtin_trap();
    return 0;
}
