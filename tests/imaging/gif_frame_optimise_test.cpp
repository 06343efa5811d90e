#include "imaging/gif_bitmap.h"
#include "imaging/gif_frame_optimise.h"
#include "imaging/gif_palette.h"
#include "imaging/gif_test_support.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

using test::grayPalette;
using test::indexedBitmap;
using Pixels = std::vector<std::uint8_t>;

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0};

// Frames as the animation assembly makes them: a graphic control extension each.
GifImage animation(const std::vector<std::pair<std::vector<Rgb>, std::vector<int>>>& frames,
                   int width, int height) {
    GifImage image;
    for (const auto& [palette, pixels] : frames) {
        int index = appendFrame(image, indexedBitmap(width, height, palette, pixels));
        image.addGraphicControlExtension(index).setDelayTime(10);
    }
    return image;
}

class GifReduceFrames : public testing::Test {
protected:
    static const GifGraphicControlExtension& gce(const GifImage& image, int i) {
        return *image.frame(i).graphicControl();
    }
};

TEST_F(GifReduceFrames, MergeMakesUnchangedPixelsTransparent) {
    GifImage image = animation({{grayPalette(4), {0, 1, 2}}, {grayPalette(4), {0, 3, 2}}}, 3, 1);
    reduceFrames(image, true, false);
    EXPECT_FALSE(image.frame(0).transparent());
    EXPECT_EQ(image.frame(0).pixels, (Pixels{0, 1, 2}));
    ASSERT_TRUE(image.frame(1).transparent());
    EXPECT_EQ(gce(image, 1).transparentColorIndex, 4);
    EXPECT_EQ(image.frame(1).localColorTable.size(), 5);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{4, 3, 4}));

    reduceFrames(image, false, true);
    EXPECT_EQ(image.frame(1).left, 1);
    EXPECT_EQ(image.frame(1).width, 1);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{3}));
    EXPECT_EQ(image.frame(0).width, 3);
}

TEST_F(GifReduceFrames, ColoursAreComparedNotIndices) {
    GifImage image = animation({{{kRed, kGreen}, {0, 1}}, {{kGreen, kRed}, {1, 1}}}, 2, 1);
    reduceFrames(image, true, false);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{2, 1}));
}

TEST_F(GifReduceFrames, IdenticalFrameIsRemovedWithItsDelay) {
    GifImage image = animation({{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 1}}}, 2, 1);
    reduceFrames(image, true, true);
    ASSERT_EQ(image.frameCount(), 1);
    EXPECT_EQ(gce(image, 0).delayTime, 10);

    // A removed frame's delay goes to the frame before when that one is transparent.
    image = animation(
        {{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 2}}, {grayPalette(4), {0, 2}}}, 2, 1);
    reduceFrames(image, true, true);
    ASSERT_EQ(image.frameCount(), 2);
    EXPECT_EQ(gce(image, 1).delayTime, 20);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{2}));
}

TEST_F(GifReduceFrames, DisposalDecidesTheFrameToCompareWith) {
    // Disposal 2 (restore to background) before a frame: nothing to merge with.
    GifImage image = animation({{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 1}}}, 2, 1);
    image.frame(0).graphicControl()->setDisposal(2);
    reduceFrames(image, true, true);
    EXPECT_EQ(image.frameCount(), 2);
    EXPECT_FALSE(image.frame(1).transparent());

    // Disposal 3 (restore to previous) frames are stepped over.
    image = animation(
        {{grayPalette(4), {0, 1}}, {grayPalette(4), {3, 3}}, {grayPalette(4), {0, 1}}}, 2, 1);
    image.frame(1).graphicControl()->setDisposal(3);
    reduceFrames(image, true, false);
    EXPECT_FALSE(image.frame(1).transparent());
    EXPECT_EQ(image.frame(2).pixels, (Pixels{4, 4}));
}

TEST_F(GifReduceFrames, NothingIsDoneWithoutRoomForATransparentColour) {
    std::vector<int> pixels{0, 255};
    GifImage image = animation({{grayPalette(256), pixels}, {grayPalette(256), pixels}}, 2, 1);
    reduceFrames(image, true, true);
    EXPECT_EQ(image.frameCount(), 2);
    EXPECT_FALSE(image.frame(1).transparent());
    EXPECT_EQ(image.frame(1).pixels, (Pixels{0, 255}));
}

TEST_F(GifReduceFrames, TransparentPixelsBelowAreNotOpaque) {
    GifImage image = animation({{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 1}}}, 2, 1);
    image.frame(0).graphicControl()->setTransparent(true);
    image.frame(0).graphicControl()->transparentColorIndex = 1;
    reduceFrames(image, true, false);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{4, 1}));
}

TEST_F(GifReduceFrames, FramesOnTheGlobalTableShareOneTransparentIndex) {
    GifImage image = animation(
        {{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 2}}, {grayPalette(4), {3, 2}}}, 2, 1);
    shareColorTable(image);
    const int before = image.header().colorTable.size();
    reduceFrames(image, true, false);
    EXPECT_EQ(image.header().colorTable.size(), before + 1);
    ASSERT_TRUE(image.frame(1).transparent());
    ASSERT_TRUE(image.frame(2).transparent());
    EXPECT_EQ(gce(image, 1).transparentColorIndex, before);
    EXPECT_EQ(gce(image, 2).transparentColorIndex, before);
}

} // namespace
} // namespace kelmor
