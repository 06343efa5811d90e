#pragma once

// The assembly of an animated GIF from the frame slots: the pictures in slot
// order in, one GifImage out. The Gifs tab and `kelmor-cli animate` share it,
// so the same frames and options give the same file. Pure C++, no Qt.

#include "imaging/gif_image.h"
#include "imaging/picture.h"
#include "imaging/picture_size.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelmor {

// The most frame slots an animation has.
inline constexpr int kFrameSlotCount = 20;

// The settings of an assembly, read at the moment each one is needed: the loop
// text once, right after the first frame is added; the speed text again for
// every frame; the three switches after the last frame. The Gifs tab answers
// from the live controls of the Gifs Options dialog, so a change made while
// frames are added takes effect at the next read.
class AnimationSettings {
public:
    virtual ~AnimationSettings() = default;
    virtual std::string loopText() const = 0;
    virtual std::string speedText() const = 0;
    virtual bool crop() const = 0;
    virtual bool merge() const = 0;
    virtual bool palette() const = 0;
};

// Settings that do not change while an assembly runs.
struct FixedAnimationSettings final : AnimationSettings {
    std::string loop = "0";
    std::string speed = "30";
    bool cropOn = false, mergeOn = false, paletteOn = false;

    std::string loopText() const override { return loop; }
    std::string speedText() const override { return speed; }
    bool crop() const override { return cropOn; }
    bool merge() const override { return mergeOn; }
    bool palette() const override { return paletteOn; }
};

// Called with a slot's index just before its picture becomes a frame, so the
// caller can show the picture while the frame is added.
using FrameStarted = std::function<void(int slot)>;

// The number of frames an exact frame count text asks for: "2" to "20", and
// nothing for any other text ("0", "1", "", "02", " 5", ...).
std::optional<int> assemblyFrameCount(std::string_view text);

// The value of a loop or speed text: an integer (decimal, or hexadecimal after
// "0x") from 0 to 65535. Throws "'TEXT' is not a valid integer value" or
// "'TEXT' is not a valid value (0 to 65535)".
std::uint16_t animationValue(const std::string& text);

// What an assembly writes.
enum class AnimationKind { Gif, WebP };

// The pixels of an animation's pictures, added up one picture at a time, so that the picture
// that passes the limits is the one refused.
class AssemblyBudget {
public:
    explicit AssemblyBudget(AnimationKind kind = AnimationKind::Gif) : kind_(kind) {}
    // Adds a picture that becomes a frame of `size` and takes `pixels` pixels once decoded.
    // Throws "Image too large" when the pictures so far take more than kMaxTotalPixels, or make
    // a logical screen (the widest side by the tallest) past the limit of one frame, which no
    // reader would open, or when the memory the assembly takes with them passes the command's
    // budget: every picture held at 32 bits, the frames made so far on the screen (GIF indices
    // and their LZW data, or a WebP's 32-bit canvases), and what making one more frame and
    // writing the file take at the screen's size.
    void add(PictureSize size, std::int64_t pixels);
    // Adds a picture file from its headers, before it is decoded (readPictureFileSize): a GIF
    // with every frame it holds, and at least its logical screen, the size of the frame it
    // becomes. Also throws what reading the headers throws: a file whose size cannot be known
    // is refused.
    void addFile(const std::string& path);

private:
    AnimationKind kind_;
    std::int64_t pixels_ = 0;
    std::int64_t heldBytes_ = 0;
    int frames_ = 0;
    PictureSize screen_;
};

// The budget's check on pictures of these sizes, each taking its own pixels.
void checkAssemblySize(std::span<const PictureSize> sizes, AnimationKind kind = AnimationKind::Gif);

// Builds the animation of the first `frameCount` slots. Frame 0 carries the
// NETSCAPE2.0 loop extension and then a graphic control extension with the
// delay; every later frame a graphic control extension with the delay, the
// Transparent Color Flag clear and the colour index of its bottom-left pixel
// as Transparent Color Index. checkAssemblySize runs on the pictures first. Then "Palette" shares
// one colour table over all frames, and "Merge" and "Crop" reduce the frames. Errors end the
// assembly and pass on; nothing half-built is returned.
GifImage assembleAnimation(std::span<const Picture> slots, int frameCount,
                           const AnimationSettings& settings,
                           const FrameStarted& frameStarted = {});

// The first `frameCount` slots as a lossless animated WebP file: each picture as a frame at
// 0, 0 on a canvas of the widest by the tallest picture, transparent where it does not reach,
// shown for the speed text's hundredths of a second, looping the loop text's count (0: for
// ever). Crop, Merge and Palette do not apply: every frame shows exactly its picture. The same
// checks as assembleAnimation run first.
std::string assembleWebpAnimation(std::span<const Picture> slots, int frameCount,
                                  const AnimationSettings& settings,
                                  const FrameStarted& frameStarted = {});

} // namespace kelmor
