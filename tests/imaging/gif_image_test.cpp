#include "base/error.h"
#include "imaging/gif_image.h"
#include "imaging/gif_test_support.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

using test::grayPalette;
using test::indexedBitmap;
using Pixels = std::vector<std::uint8_t>;

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0};

TEST(GifAppendFrame, IndexedBitmapsKeepTheirPalette) {
    GifImage image;
    Bitmap four(3, 1, 4);
    four.palette = grayPalette(16);
    four.setIndex(0, 0, 15);
    four.setIndex(1, 0, 7);
    four.setIndex(2, 0, 1);
    EXPECT_EQ(image.appendFrame(four), 0);
    EXPECT_EQ(image.frame(0).pixels, (Pixels{15, 7, 1}));
    EXPECT_EQ(image.frame(0).localColorTable.colors, grayPalette(16));

    Bitmap one(9, 1, 1);
    one.palette = {kRed, kBlue};
    one.setIndex(8, 0, 1);
    EXPECT_EQ(image.appendFrame(one), 1);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(image.frame(1).localColorTable.colors, (std::vector<Rgb>{kRed, kBlue}));
    EXPECT_TRUE(image.frame(1).extensions.empty());
}

TEST(GifAppendFrame, DeepBitmapsGoToTheFixedPalette) {
    Bitmap deep(4, 1, 24);
    deep.setColor(0, 0, {47, 48, 255});   // levels 0, 1, 5
    deep.setColor(1, 0, {150, 151, 229}); // levels 3, 3, 4
    deep.setColor(2, 0, {0, 0, 0});
    deep.setColor(3, 0, {255, 255, 255});
    GifImage image(deep);
    const GifFrame& f = image.frame(0);
    EXPECT_EQ(f.pixels, (Pixels{0 * 36 + 1 * 6 + 5, 3 * 36 + 3 * 6 + 4, 0, 215}));
    ASSERT_EQ(f.localColorTable.size(), 216);
    EXPECT_EQ(f.localColorTable.colors[11], (Rgb{0, 51, 255}));
    EXPECT_EQ(f.localColorTable.colors[130], (Rgb{153, 153, 204}));
}

TEST(GifAppendFrame, ScreenGrowsToTheLargestFrame) {
    GifImage image;
    image.appendFrame(indexedBitmap(10, 5, grayPalette(2), std::vector<int>(50, 0)));
    image.appendFrame(indexedBitmap(4, 8, grayPalette(2), std::vector<int>(32, 1)));
    EXPECT_EQ(image.width(), 10);
    EXPECT_EQ(image.height(), 8);
    EXPECT_EQ(image.bottomLeftColorIndex(1), 1);
}

TEST(GifAppendFrame, BitmapWithoutFormatIsNotAPicture) {
    GifImage image;
    try {
        image.appendFrame(Bitmap());
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Object type not supported for operation");
    }
    EXPECT_TRUE(image.empty());
}

TEST(GifExtensions, TransparentColorIndexIsCheckedAgainstTheActiveTable) {
    GifImage image;
    std::vector<std::string> warnings;
    image.setWarningHandler([&](const std::string& m) { warnings.push_back(m); });
    image.appendFrame(indexedBitmap(1, 1, grayPalette(3), {2}));
    GifGraphicControlExtension& gce = image.addGraphicControlExtension(0);
    EXPECT_EQ(gce, GifGraphicControlExtension{});
    image.setTransparentColorIndex(0, 2);
    EXPECT_EQ(image.frame(0).graphicControl()->transparentColorIndex, 2);
    EXPECT_TRUE(warnings.empty());
    image.setTransparentColorIndex(0, 3);
    EXPECT_EQ(image.frame(0).graphicControl()->transparentColorIndex, 0);
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
    // The first graphic control extension is the frame's.
    image.addGraphicControlExtension(0).transparentColorIndex = 9;
    EXPECT_EQ(image.frame(0).graphicControl()->transparentColorIndex, 0);
}

// Frames as the animation assembly makes them: a graphic control extension each.
GifImage animation(const std::vector<std::pair<std::vector<Rgb>, std::vector<int>>>& frames,
                   int width, int height) {
    GifImage image;
    for (const auto& [palette, pixels] : frames) {
        int index = image.appendFrame(indexedBitmap(width, height, palette, pixels));
        image.addGraphicControlExtension(index).setDelayTime(10);
    }
    return image;
}

