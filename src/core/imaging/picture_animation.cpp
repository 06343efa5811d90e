#include "imaging/picture_animation.h"

#include "imaging/image_limits.h"

#include <algorithm>
#include <array>

namespace kelmor {
namespace {

constexpr int kMsPerDelayUnit = 12;
constexpr int kDisposeToBackground = 2;
constexpr int kDisposeToPrevious = 3;

int disposalOf(const GifFrame& frame) {
    const GifGraphicControlExtension* control = frame.graphicControl();
    return control ? control->disposal() : 0;
}

} // namespace

int displayDelay(const GifFrame& frame) {
    const GifGraphicControlExtension* control = frame.graphicControl();
    if (!control || control->delayTime == 0)
        return 10;
    return std::max<int>(control->delayTime, 3);
}

int frameWaitMs(int delay, int previousOverrunMs) {
    const long long wait = static_cast<long long>(delay) * kMsPerDelayUnit - previousOverrunMs / 2;
    return wait <= 0 ? 0 : static_cast<int>(wait);
}

int animationPasses(const GifImage& image) {
    const GifLoopExtension* loop = image.loopExtension();
    return loop ? loop->loopCount : 1;
}

std::vector<int> shownFrames(const GifImage& image) {
    std::vector<int> frames;
    for (int i = 0; i < image.frameCount(); ++i) {
        if (image.frame(i).hasImage)
            frames.push_back(i);
    }
    return frames;
}

AnimationSchedule::AnimationSchedule(const GifImage& image)
    : frames_(shownFrames(image)), passes_(animationPasses(image)) {
    for (int index : frames_)
        delays_.push_back(displayDelay(image.frame(index)));
}

int AnimationSchedule::waitMs(int previousOverrunMs) const {
    if (frames_.empty())
        return 0;
    return frameWaitMs(delays_[position_], previousOverrunMs);
}

bool AnimationSchedule::advance() {
    if (frames_.empty())
        return false;
    if (position_ + 1 < frames_.size()) {
        ++position_;
        return true;
    }
    if (passes_ != 0 && pass_ >= passes_)
        return false;
    position_ = 0;
    if (passes_ != 0)
        ++pass_;
    return true;
}

FrameCanvas::FrameCanvas(const GifImage& image)
    : image_(image), width_(image.width()), height_(image.height()) {
    checkImageSize(width_, height_);
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

void FrameCanvas::dispose() {
    const GifFrame& frame = image_.frame(last_);
    const int disposal = disposalOf(frame);
    if (disposal == kDisposeToPrevious && saved_.size() == pixels_.size()) {
        pixels_ = saved_;
    } else if (disposal == kDisposeToBackground) {
        const int right = std::min<int>(frame.left + frame.width, width_);
        const int bottom = std::min<int>(frame.top + frame.height, height_);
        for (int y = frame.top; y < bottom; ++y) {
            std::fill(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + frame.left,
                      pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + right, 0u);
        }
    }
}

void FrameCanvas::draw(int index) {
    const bool restart = index == 0 || last_ < 0 || index < last_;
    if (!restart)
        dispose();
    last_ = index;
    const GifFrame& frame = image_.frame(index);
    const bool drawable =
        frame.hasImage &&
        frame.pixels.size() >= static_cast<std::size_t>(frame.width) * frame.height;
    const bool transparent = frame.transparent();
    // A restart empties the screen, unless an opaque frame is about to cover all of it (and
    // the empty screen is not kept for its "restore to previous").
    const bool coversScreen = drawable && !transparent && frame.left == 0 && frame.top == 0 &&
                              frame.width >= width_ && frame.height >= height_ &&
                              disposalOf(frame) != kDisposeToPrevious;
    if (restart && !coversScreen)
        std::fill(pixels_.begin(), pixels_.end(), 0u);
    if (disposalOf(frame) == kDisposeToPrevious)
        saved_ = pixels_;
    if (!drawable)
        return;

    // Colour indices past the table show opaque black.
    std::array<std::uint32_t, 256> argb;
    argb.fill(0xFF000000u);
    const std::vector<Rgb>& colors = image_.activeColorTable(index).colors;
    for (std::size_t i = 0; i < colors.size() && i < argb.size(); ++i)
        argb[i] = 0xFF000000u | (std::uint32_t(colors[i].r) << 16) |
                  (std::uint32_t(colors[i].g) << 8) | colors[i].b;
    const unsigned transparentIndex =
        transparent ? frame.graphicControl()->transparentColorIndex : 256u;
    const int count = std::min<int>(frame.left + frame.width, width_) - frame.left;
    const int bottom = std::min<int>(frame.top + frame.height, height_);
    for (int y = frame.top; y < bottom && count > 0; ++y) {
        const std::uint8_t* source =
            frame.pixels.data() + static_cast<std::size_t>(y - frame.top) * frame.width;
        std::uint32_t* target = pixels_.data() + static_cast<std::size_t>(y) * width_ + frame.left;
        if (!transparent) {
            for (int x = 0; x < count; ++x)
                target[x] = argb[source[x]];
            continue;
        }
        for (int x = 0; x < count; ++x) {
            if (source[x] != transparentIndex)
                target[x] = argb[source[x]];
        }
    }
}

} // namespace kelmor
