#pragma once

// How an image control plays a GIF of several frames: the timing of each frame
// and the composed picture on screen. Pure C++; the picture view drives it.

#include "imaging/gif_image.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kelmor {

// Display delay of a frame in hundredths of a second: its Delay Time, raised to
// 3 when below 3; 10 when the Delay Time is 0 or the frame has no graphic
// control extension.
int displayDelay(const GifFrame& frame);

// Milliseconds a frame stays on screen: the display delay times 12, less half
// of the time the previous frame overran its wait; never below 0.
int frameWaitMs(int displayDelay, int previousOverrunMs);

// Passes an animation plays: the loop count of its loop extension (0 = for
// ever), 1 without a loop extension.
int animationPasses(const GifImage& image);

// The frames of an image that are shown: those that hold pixels.
std::vector<int> shownFrames(const GifImage& image);

// The sequence of frames an animation shows and how long each stays.
class AnimationSchedule {
public:
    explicit AnimationSchedule(const GifImage& image);

    // True when the image has more than one frame to show.
    bool animated() const { return frames_.size() > 1; }
    // The frame on screen (an index into the image's frames), -1 for none.
    int frame() const { return frames_.empty() ? -1 : frames_[position_]; }
    int pass() const { return pass_; }
    // How long the frame on screen stays, given the previous frame's overrun.
    int waitMs(int previousOverrunMs) const;
    // Moves to the next frame, wrapping to the first for another pass. Returns
    // false, staying on the last frame, when the last pass is over.
    bool advance();

private:
    std::vector<int> frames_;
    std::vector<int> delays_; // display delay of each shown frame
    std::size_t position_ = 0;
    int pass_ = 1;
    int passes_ = 1;
};

// The logical screen with the frames drawn onto it in turn, at their
// positions, with their transparency and disposal methods. Pixels are 32-bit
// ARGB values (0xAARRGGBB); uncovered and cleared pixels are transparent.
class FrameCanvas {
public:
    // The canvas draws from the image, which must outlive it. Throws
    // Error("Image too large") when the screen passes the picture limits.
    explicit FrameCanvas(const GifImage& image);
    explicit FrameCanvas(GifImage&&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }

    // Shows frame `index`: drawing frame 0 starts from an empty screen; a
    // later frame first disposes of the frame drawn before it.
    void draw(int index);

private:
    void dispose();

    const GifImage& image_;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint32_t> saved_; // the screen before a "restore to previous" frame
    int last_ = -1;                    // the frame drawn last
};

} // namespace kelmor
