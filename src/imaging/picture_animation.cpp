#include "imaging/picture_animation.h"

#include "imaging/image_limits.h"

#include <algorithm>

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

int frameWaitMs(int delay, int previousOverrunMs, int speedPercent) {
    const long long wait = static_cast<long long>(delay) * kMsPerDelayUnit - previousOverrunMs / 2;
    if (wait <= 0 || speedPercent <= 0)
        return 0;
    return static_cast<int>(wait * 100 / speedPercent);
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
    : frames_(shownFrames(image)), passes_(animationPasses(image)), speed_(image.animationSpeed()) {
    for (int index : frames_)
        delays_.push_back(displayDelay(image.frame(index)));
}

int AnimationSchedule::waitMs(int previousOverrunMs) const {
    if (frames_.empty())
        return 0;
    return frameWaitMs(delays_[position_], previousOverrunMs, speed_);
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
    if (index == 0 || last_ < 0 || index < last_)
        std::fill(pixels_.begin(), pixels_.end(), 0u);
    else
        dispose();
    last_ = index;
    const GifFrame& frame = image_.frame(index);
    if (disposalOf(frame) == kDisposeToPrevious)
        saved_ = pixels_;
    if (!frame.hasImage ||
        frame.pixels.size() < static_cast<std::size_t>(frame.width) * frame.height)
        return;

    const std::vector<Rgb>& colors = image_.activeColorTable(index).colors;
    const bool transparent = frame.transparent();
    const unsigned transparentIndex =
        transparent ? frame.graphicControl()->transparentColorIndex : 0u;
    const int right = std::min<int>(frame.left + frame.width, width_);
    const int bottom = std::min<int>(frame.top + frame.height, height_);
    for (int y = frame.top; y < bottom; ++y) {
        const std::uint8_t* source =
            frame.pixels.data() + static_cast<std::size_t>(y - frame.top) * frame.width;
        std::uint32_t* target = pixels_.data() + static_cast<std::size_t>(y) * width_;
        for (int x = frame.left; x < right; ++x) {
            const unsigned i = source[x - frame.left];
            if (transparent && i == transparentIndex)
                continue;
            const Rgb c = i < colors.size() ? colors[i] : Rgb{};
            target[x] = 0xFF000000u | (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
        }
    }
}

} // namespace kelmor