TEST(GifShareColorTable, OrdersColoursByUseAndReindexes) {
    GifImage image;
    image.appendFrame(
        indexedBitmap(3, 3, {kRed, kGreen, kBlue, kWhite}, {0, 0, 0, 0, 0, 1, 1, 1, 2}));
    image.appendFrame(indexedBitmap(2, 3, {kBlue, kRed}, {0, 0, 0, 0, 0, 0}));
    image.shareColorTable();
    EXPECT_EQ(image.header().colorTable.colors, (std::vector<Rgb>{kBlue, kRed, kGreen}));
    EXPECT_TRUE(image.header().colorTable.sorted);
    EXPECT_TRUE(image.frame(0).localColorTable.empty());
    EXPECT_TRUE(image.frame(1).localColorTable.empty());
    EXPECT_EQ(image.frame(0).pixels, (Pixels{1, 1, 1, 1, 1, 2, 2, 2, 0}));
    EXPECT_EQ(image.frame(1).pixels, Pixels(6, 0));
}

TEST(GifShareColorTable, DroppedColoursGoToTheNearestKeptOne) {
    std::vector<Rgb> reds;
    std::vector<int> pixels;
    for (int i = 0; i < 256; ++i) {
        reds.push_back(
            {static_cast<std::uint8_t>(i % 128 * 2), static_cast<std::uint8_t>(i / 128 * 100), 0});
        pixels.push_back(i);
        pixels.push_back(i);
    }
    GifImage image;
    image.appendFrame(indexedBitmap(512, 1, reds, pixels));
    image.appendFrame(indexedBitmap(2, 1, {{11, 0, 0}, {200, 5, 0}}, {0, 1}));
    image.shareColorTable();
    EXPECT_EQ(image.header().colorTable.colors, reds);
    // (11, 0, 0) is as near to (10, 0, 0) as to (12, 0, 0): the earlier one wins.
    EXPECT_EQ(image.frame(1).pixels, (Pixels{5, 100}));
}

TEST(GifShareColorTable, TransparentFramesGetABlackEntry) {
    GifImage image;
    image.appendFrame(indexedBitmap(3, 2, {kRed, kGreen, kBlue, kWhite}, {3, 0, 3, 3, 0, 3}));
    GifGraphicControlExtension& gce = image.addGraphicControlExtension(0);
    gce.setTransparent(true);
    gce.transparentColorIndex = 3;
    image.appendFrame(indexedBitmap(1, 1, {kGreen}, {0}));
    image.shareColorTable();
    EXPECT_EQ(image.header().colorTable.colors, (std::vector<Rgb>{kRed, kGreen, kBlack}));
    EXPECT_EQ(image.frame(0).pixels, (Pixels{2, 0, 2, 2, 0, 2}));
    EXPECT_EQ(image.frame(0).graphicControl()->transparentColorIndex, 2);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{1}));
}

class GifReduceFrames : public testing::Test {
protected:
    static const GifGraphicControlExtension& gce(const GifImage& image, int i) {
        return *image.frame(i).graphicControl();
    }
};

TEST_F(GifReduceFrames, MergeMakesUnchangedPixelsTransparent) {
    GifImage image = animation({{grayPalette(4), {0, 1, 2}}, {grayPalette(4), {0, 3, 2}}}, 3, 1);
    image.reduceFrames(true, false);
    EXPECT_FALSE(image.frame(0).transparent());
    EXPECT_EQ(image.frame(0).pixels, (Pixels{0, 1, 2}));
    ASSERT_TRUE(image.frame(1).transparent());
    EXPECT_EQ(gce(image, 1).transparentColorIndex, 4);
    EXPECT_EQ(image.frame(1).localColorTable.size(), 5);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{4, 3, 4}));

    image.reduceFrames(false, true);
    EXPECT_EQ(image.frame(1).left, 1);
    EXPECT_EQ(image.frame(1).width, 1);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{3}));
    EXPECT_EQ(image.frame(0).width, 3);
}

TEST_F(GifReduceFrames, ColoursAreComparedNotIndices) {
    GifImage image = animation({{{kRed, kGreen}, {0, 1}}, {{kGreen, kRed}, {1, 1}}}, 2, 1);
    image.reduceFrames(true, false);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{2, 1}));
}

TEST_F(GifReduceFrames, IdenticalFrameIsRemovedWithItsDelay) {
    GifImage image = animation({{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 1}}}, 2, 1);
    image.reduceFrames(true, true);
    ASSERT_EQ(image.frameCount(), 1);
    EXPECT_EQ(gce(image, 0).delayTime, 10);

    // A removed frame's delay goes to the frame before when that one is transparent.
    image = animation(
        {{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 2}}, {grayPalette(4), {0, 2}}}, 2, 1);
    image.reduceFrames(true, true);
    ASSERT_EQ(image.frameCount(), 2);
    EXPECT_EQ(gce(image, 1).delayTime, 20);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{2}));
}

