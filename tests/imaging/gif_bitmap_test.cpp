#include "base/error.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_test_support.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

using test::grayPalette;
using test::indexedBitmap;
using Pixels = std::vector<std::uint8_t>;

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};

TEST(GifAppendFrame, IndexedBitmapsKeepTheirPalette) {
    GifImage image;
    Bitmap four(3, 1, 4);
    four.palette = grayPalette(16);
    four.setIndex(0, 0, 15);
    four.setIndex(1, 0, 7);
    four.setIndex(2, 0, 1);
    EXPECT_EQ(appendFrame(image, four), 0);
    EXPECT_EQ(image.frame(0).pixels, (Pixels{15, 7, 1}));
    EXPECT_EQ(image.frame(0).localColorTable.colors, grayPalette(16));

    Bitmap one(9, 1, 1);
    one.palette = {kRed, kBlue};
    one.setIndex(8, 0, 1);
    EXPECT_EQ(appendFrame(image, one), 1);
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
    GifImage image = gifFromBitmap(deep);
    const GifFrame& f = image.frame(0);
    EXPECT_EQ(f.pixels, (Pixels{0 * 36 + 1 * 6 + 5, 3 * 36 + 3 * 6 + 4, 0, 215}));
    ASSERT_EQ(f.localColorTable.size(), 216);
    EXPECT_EQ(f.localColorTable.colors[11], (Rgb{0, 51, 255}));
    EXPECT_EQ(f.localColorTable.colors[130], (Rgb{153, 153, 204}));
}

TEST(GifAppendFrame, ScreenGrowsToTheLargestFrame) {
    GifImage image;
    appendFrame(image, indexedBitmap(10, 5, grayPalette(2), std::vector<int>(50, 0)));
    appendFrame(image, indexedBitmap(4, 8, grayPalette(2), std::vector<int>(32, 1)));
    EXPECT_EQ(image.width(), 10);
    EXPECT_EQ(image.height(), 8);
    EXPECT_EQ(image.bottomLeftColorIndex(1), 1);
}

TEST(GifAppendFrame, BitmapWithoutFormatIsNotAPicture) {
    GifImage image;
    try {
        appendFrame(image, Bitmap());
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Object type not supported for operation");
    }
    EXPECT_TRUE(image.empty());
}

TEST(GifToBitmap, FrameCoveringTheScreenKeepsItsIndices) {
    GifImage image = gifFromBitmap(indexedBitmap(2, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 1}));
    Bitmap bitmap = toBitmap(image);
    EXPECT_EQ(bitmap.bitsPerPixel(), 8);
    EXPECT_EQ(bitmap.palette, (std::vector<Rgb>{kRed, kGreen, kBlue}));
    EXPECT_EQ(bitmap.index(0, 1), 2u);
}

TEST(GifToBitmap, SmallerFrameIsDrawnAtItsPosition) {
    GifImage image = gifFromBitmap(indexedBitmap(2, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 1}));
    image.header().width = 4;
    image.header().height = 3;
    image.frame(0).left = 1;
    image.frame(0).top = 1;
    GifGraphicControlExtension& gce = image.addGraphicControlExtension(0);
    gce.setTransparent(true);
    gce.transparentColorIndex = 1;
    Bitmap bitmap = toBitmap(image);
    EXPECT_EQ(bitmap.width(), 4);
    EXPECT_EQ(bitmap.height(), 3);
    EXPECT_EQ(bitmap.bitsPerPixel(), 32);
    EXPECT_EQ(bitmap.color(1, 1), kRed);
    EXPECT_EQ(bitmap.color(2, 1), kBlack); // transparent: not drawn
    EXPECT_EQ(bitmap.color(1, 2), kBlue);
    EXPECT_EQ(bitmap.color(0, 0), kBlack);

    image.frame(0).localColorTable = {};
    EXPECT_THROW(toBitmap(image), Error);
    EXPECT_TRUE(toBitmap(GifImage()).empty());
}

} // namespace
} // namespace kelmor
