// kelmor-cli animate: the Gifs tab's "Play Animation" and "Save As..." without the window.
#include "animation/assembly.h"
#include "cli_command.h"
#include "cli_files.h"
#include "imaging/picture.h"

#include <string>
#include <vector>

namespace {

const kelmor::cli::Syntax kSyntax{
    .command = "animate",
    .options = {{"--loop", "N", "the loop count, 0 to 65535 (0, the default, repeats for ever)"},
                {"--delay", "N", "every frame's delay in 1/100 s, 0 to 65535 (default 30)"},
                {"--crop", "", "cuts each merged frame to what changes"},
                {"--merge", "", "makes pixels that do not change transparent"},
                {"--palette", "", "shares one colour table"},
                {"-o", "OUT.gif|OUT.webp", "the animation written (- for standard output)", true}},
    .operands = "[--] FRAME...",
    .minOperands = 1,
    .maxOperands = kelmor::cli::kAnyNumber,
    .operandsNeeded = "1 to 20 frames are needed, 0 given",
    .description =
        "      Assembles 1 to 20 pictures (.bmp, .gif, .jpg/.jpeg, .png, .webp, .svg, in the\n"
        "      order given) into an animated GIF as the Gifs tab does, and writes it to OUT.gif\n"
        "      (- for standard output); every argument after -- is a picture. Pixels with alpha\n"
        "      below 128 are transparent and their frame is cleared before the next. OUT.webp\n"
        "      writes a lossless animated WebP instead: every frame exactly as its picture, with\n"
        "      the same delays and loop count (--crop, --merge and --palette do not apply). The\n"
        "      pictures together, every frame of a GIF counted, may hold at most 256 Mi pixels;\n"
        "      their headers are checked before any is decoded, and a GIF adds its first frame\n"
        "      only. Exit status: 0 written, 1 unreadable picture, bad value, unwritable file or\n"
        "      usage error."};

// The settings the options give, each number checked and labelled with its option.
kelmor::FixedAnimationSettings chosenSettings(const kelmor::cli::Arguments& arguments) {
    kelmor::FixedAnimationSettings settings;
    settings.loop = arguments.value("--loop").value_or(settings.loop);
    settings.speed = arguments.value("--delay").value_or(settings.speed);
    settings.cropOn = arguments.has("--crop");
    settings.mergeOn = arguments.has("--merge");
    settings.paletteOn = arguments.has("--palette");
    for (const auto& [option, value] :
         {std::pair{"--loop", settings.loop}, {"--delay", settings.speed}})
        kelmor::cli::labelErrors(option, [&value = value] { kelmor::animationValue(value); });
    return settings;
}

int runAnimate(const kelmor::cli::Arguments& arguments) {
    const std::vector<std::string>& frames = arguments.operands();
    if (frames.size() > static_cast<std::size_t>(kelmor::kFrameSlotCount))
        throw kelmor::cli::UsageError("1 to 20 frames are needed, " +
                                      std::to_string(frames.size()) + " given");
    const kelmor::FixedAnimationSettings settings = chosenSettings(arguments);
    const std::string output = *arguments.value("-o");
    const kelmor::cli::Output out(output, frames);
    // The headers first: pictures too large together are refused, naming the one that passes
    // the budget, before any is decoded.
    const bool webp = kelmor::pictureFormatOf(output) == kelmor::PictureFormat::WebP;
    kelmor::AssemblyBudget budget(webp ? kelmor::AnimationKind::WebP : kelmor::AnimationKind::Gif);
    for (const std::string& frame : frames)
        kelmor::cli::labelErrors(frame, [&] { budget.addFile(frame); });
    // The assembly draws a GIF's or an animated WebP's first frame only, so no later frame is
    // decoded.
    std::vector<kelmor::Picture> slots(frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        kelmor::cli::labelErrors(
            frames[i], [&] { slots[i].loadFromFile(frames[i], kelmor::GifFrames::FirstImage); });
    if (webp) {
        out.write(kelmor::assembleWebpAnimation(slots, static_cast<int>(slots.size()), settings));
        return 0;
    }
    // Saved through the picture holder, as the tab's Save writes its preview.
    const kelmor::Picture animation(
        kelmor::assembleAnimation(slots, static_cast<int>(slots.size()), settings));
    out.write(animation.encoded());
    return 0;
}

const kelmor::cli::Registration registration(kSyntax, runAnimate);

} // namespace
