#include "base/error.h"
#include "imaging/picture_animation.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace kelmor {
namespace {

GifFrame frameAt(int left, int top, int width, int height, std::vector<std::uint8_t> pixels,
                 std::optional<GifGraphicControlExtension> control = std::nullopt) {
    GifFrame frame;
    frame.hasImage = true;
    frame.left = static_cast<std::uint16_t>(left);
    frame.top = static_cast<std::uint16_t>(top);
    frame.width = static_cast<std::uint16_t>(width);
    frame.height = static_cast<std::uint16_t>(height);
    frame.pixels = std::move(pixels);
    if (control)
        frame.extensions.emplace_back(*control);
    return frame;
}

GifGraphicControlExtension control(int delay, int disposal = 0, int transparentIndex = -1) {
    GifGraphicControlExtension gce;
    gce.delayTime = static_cast<std::uint16_t>(delay);
    gce.setDisposal(disposal);
    if (transparentIndex >= 0) {
        gce.setTransparent(true);
        gce.transparentColorIndex = static_cast<std::uint8_t>(transparentIndex);
    }
    return gce;
}

// ---- Timing ---------------------------------------------------------------------------------

struct DelayCase {
    std::optional<int> delayTime; // nullopt: no graphic control extension
    int displayDelay;
};

class DisplayDelay : public ::testing::TestWithParam<DelayCase> {};

TEST_P(DisplayDelay, FollowsTheDelayTimeWithItsFloorAndDefault) {
    const auto& c = GetParam();
    const GifFrame frame =
        c.delayTime ? frameAt(0, 0, 1, 1, {0}, control(*c.delayTime)) : frameAt(0, 0, 1, 1, {0});
    EXPECT_EQ(displayDelay(frame), c.displayDelay);
}

INSTANTIATE_TEST_SUITE_P(Frames, DisplayDelay,
                         ::testing::Values(DelayCase{std::nullopt, 10}, DelayCase{0, 10},
                                           DelayCase{1, 3}, DelayCase{2, 3}, DelayCase{3, 3},
                                           DelayCase{4, 4}, DelayCase{50, 50},
                                           DelayCase{65535, 65535}));

TEST(FrameWait, IsTwelveMillisecondsPerUnitLessHalfThePreviousOverrun) {
    EXPECT_EQ(frameWaitMs(10, 0), 120);
    EXPECT_EQ(frameWaitMs(3, 0), 36);
    EXPECT_EQ(frameWaitMs(10, 40), 100);
    EXPECT_EQ(frameWaitMs(10, 41), 100); // half of an odd overrun rounds down
    EXPECT_EQ(frameWaitMs(10, 240), 0);
    EXPECT_EQ(frameWaitMs(10, 10000), 0); // never negative
    EXPECT_EQ(frameWaitMs(65535, 0), 786420);
}

// ---- The frame sequence ---------------------------------------------------------------------

GifImage animation(int frames, std::optional<int> loopCount) {
    GifImage image;
    image.header().width = 2;
    image.header().height = 1;
    image.header().colorTable.colors = {{0, 0, 0}, {255, 255, 255}};
    for (int i = 0; i < frames; ++i) {
        GifFrame frame = frameAt(0, 0, 2, 1, {0, 1});
        // The loop extension, when there is one, comes before the first frame's control.
        frame.extensions.reserve(2);
        if (i == 0 && loopCount)
            frame.extensions.emplace_back(GifLoopExtension{static_cast<std::uint16_t>(*loopCount)});
        frame.extensions.emplace_back(control((i + 1) * 5));
        image.frames().push_back(std::move(frame));
    }
    return image;
}

// The frames shown from the start until the schedule stops, at most `limit`.
std::vector<int> played(const GifImage& image, int limit = 100) {
    AnimationSchedule schedule(image);
    std::vector<int> frames{schedule.frame()};
    while (static_cast<int>(frames.size()) < limit && schedule.advance())
        frames.push_back(schedule.frame());
    return frames;
}

TEST(AnimationSchedule, WithoutLoopExtensionPlaysOnceAndStaysOnTheLastFrame) {
    const GifImage image = animation(3, std::nullopt);
    EXPECT_EQ(animationPasses(image), 1);
    EXPECT_EQ(played(image), (std::vector<int>{0, 1, 2}));
    AnimationSchedule schedule(image);
    while (schedule.advance()) {
    }
    EXPECT_EQ(schedule.frame(), 2);
    EXPECT_FALSE(schedule.advance());
}

TEST(AnimationSchedule, LoopCountIsTheNumberOfPasses) {
    const GifImage image = animation(3, 2);
    EXPECT_EQ(animationPasses(image), 2);
    EXPECT_EQ(played(image), (std::vector<int>{0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(played(animation(2, 1)), (std::vector<int>{0, 1}));
}

TEST(AnimationSchedule, LoopCountZeroRepeatsForEver) {
    const GifImage image = animation(2, 0);
    EXPECT_EQ(animationPasses(image), 0);
    const std::vector<int> frames = played(image, 1001);
    EXPECT_EQ(frames.size(), 1001u);
    EXPECT_EQ(frames[1000], 0);
}

TEST(AnimationSchedule, WaitsFollowEachFramesDelay) {
    AnimationSchedule schedule(animation(2, std::nullopt));
    EXPECT_EQ(schedule.waitMs(0), 5 * 12);
    ASSERT_TRUE(schedule.advance());
    EXPECT_EQ(schedule.waitMs(20), 10 * 12 - 10);
}

TEST(AnimationSchedule, FramesWithoutPixelsAreNotShown) {
    GifImage image = animation(2, std::nullopt);
    GifFrame extensionsOnly;
    extensionsOnly.extensions.emplace_back(GifCommentExtension{{"note"}});
    image.frames().insert(image.frames().begin() + 1, extensionsOnly);
    image.frames().push_back(extensionsOnly);
    EXPECT_EQ(played(image), (std::vector<int>{0, 2}));
}

TEST(AnimationSchedule, SingleFrameIsNotAnimated) {
    EXPECT_FALSE(AnimationSchedule(animation(1, 0)).animated());
    EXPECT_TRUE(AnimationSchedule(animation(2, std::nullopt)).animated());
    EXPECT_EQ(AnimationSchedule(GifImage()).frame(), -1);
}

// ---- Composing the screen -------------------------------------------------------------------

constexpr std::uint32_t kClear = 0;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;

// A 3 x 2 screen with a red background frame and a 2 x 1 frame at (1, 1).
GifImage composed(int overlayDisposal, std::vector<std::uint8_t> overlayPixels,
                  int transparentIndex = -1) {
    GifImage image;
    image.header().width = 3;
    image.header().height = 2;
    image.header().colorTable.colors = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    image.frames().push_back(frameAt(0, 0, 3, 2, {0, 0, 0, 0, 0, 0}, control(10)));
    image.frames().push_back(frameAt(1, 1, 2, 1, std::move(overlayPixels),
                                     control(10, overlayDisposal, transparentIndex)));
    image.frames().push_back(frameAt(0, 0, 1, 1, {2}, control(10)));
    return image;
}

TEST(FrameCanvas, DrawsFramesAtTheirPositionOverThePreviousOnes) {
    const GifImage image = composed(1, {1, 2});
    FrameCanvas canvas(image);
    canvas.draw(0);
    canvas.draw(1);
    EXPECT_EQ(canvas.pixels(), (std::vector<std::uint32_t>{kRed, kRed, kRed, kRed, kGreen, kBlue}));
    canvas.draw(2);
    EXPECT_EQ(canvas.pixels(),
              (std::vector<std::uint32_t>{kBlue, kRed, kRed, kRed, kGreen, kBlue}));
}

TEST(FrameCanvas, TransparentPixelsLetTheEarlierFrameShow) {
    const GifImage image = composed(1, {1, 2}, 2);
    FrameCanvas canvas(image);
    canvas.draw(0);
    canvas.draw(1);
    EXPECT_EQ(canvas.pixels(), (std::vector<std::uint32_t>{kRed, kRed, kRed, kRed, kGreen, kRed}));
}

TEST(FrameCanvas, RestoreToBackgroundClearsTheFramesArea) {
    const GifImage image = composed(2, {1, 2});
    FrameCanvas canvas(image);
    canvas.draw(0);
    canvas.draw(1);
    canvas.draw(2);
    EXPECT_EQ(canvas.pixels(),
              (std::vector<std::uint32_t>{kBlue, kRed, kRed, kRed, kClear, kClear}));
}

TEST(FrameCanvas, RestoreToPreviousBringsBackTheScreenBeforeTheFrame) {
    const GifImage image = composed(3, {1, 2});
    FrameCanvas canvas(image);
    canvas.draw(0);
    canvas.draw(1);
    canvas.draw(2);
    EXPECT_EQ(canvas.pixels(), (std::vector<std::uint32_t>{kBlue, kRed, kRed, kRed, kRed, kRed}));
}

TEST(FrameCanvas, StartingOverBeginsFromAnEmptyScreen) {
    GifImage image = composed(1, {1, 2});
    image.frames()[0] = frameAt(0, 0, 1, 1, {0}, control(10));
    FrameCanvas canvas(image);
    canvas.draw(0);
    canvas.draw(1);
    canvas.draw(2);
    canvas.draw(0);
    EXPECT_EQ(canvas.pixels(),
              (std::vector<std::uint32_t>{kRed, kClear, kClear, kClear, kClear, kClear}));
}

TEST(FrameCanvas, FramesReachingPastTheScreenAreClipped) {
    GifImage image = composed(1, {1, 2});
    image.frames()[1] = frameAt(2, 1, 4, 3, std::vector<std::uint8_t>(12, 1), control(10));
    image.frames()[2] = frameAt(9, 9, 1, 1, {2}, control(10));
    FrameCanvas canvas(image);
    canvas.draw(0);
    canvas.draw(1);
    canvas.draw(2);
    EXPECT_EQ(canvas.pixels(), (std::vector<std::uint32_t>{kRed, kRed, kRed, kRed, kRed, kGreen}));
}

TEST(FrameCanvas, IndicesPastTheTableAreBlackAndShortPixelDataIsSkipped) {
    GifImage image = composed(1, {7, 1});
    image.frames()[2].pixels.clear();
    FrameCanvas canvas(image);
    canvas.draw(0);
    canvas.draw(1);
    canvas.draw(2);
    EXPECT_EQ(canvas.pixels(),
              (std::vector<std::uint32_t>{kRed, kRed, kRed, kRed, 0xFF000000, kGreen}));
}

TEST(FrameCanvas, RefusesAScreenPastTheBitmapLimits) {
    GifImage image;
    image.header().width = 65535;
    image.header().height = 65535;
    try {
        FrameCanvas canvas(image);
        FAIL() << "made a canvas";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Image too large");
    }
}

} // namespace
} // namespace kelmor
