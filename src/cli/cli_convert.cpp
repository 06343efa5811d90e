// kelmor-cli convert: the Pics tab's GIF -> BMP and BMP -> GIF without the window.
#include "cli_command.h"
#include "cli_files.h"
#include "pictures/conversion.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "  kelmor-cli convert gif2bmp|bmp2gif IN [OUT]\n"
    "      The Pics tab's conversion. gif2bmp reads IN as a GIF, whatever its extension, and\n"
    "      writes its first frame as a BMP (8 bits with the frame's colour table when the\n"
    "      frame covers the picture, otherwise 32 bits with the frame over black); bmp2gif\n"
    "      reads IN as a BMP and writes a one-frame GIF (1/4/8-bit pictures keep their\n"
    "      palette, deeper ones take the fixed 216-colour palette, no dithering). OUT defaults\n"
    "      to newimage.bmp or newimage.gif in the working directory and is replaced without\n"
    "      asking, only once the whole file is written; OUT - writes to standard output.\n"
    "      Exit status: 0 written, 1 unreadable or unwritable file or usage error.";

std::optional<kelmor::ConversionDirection> directionNamed(const std::string& name) {
    if (name == "gif2bmp")
        return kelmor::ConversionDirection::GifToBmp;
    if (name == "bmp2gif")
        return kelmor::ConversionDirection::BmpToGif;
    return std::nullopt;
}

int runConvert(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage << '\n';
        return 0;
    }
    const auto direction = args.empty() ? std::nullopt : directionNamed(args[0]);
    if (!direction || args.size() < 2 || args.size() > 3) {
        std::cerr << "kelmor-cli convert: gif2bmp or bmp2gif, IN and an optional OUT are "
                     "needed\nUsage:\n"
                  << kUsage << '\n';
        return 1;
    }
    const std::string& in = args[1];
    const kelmor::cli::Output output(
        args.size() == 3 ? args[2] : kelmor::conversionOutputName(*direction), {&in, 1});
    output.write(
        kelmor::cli::labelErrors(in, [&] { return kelmor::convertedPicture(*direction, in); }));
    return 0;
}

const kelmor::cli::Registration registration({"convert", kUsage, runConvert});

} // namespace
