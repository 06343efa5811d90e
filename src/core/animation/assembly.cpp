#include "animation/assembly.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_frame_optimise.h"
#include "imaging/gif_palette.h"
#include "imaging/gif_rgba.h"
#include "imaging/image_limits.h"
#include "imaging/webp.h"
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

namespace {

// Bytes per pixel of the screen: for each frame made, and once for making a frame (the
// picture's RGBA pixels) and writing the file (the GIF writer's composed canvases when merging
// and cropping; libwebp's animation encoder, its canvases and one frame's lossless coder).
struct AssemblyCost {
    std::int64_t perFrame;
    std::int64_t writing;
};
constexpr AssemblyCost kGifCost{2, 12};
constexpr AssemblyCost kWebpCost{4, 30};

} // namespace

void AssemblyBudget::add(PictureSize size, std::int64_t pixels) {
    checkImageSize(size.width, size.height);
    if (pixels < 0 || pixels > kMaxTotalPixels - pixels_)
        throw Error(msg::kImageTooLarge);
    pixels_ += pixels;
    screen_ = {std::max(screen_.width, size.width), std::max(screen_.height, size.height)};
    checkImageSize(screen_.width, screen_.height);
    // The sizes are each within the limit of one picture, so the products below stay far from
    // overflowing.
    heldBytes_ += 4 * size.width * size.height;
    ++frames_;
    const AssemblyCost cost = kind_ == AnimationKind::WebP ? kWebpCost : kGifCost;
    const std::int64_t screenPixels = screen_.width * screen_.height;
    if (heldBytes_ + screenPixels * (cost.perFrame * frames_ + cost.writing) > kMemoryBudgetBytes)
        throw Error(msg::kImageTooLarge);
}

void AssemblyBudget::addFile(const std::string& path) {
    const PictureFileSize file = readPictureFileSize(path);
    add(file.size, std::max(file.pixels, file.size.width * file.size.height));
}

void checkAssemblySize(std::span<const PictureSize> sizes, AnimationKind kind) {
    AssemblyBudget budget(kind);
    for (const PictureSize& size : sizes)
        budget.add(size, size.width * size.height);
}

namespace {

// Whether a bitmap has a pixel that a GIF frame shows as transparent.
bool hasTransparentPixel(const Bitmap& bitmap) {
    if (bitmap.alphaMask == 0)
        return false;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.alpha(x, y) < 128)
                return true;
        }
    }
    return false;
}

// Whether a picture becomes a frame through its RGBA pixels: a picture of a format of RGBA
// pixels (PNG, WebP, SVG), and a picture of another kind with transparent pixels. Other pictures
// keep the frames they always made.
bool framedFromRgba(const Picture& picture) {
    const PictureCodec* codec = pictureCodec(picture.format());
    if (codec && codec->rgbaPixels())
        return true;
    return picture.bitmap() && hasTransparentPixel(*picture.bitmap());
}

// Appends the picture as a frame: a bitmap, JPEG or icon picture's own pixels,
// a GIF's first frame at its logical screen size, a picture with transparency
// with its transparent pixels on one index.
RgbaFrameIndex appendPicture(GifImage& animation, const Picture& picture) {
    if (framedFromRgba(picture))
        return appendRgbaFrame(animation, picture.rgba());
    if (const Bitmap* bitmap = picture.bitmap())
        return {appendFrame(animation, *bitmap), std::nullopt};
    if (const GifImage* gif = picture.gif())
        return {appendFrame(animation, toBitmap(*gif)), std::nullopt};
    throw Error(msg::kObjectTypeNotSupported);
}

// Adds one slot's picture as the next frame with its extensions.
void appendAnimationFrame(GifImage& animation, const Picture& picture, bool transparencyRequest,
                          const AnimationSettings& settings) {
    const RgbaFrameIndex placed = appendPicture(animation, picture);
    const int index = placed.frame;
    if (index == 0)
        animation.addLoopExtension(index).loopCount = animationValue(settings.loopText());
    const std::uint16_t delay = animationValue(settings.speedText());
    GifGraphicControlExtension& control = animation.addGraphicControlExtension(index);
    control.delayTime = delay;
    if (placed.transparentIndex) {
        // Its transparent pixels show what lies behind the animation, so the frame is cleared
        // to the background before the next one is drawn.
        control.setTransparent(true);
        control.transparentColorIndex = static_cast<std::uint8_t>(*placed.transparentIndex);
        control.setDisposal(2);
    } else if (transparencyRequest) {
        // The Transparent Color Flag stays clear: the frame is drawn opaque
        // unless a merge later makes it transparent.
        animation.setTransparentColorIndex(index, animation.bottomLeftColorIndex(index));
    }
}

std::vector<PictureSize> slotSizes(std::span<const Picture> slots, int used) {
    std::vector<PictureSize> sizes;
    for (const Picture& picture : slots.first(static_cast<std::size_t>(std::max(used, 0))))
        sizes.push_back({picture.width(), picture.height()});
    return sizes;
}

} // namespace

GifImage assembleAnimation(std::span<const Picture> slots, int frameCount,
                           const AnimationSettings& settings, const FrameStarted& frameStarted) {
    GifImage animation;
    const int used = std::min<int>(frameCount, static_cast<int>(slots.size()));
    checkAssemblySize(slotSizes(slots, used));
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

std::string assembleWebpAnimation(std::span<const Picture> slots, int frameCount,
                                  const AnimationSettings& settings,
                                  const FrameStarted& frameStarted) {
    const int used = std::min<int>(frameCount, static_cast<int>(slots.size()));
    const std::vector<PictureSize> sizes = slotSizes(slots, used);
    checkAssemblySize(sizes, AnimationKind::WebP);
    PictureSize canvas;
    for (const PictureSize& size : sizes)
        canvas = {std::max(canvas.width, size.width), std::max(canvas.height, size.height)};
    // Every frame is held at the canvas's size until the encoder has them all.
    if (used > 0 && canvas.width * canvas.height > kMaxTotalPixels / used)
        throw Error(msg::kImageTooLarge);
    RgbaAnimation animation;
    for (int i = 0; i < used; ++i) {
        if (frameStarted)
            frameStarted(i);
        if (i == 0)
            animation.loopCount = animationValue(settings.loopText());
        const int durationMs = animationValue(settings.speedText()) * 10;
        const RgbaImage picture = slots[static_cast<std::size_t>(i)].rgba();
        RgbaImage frame =
            RgbaImage::blank(static_cast<int>(canvas.width), static_cast<int>(canvas.height));
        for (int y = 0; y < picture.height; ++y)
            std::copy_n(picture.row(y), std::size_t(picture.width) * 4, frame.row(y));
        animation.frames.push_back({std::move(frame), durationMs});
    }
    return encodeAnimatedWebp(animation);
}

} // namespace kelmor
