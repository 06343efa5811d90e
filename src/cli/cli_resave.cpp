// kelmor-cli resave: the Pics tab's Save without the window.
#include "base/error.h"
#include "base/read_file.h"
#include "cli_command.h"
#include "cli_files.h"
#include "imaging/picture.h"
#include "imaging/svg_renderer_process.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "  kelmor-cli resave IN OUT\n"
    "      Loads the picture IN by its extension (.gif, .bmp, .jpg/.jpeg, .png, .webp, .svg)\n"
    "      and writes it to OUT in its own format, whatever OUT's extension: a GIF anew from\n"
    "      its frames, a BMP in its pixel format and palette, a JPEG, PNG, WebP or SVG byte\n"
    "      for byte. OUT is replaced only when\n"
    "      the whole file is written; OUT - writes to standard output. Exit status: 0 written, 1 "
    "unreadable or unwritable file\n"
    "      or usage error.";

// An SVG file's own bytes, once the renderer process has measured the document: that refuses a
// damaged file or one without a size, as a load would, without drawing a pixel.
std::string svgBytes(const std::string& path) {
    return kelmor::cli::labelErrors(path, [&] {
        std::string bytes = kelmor::readWholeFile(path);
        kelmor::measureSvgApart(bytes, path);
        return bytes;
    });
}

int runResave(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage << '\n';
        return 0;
    }
    if (args.size() != 2) {
        std::cerr << "kelmor-cli resave: IN and OUT are needed\nUsage:\n" << kUsage << '\n';
        return 1;
    }
    const kelmor::cli::Output output(args[1], {args.data(), 1});
    if (kelmor::pictureFormatOf(args[0]) == kelmor::PictureFormat::Svg) {
        output.write(svgBytes(args[0]));
        return 0;
    }
    kelmor::Picture picture;
    // Writing a GIF anew can find what reading let pass (an index past its colour table): that
    // too is the input's fault.
    const std::string bytes = kelmor::cli::labelErrors(args[0], [&] {
        picture.loadFromFile(args[0]);
        return picture.encoded();
    });
    output.write(bytes);
    return 0;
}

const kelmor::cli::Registration registration({"resave", kUsage, runResave});

} // namespace
