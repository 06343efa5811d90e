// kelmor-cli convert: the Pics tab's conversions without the window.
#include "base/error.h"
#include "base/messages.h"
#include "base/shown_value.h"
#include "cli_command.h"
#include "cli_files.h"
#include "pictures/conversion.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// The two forms of the command share one synopsis line; the first is told in the description.
const kelmor::cli::Syntax kSyntax{
    .command = "convert",
    .options = {{"--to", "gif|bmp|png|webp", "the kind written, whatever OUT's extension"}},
    .operands = "IN OUT",
    .minOperands = 0,
    .maxOperands = kelmor::cli::kAnyNumber,
    .operandsNeeded = {},
    .description =
        "      Converts a picture of any kind Kelmor reads (by IN's extension) as the Pics tab's\n"
        "      \"Picture -> ...\" commands do, to the kind --to names or else OUT's extension:\n"
        "      PNG lossless in the smallest colour type that holds the pixels; WebP lossless;\n"
        "      GIF with pixels of alpha below 128 transparent, the picture's own colours when\n"
        "      they fit a colour table, the fixed 216-colour palette otherwise (a GIF keeps its\n"
        "      frames, a 1/4/8-bit BMP its palette); BMP of 24 bits, or 32 bits with an alpha\n"
        "      mask when the picture has transparency. OUT - writes to standard output and\n"
        "      needs --to.\n"
        "  kelmor-cli convert gif2bmp|bmp2gif IN [OUT]\n"
        "      The Pics tab's conversion. gif2bmp reads IN as a GIF, whatever its extension, and\n"
        "      writes its first frame as a BMP (8 bits with the frame's colour table when the\n"
        "      frame covers the picture, otherwise 32 bits with the frame over black); bmp2gif\n"
        "      reads IN as a BMP and writes a one-frame GIF (1/4/8-bit pictures keep their\n"
        "      palette, deeper ones take the fixed 216-colour palette, no dithering). OUT "
        "defaults\n"
        "      to newimage.bmp or newimage.gif in the working directory and is replaced without\n"
        "      asking, only once the whole file is written; OUT - writes to standard output.\n"
        "      Exit status: 0 written, 1 unreadable or unwritable file or usage error."};

std::optional<kelmor::ConversionDirection> directionNamed(const std::string& name) {
    if (name == "gif2bmp")
        return kelmor::ConversionDirection::GifToBmp;
    if (name == "bmp2gif")
        return kelmor::ConversionDirection::BmpToGif;
    return std::nullopt;
}

// convert [--to KIND] IN OUT: any picture to the kind named.
int convertAnyPicture(const kelmor::cli::Arguments& arguments) {
    std::optional<kelmor::PictureTarget> target;
    if (const std::optional<std::string> kind = arguments.value("--to")) {
        target = kelmor::pictureTargetOf(*kind);
        if (!target)
            throw kelmor::cli::UsageError("--to needs gif, bmp, png or webp, not " +
                                          kelmor::shownValue(*kind));
    }
    const std::vector<std::string>& files = arguments.operands();
    if (files.size() != 2)
        throw kelmor::cli::UsageError("IN and OUT are needed");
    const std::string& in = files[0];
    const std::string& out = files[1];
    if (!target && out == kelmor::cli::kStandardOutput)
        throw kelmor::cli::UsageError("OUT - needs --to");
    if (!target)
        target = kelmor::pictureTargetOf(kelmor::fileExtension(out));
    if (!target)
        throw kelmor::Error(
            kelmor::cli::labelled(out, kelmor::format(kelmor::msg::kUnknownPictureExtension,
                                                      kelmor::fileExtension(out))));
    const kelmor::cli::Output output(out, {&in, 1});
    output.write(
        kelmor::cli::labelErrors(in, [&] { return kelmor::convertedPicture(*target, in); }));
    return 0;
}

int runConvert(const kelmor::cli::Arguments& arguments) {
    const std::vector<std::string>& args = arguments.operands();
    const auto direction = args.empty() ? std::nullopt : directionNamed(args[0]);
    if (!direction)
        return convertAnyPicture(arguments);
    if (args.size() < 2 || args.size() > 3 || arguments.has("--to"))
        throw kelmor::cli::UsageError("gif2bmp or bmp2gif, IN and an optional OUT are needed");
    const std::string& in = args[1];
    const kelmor::cli::Output output(
        args.size() == 3 ? args[2] : kelmor::conversionOutputName(*direction), {&in, 1});
    output.write(
        kelmor::cli::labelErrors(in, [&] { return kelmor::convertedPicture(*direction, in); }));
    return 0;
}

const kelmor::cli::Registration registration(kSyntax, runConvert);

} // namespace
