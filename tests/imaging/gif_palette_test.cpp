#include "imaging/gif_bitmap.h"
#include "imaging/gif_palette.h"
#include "imaging/gif_test_support.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

using test::indexedBitmap;
using Pixels = std::vector<std::uint8_t>;

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0};

TEST(GifShareColorTable, OrdersColoursByUseAndReindexes) {
    GifImage image;
    appendFrame(image,
                indexedBitmap(3, 3, {kRed, kGreen, kBlue, kWhite}, {0, 0, 0, 0, 0, 1, 1, 1, 2}));
    appendFrame(image, indexedBitmap(2, 3, {kBlue, kRed}, {0, 0, 0, 0, 0, 0}));
    shareColorTable(image);
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
    appendFrame(image, indexedBitmap(512, 1, reds, pixels));
    appendFrame(image, indexedBitmap(2, 1, {{11, 0, 0}, {200, 5, 0}}, {0, 1}));
    shareColorTable(image);
    EXPECT_EQ(image.header().colorTable.colors, reds);
    // (11, 0, 0) is as near to (10, 0, 0) as to (12, 0, 0): the earlier one wins.
    EXPECT_EQ(image.frame(1).pixels, (Pixels{5, 100}));
}

TEST(GifShareColorTable, TransparentFramesGetABlackEntry) {
    GifImage image;
    appendFrame(image, indexedBitmap(3, 2, {kRed, kGreen, kBlue, kWhite}, {3, 0, 3, 3, 0, 3}));
    GifGraphicControlExtension& gce = image.addGraphicControlExtension(0);
    gce.setTransparent(true);
    gce.transparentColorIndex = 3;
    appendFrame(image, indexedBitmap(1, 1, {kGreen}, {0}));
    shareColorTable(image);
    EXPECT_EQ(image.header().colorTable.colors, (std::vector<Rgb>{kRed, kGreen, kBlack}));
    EXPECT_EQ(image.frame(0).pixels, (Pixels{2, 0, 2, 2, 0, 2}));
    EXPECT_EQ(image.frame(0).graphicControl()->transparentColorIndex, 2);
    EXPECT_EQ(image.frame(1).pixels, (Pixels{1}));
}

} // namespace
} // namespace kelmor
