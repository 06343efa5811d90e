#include "imaging/gif_bitmap.h"
#include "imaging/gif_image.h"
#include "imaging/gif_test_support.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

using test::grayPalette;
using test::indexedBitmap;

TEST(GifExtensions, TransparentColorIndexIsCheckedAgainstTheActiveTable) {
    GifImage image;
    std::vector<std::string> warnings;
    const GifWarningHandler warn = [&](const std::string& m) { warnings.push_back(m); };
    appendFrame(image, indexedBitmap(1, 1, grayPalette(3), {2}));
    GifGraphicControlExtension& gce = image.addGraphicControlExtension(0);
    EXPECT_EQ(gce, GifGraphicControlExtension{});
    image.setTransparentColorIndex(0, 2, warn);
    EXPECT_EQ(image.frame(0).graphicControl()->transparentColorIndex, 2);
    EXPECT_TRUE(warnings.empty());
    image.setTransparentColorIndex(0, 3, warn);
    EXPECT_EQ(image.frame(0).graphicControl()->transparentColorIndex, 0);
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
    // The first graphic control extension is the frame's.
    image.addGraphicControlExtension(0).transparentColorIndex = 9;
    EXPECT_EQ(image.frame(0).graphicControl()->transparentColorIndex, 0);
}

// A copy is an independent value, and a warning goes to the handler of the call that gives it.
TEST(GifImageCopy, CopiesAreIndependentAndWarningsGoToTheCallersHandler) {
    GifImage image = gifFromBitmap(indexedBitmap(1, 1, grayPalette(2), {1}));
    GifImage copy(image);
    EXPECT_EQ(copy, image);

    GifImage target;
    int targetWarnings = 0;
    target = image;
    target.setTransparentColorIndex(0, 7, [&](const std::string&) { ++targetWarnings; });
    EXPECT_EQ(targetWarnings, 1);
    target.setTransparentColorIndex(0, 7);
    EXPECT_EQ(targetWarnings, 1);
    target.frame(0).pixels[0] = 0;
    EXPECT_EQ(image.frame(0).pixels[0], 1);
    EXPECT_NE(target, image);
}

} // namespace
} // namespace kelmor