TEST_F(GifReduceFrames, DisposalDecidesTheFrameToCompareWith) {
    // Disposal 2 (restore to background) before a frame: nothing to merge with.
    GifImage image = animation({{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 1}}}, 2, 1);
    image.frame(0).graphicControl()->setDisposal(2);
    image.reduceFrames(true, true);
    EXPECT_EQ(image.frameCount(), 2);
    EXPECT_FALSE(image.frame(1).transparent());

    // Disposal 3 (restore to previous) frames are stepped over.
    image = animation(
        {{grayPalette(4), {0, 1}}, {grayPalette(4), {3, 3}}, {grayPalette(4), {0, 1}}}, 2, 1);
    image.frame(1).graphicControl()->setDisposal(3);
    image.reduceFrames(true, false);
    EXPECT_FALSE(image.frame(1).transparent());
    EXPECT_EQ(image.frame(2).pixels, (Pixels{4, 4}));
}

TEST_F(GifReduceFrames, NothingIsDoneWithoutRoomForATransparentColour) {
    std::vector<int> pixels{0, 255};
    GifImage image = animation({{grayPalette(256), pixels}, {grayPalette(256), pixels}}, 2, 1);
    image.reduceFrames(true, true);
    EXPECT_EQ(image.frameCount(), 2);
    EXPECT_FALSE(image.frame(1).transparent());
    EXPECT_EQ(image.frame(1).pixels, (Pixels{0, 255}));
}

TEST_F(GifReduceFrames, TransparentPixelsBelowAreNotOpaque) {
    GifImage image = animation({{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 1}}}, 2, 1);
    image.frame(0).graphicControl()->setTransparent(true);
    image.frame(0).graphicControl()->transparentColorIndex = 1;
    image.reduceFrames(true, false);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{4, 1}));
}

TEST_F(GifReduceFrames, FramesOnTheGlobalTableShareOneTransparentIndex) {
    GifImage image = animation(
        {{grayPalette(4), {0, 1}}, {grayPalette(4), {0, 2}}, {grayPalette(4), {3, 2}}}, 2, 1);
    image.shareColorTable();
    const int before = image.header().colorTable.size();
    image.reduceFrames(true, false);
    EXPECT_EQ(image.header().colorTable.size(), before + 1);
    ASSERT_TRUE(image.frame(1).transparent());
    ASSERT_TRUE(image.frame(2).transparent());
    EXPECT_EQ(gce(image, 1).transparentColorIndex, before);
    EXPECT_EQ(gce(image, 2).transparentColorIndex, before);
}

TEST(GifToBitmap, FrameCoveringTheScreenKeepsItsIndices) {
    GifImage image(indexedBitmap(2, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 1}));
    Bitmap bitmap = image.toBitmap();
    EXPECT_EQ(bitmap.bitsPerPixel(), 8);
    EXPECT_EQ(bitmap.palette, (std::vector<Rgb>{kRed, kGreen, kBlue}));
    EXPECT_EQ(bitmap.index(0, 1), 2u);
}

TEST(GifToBitmap, SmallerFrameIsDrawnAtItsPosition) {
    GifImage image(indexedBitmap(2, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 1}));
    image.header().width = 4;
    image.header().height = 3;
    image.frame(0).left = 1;
    image.frame(0).top = 1;
    GifGraphicControlExtension& gce = image.addGraphicControlExtension(0);
    gce.setTransparent(true);
    gce.transparentColorIndex = 1;
    Bitmap bitmap = image.toBitmap();
    EXPECT_EQ(bitmap.width(), 4);
    EXPECT_EQ(bitmap.height(), 3);
    EXPECT_EQ(bitmap.bitsPerPixel(), 32);
    EXPECT_EQ(bitmap.color(1, 1), kRed);
    EXPECT_EQ(bitmap.color(2, 1), kBlack); // transparent: not drawn
    EXPECT_EQ(bitmap.color(1, 2), kBlue);
    EXPECT_EQ(bitmap.color(0, 0), kBlack);

    image.frame(0).localColorTable = {};
    EXPECT_THROW(image.toBitmap(), Error);
    EXPECT_TRUE(GifImage().toBitmap().empty());
}

TEST(GifImageCopy, CopiesFramesButNotTheWarningHandler) {
    int warnings = 0;
    GifImage image(indexedBitmap(1, 1, grayPalette(2), {1}));
    image.setWarningHandler([&](const std::string&) { ++warnings; });
    GifImage copy(image);
    EXPECT_EQ(copy.frames(), image.frames());
    EXPECT_FALSE(copy.warningHandler());

    GifImage target;
    int targetWarnings = 0;
    target.setWarningHandler([&](const std::string&) { ++targetWarnings; });
    target = image;
    target.setTransparentColorIndex(0, 7);
    EXPECT_EQ(targetWarnings, 1);
    EXPECT_EQ(warnings, 0);
    target.frame(0).pixels[0] = 0;
    EXPECT_EQ(image.frame(0).pixels[0], 1);
}

} // namespace
} // namespace kelmor
