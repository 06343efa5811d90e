// kelmor-cli resave: the Pics tab's Save without the window.
#include "base/error.h"
#include "cli_command.h"
#include "cli_files.h"
#include "imaging/picture.h"

#include <optional>
#include <string>
#include <vector>

namespace {

const kelmor::cli::Syntax kSyntax{
    .command = "resave",
    .operands = "IN OUT",
    .minOperands = 2,
    .maxOperands = 2,
    .operandsNeeded = "IN and OUT are needed",
    .description =
        "      Loads the picture IN by its extension (.gif, .bmp, .jpg/.jpeg, .png, .webp, .svg)\n"
        "      and writes it to OUT in its own format, whatever OUT's extension: a GIF anew from\n"
        "      its frames, a BMP in its pixel format and palette, a JPEG, PNG, WebP or SVG byte\n"
        "      for byte. OUT is replaced only when the whole file is written; OUT - writes to\n"
        "      standard output. Exit status: 0 written, 1 unreadable or unwritable file or usage\n"
        "      error."};

int runResave(const kelmor::cli::Arguments& arguments) {
    const std::vector<std::string>& args = arguments.operands();
    const kelmor::cli::Output output(args[1], {args.data(), 1});
    // Writing a GIF anew can find what reading let pass (an index past its colour table): that
    // too is the input's fault. A file written as it is needs no decode, only its structure
    // checked.
    const std::string bytes = kelmor::cli::labelErrors(args[0], [&] {
        const kelmor::PictureFormat format = kelmor::pictureFormatOf(args[0]);
        if (std::optional<std::string> verbatim = kelmor::readVerbatimPicture(format, args[0]))
            return std::move(*verbatim);
        kelmor::Picture picture;
        picture.loadFromFile(args[0]);
        return picture.encoded();
    });
    output.write(bytes);
    return 0;
}

const kelmor::cli::Registration registration(kSyntax, runResave);

} // namespace
