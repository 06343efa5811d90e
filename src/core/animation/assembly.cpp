#include "animation/assembly.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_frame_optimise.h"
#include "imaging/gif_palette.h"
#include "imaging/image_limits.h"
#include "prefs/ini_file.h"

#include <algorithm>
#include <vector>

namespace kelmor {

std::optional<int> assemblyFrameCount(std::string_view text) {
    for (int n = 2; n <= kFrameSlotCount; ++n)
        if (text == std::to_string(n))
            return n;
    return std::nullopt;
}

std::uint16_t animationValue(const std::string& text) {
    const std::optional<int> value = parseProfileInteger(text);
    if (!value)
        throw Error(format(msg::kNotAValidInteger, text));
    // Storing the low 16 bits would turn a typed -1 into 65535 loops.
    if (*value < 0 || *value > 0xFFFF)
        throw Error(format(msg::kValueOutOfRange, text));
    return static_cast<std::uint16_t>(*value);
}

void AssemblyBudget::add(PictureSize size, std::int64_t pixels) {
    checkImageSize(size.width, size.height);
    if (pixels < 0 || pixels > kMaxTotalPixels - pixels_)
        throw Error(msg::kImageTooLarge);
    pixels_ += pixels;
    screen_ = {std::max(screen_.width, size.width), std::max(screen_.height, size.height)};
    checkImageSize(screen_.width, screen_.height);
}

void AssemblyBudget::addFile(const std::string& path) {
    const PictureFileSize file = readPictureFileSize(path);
    add(file.size, std::max(file.pixels, file.size.width * file.size.height));
}

void checkAssemblySize(std::span<const PictureSize> sizes) {
    AssemblyBudget budget;
    for (const PictureSize& size : sizes)
        budget.add(size, size.width * size.height);
}

namespace {

// Appends the picture as a frame: a bitmap, JPEG or icon picture's own pixels,
// a GIF's first frame at its logical screen size.
int appendPicture(GifImage& animation, const Picture& picture) {
    if (const Bitmap* bitmap = picture.bitmap())
        return appendFrame(animation, *bitmap);
    if (const GifImage* gif = picture.gif())
        return appendFrame(animation, toBitmap(*gif));
    throw Error(msg::kObjectTypeNotSupported);
}

// Adds one slot's picture as the next frame with its extensions.
void appendAnimationFrame(GifImage& animation, const Picture& picture, bool transparencyRequest,
                          const AnimationSettings& settings) {
    const int index = appendPicture(animation, picture);
    if (index == 0)
        animation.addLoopExtension(index).loopCount = animationValue(settings.loopText());
    const std::uint16_t delay = animationValue(settings.speedText());
    animation.addGraphicControlExtension(index).delayTime = delay;
    if (transparencyRequest) {
        // The Transparent Color Flag stays clear: the frame is drawn opaque
        // unless a merge later makes it transparent.
        animation.setTransparentColorIndex(index, animation.bottomLeftColorIndex(index));
    }
}

} // namespace

GifImage assembleAnimation(std::span<const Picture> slots, int frameCount,
                           const AnimationSettings& settings, const FrameStarted& frameStarted) {
    GifImage animation;
    const int used = std::min<int>(frameCount, static_cast<int>(slots.size()));
    std::vector<PictureSize> sizes;
    for (const Picture& picture : slots.first(static_cast<std::size_t>(std::max(used, 0))))
        sizes.push_back({picture.width(), picture.height()});
    checkAssemblySize(sizes);
    for (int i = 0; i < used; ++i) {
        if (frameStarted)
            frameStarted(i);
        appendAnimationFrame(animation, slots[static_cast<std::size_t>(i)], i > 0, settings);
    }
    if (settings.palette())
        shareColorTable(animation);
    const bool merge = settings.merge();
    const bool crop = settings.crop();
    if (merge || crop)
        reduceFrames(animation, merge, crop);
    return animation;
}

} // namespace kelmor
