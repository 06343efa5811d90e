// kelmor-cli animate: the Gifs tab's "Play Animation" and "Save As..." without the window.
#include "animation/assembly.h"
#include "base/shown_value.h"
#include "cli_command.h"
#include "cli_files.h"
#include "imaging/picture.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "  kelmor-cli animate [--loop N] [--delay N] [--crop] [--merge] [--palette]\n"
    "                    -o OUT.gif|OUT.webp [--] FRAME...\n"
    "      Assembles 1 to 20 pictures (.bmp, .gif, .jpg/.jpeg, .png, .webp, .svg, in the\n"
    "      order given) into an animated GIF as the Gifs tab does, and writes it to OUT.gif\n"
    "      (- for standard output); every argument after -- is a picture. Pixels with alpha\n"
    "      below 128 are transparent and their frame is cleared before the next. OUT.webp\n"
    "      writes a lossless animated WebP instead: every frame exactly as its picture, with\n"
    "      the same delays and loop count (--crop, --merge and --palette do not apply). The "
    "pictures together, every frame\n"
    "      of a GIF counted, may hold at most 256 Mi pixels; their headers are checked before\n"
    "      any is decoded, and a GIF adds its first frame only. --loop is the loop\n"
    "      count (0, the default, repeats for ever), --delay the delay of every frame in\n"
    "      hundredths of a second (default 30), both 0 to 65535. --palette shares one colour\n"
    "      table, --merge makes pixels that do not change transparent, --crop cuts each\n"
    "      merged frame to what changes. Exit status: 0 written, 1 unreadable picture,\n"
    "      bad value, unwritable file or usage error.";

int usageError(const std::string& problem) {
    std::cerr << "kelmor-cli animate: " << problem << "\nUsage:\n" << kUsage << '\n';
    return 1;
}

int runAnimate(const std::vector<std::string>& args) {
    kelmor::FixedAnimationSettings settings;
    std::string output;
    std::vector<std::string> frames;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options) {
            frames.push_back(arg);
        } else if (arg == "--") {
            options = false;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage << '\n';
            return 0;
        } else if (arg == "--loop" || arg == "--delay" || arg == "-o") {
            if (i + 1 == args.size())
                return usageError(arg + " needs a value");
            std::string& target = arg == "--loop"    ? settings.loop
                                  : arg == "--delay" ? settings.speed
                                                     : output;
            target = args[++i];
        } else if (arg == "--crop") {
            settings.cropOn = true;
        } else if (arg == "--merge") {
            settings.mergeOn = true;
        } else if (arg == "--palette") {
            settings.paletteOn = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return usageError("unknown option " + kelmor::shownValue(arg));
        } else {
            frames.push_back(arg);
        }
    }
    if (output.empty())
        return usageError("-o OUT.gif is needed");
    if (frames.empty() || frames.size() > static_cast<std::size_t>(kelmor::kFrameSlotCount))
        return usageError("1 to 20 frames are needed, " + std::to_string(frames.size()) + " given");
    for (const auto& [option, value] :
         {std::pair{"--loop", settings.loop}, {"--delay", settings.speed}})
        kelmor::cli::labelErrors(option, [&value = value] { kelmor::animationValue(value); });
    const kelmor::cli::Output out(output, frames);
    // The headers first: pictures too large together are refused, naming the one that passes
    // the budget, before any is decoded.
    kelmor::AssemblyBudget budget;
    for (const std::string& frame : frames)
        kelmor::cli::labelErrors(frame, [&] { budget.addFile(frame); });
    // The assembly draws a GIF's first frame only, so no later frame is decoded.
    std::vector<kelmor::Picture> slots(frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        kelmor::cli::labelErrors(
            frames[i], [&] { slots[i].loadFromFile(frames[i], kelmor::GifFrames::FirstImage); });
    if (kelmor::pictureFormatOf(output) == kelmor::PictureFormat::WebP) {
        out.write(kelmor::assembleWebpAnimation(slots, static_cast<int>(slots.size()), settings));
        return 0;
    }
    // Saved through the picture holder, as the tab's Save writes its preview.
    const kelmor::Picture animation(
        kelmor::assembleAnimation(slots, static_cast<int>(slots.size()), settings));
    out.write(animation.encoded());
    return 0;
}

const kelmor::cli::Registration registration({"animate", kUsage, runAnimate});

} // namespace
