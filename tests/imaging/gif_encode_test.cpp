#include "base/error.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"
#include "imaging/gif_palette.h"
#include "imaging/gif_test_support.h"

#include <gtest/gtest.h>
#include <random>

namespace kelmor {
namespace {

using test::bytesOf;
using test::grayPalette;
using test::indexedBitmap;

std::string errorOf(const GifImage& image) {
    try {
        encodeGif(image);
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

TEST(GifWriter, SinglePixelFrameWithTwoColourTable) {
    Bitmap bitmap(1, 1, 1);
    bitmap.palette = {{0, 0, 0}, {255, 255, 255}};
    GifImage image;
    appendFrame(image, bitmap);
    EXPECT_EQ(encodeGif(image),
              bytesOf({"GIF87a", 1,    0,    1,    0,    0x00, 0, 0, // screen, no global table
                       0x2C,     0,    0,    0,    0,    1,    0, 1, 0, 0x80, // descriptor, b = 1
                       0,        0,    0,    255,  255,  255,                 // local table
                       0x02,     0x02, 0x44, 0x01, 0x00, // m = 2: codes 4, 0, 5
                       0x3B}));
}

TEST(GifWriter, LoopAndGraphicControlExtensions) {
    GifImage image;
    appendFrame(image, indexedBitmap(1, 1, grayPalette(2), {0}));
    image.addLoopExtension(0).setLoopCount(0);
    GifGraphicControlExtension& gce = image.addGraphicControlExtension(0);
    gce.setDelayTime(0x1234);
    gce.setDisposal(2);
    gce.setTransparent(true);
    gce.setUserInput(true);
    gce.transparentColorIndex = 1;
    const std::string out = encodeGif(image);
    EXPECT_EQ(out.substr(0, 6), "GIF89a");
    EXPECT_EQ(out.substr(13, 19 + 8),
              bytesOf({0x21, 0xFF, 0x0B, "NETSCAPE2.0", 0x03, 0x01, 0x00, 0x00, 0x00, //
                       0x21, 0xF9, 0x04, 0x0B, 0x34, 0x12, 0x01, 0x00}));
    EXPECT_EQ(static_cast<unsigned char>(out[13 + 27]), 0x2C);
}

TEST(GifWriter, LoopBufferSizeOnlyWhenSet) {
    GifImage image;
    appendFrame(image, indexedBitmap(1, 1, grayPalette(2), {0}));
    GifLoopExtension& loop = image.addLoopExtension(0);
    loop.setLoopCount(-1);
    loop.bufferSize = 0x01020304;
    EXPECT_EQ(encodeGif(image).substr(13, 25),
              bytesOf({0x21, 0xFF, 0x0B, "NETSCAPE2.0", 0x03, 0x01, 0xFF, 0xFF, //
                       0x05, 0x02, 0x04, 0x03, 0x02, 0x01, 0x00}));
}

TEST(GifWriter, ThreeColourTableIsPaddedToFourEntries) {
    GifImage image;
    appendFrame(image, indexedBitmap(2, 1, {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}}, {2, 1}));
    const std::string out = encodeGif(image);
    EXPECT_EQ(static_cast<unsigned char>(out[10]), 0x11); // resolution 1, size 1
    EXPECT_EQ(out.substr(13, 10 + 12), bytesOf({0x2C, 0,  0,  0,  0,  2,  0,  1,  0,  0x81, //
                                                10,   20, 30, 40, 50, 60, 70, 80, 90, 0,    0, 0}));
    EXPECT_EQ(out[13 + 22], 2); // m = b = 2
}

// Without a shared palette every frame carries a local table; with one, the
// global table has the sort flag and the frames none.
TEST(GifWriter, SharedPaletteMovesTheTablesIntoTheHeader) {
    GifImage image;
    appendFrame(image, indexedBitmap(2, 2, grayPalette(16), {0, 1, 2, 3}));
    appendFrame(image, indexedBitmap(2, 2, grayPalette(16), {3, 2, 1, 0}));
    std::string out = encodeGif(image);
    EXPECT_EQ(static_cast<unsigned char>(out[10]), 0x33);
    EXPECT_EQ(static_cast<unsigned char>(out[13 + 9]), 0x83);

    shareColorTable(image);
    out = encodeGif(image);
    EXPECT_EQ(out.substr(0, 6), "GIF87a"); // only sorted local tables and extensions need 89a
    EXPECT_EQ(static_cast<unsigned char>(out[10]), 0x80 | 0x08 | 0x10 | 0x01);
    EXPECT_EQ(static_cast<unsigned char>(out[13 + 12 + 9]), 0x00);
}

TEST(GifWriter, VersionFollowsTheFramesNeeds) {
    GifImage image;
    appendFrame(image, indexedBitmap(1, 1, grayPalette(2), {0}));
    EXPECT_EQ(encodeGif(image).substr(0, 6), "GIF87a");
    image.frame(0).localColorTable.sorted = true;
    EXPECT_EQ(encodeGif(image).substr(0, 6), "GIF89a");
    EXPECT_EQ(static_cast<unsigned char>(encodeGif(image)[13 + 9]), 0xA0);
    image.frame(0).localColorTable.sorted = false;
    image.frame(0).extensions.emplace_back(GifCommentExtension{{"hi"}});
    EXPECT_EQ(encodeGif(image).substr(0, 6), "GIF89a");
}

TEST(GifWriter, KeptExtensionsAreWrittenBack) {
    GifImage image;
    appendFrame(image, indexedBitmap(1, 1, grayPalette(2), {0}));
    auto& extensions = image.frame(0).extensions;
    extensions.emplace_back(GifCommentExtension{{"ab", "c"}});
    extensions.emplace_back(GifPlainTextExtension{std::string(12, '\x01'), {"xy"}});
    extensions.emplace_back(GifApplicationExtension{"XMP Data", "XMP", {"q"}});
    const std::string expected = bytesOf({0x21, 0xFE, 2, "ab", 1, "c", 0}) +
                                 bytesOf({0x21, 0x01, 12}) + std::string(12, '\x01') +
                                 bytesOf({2, "xy", 0}) +
                                 bytesOf({0x21, 0xFF, 11, "XMP DataXMP", 1, "q", 0});
    EXPECT_EQ(encodeGif(image).substr(13, expected.size()), expected);
}

TEST(GifWriter, FrameWithoutImageWritesOnlyItsExtensions) {
    GifImage image;
    appendFrame(image, indexedBitmap(1, 1, grayPalette(2), {0}));
    GifFrame tail;
    tail.extensions.emplace_back(GifCommentExtension{{"end"}});
    image.frames().push_back(tail);
    const std::string out = encodeGif(image);
    EXPECT_EQ(out.substr(out.size() - 8), bytesOf({0x21, 0xFE, 3, "end", 0, 0x3B}));
}

TEST(GifWriter, FrameWithMissingPixelsGetsOnlyTheEndCode) {
    GifImage image;
    appendFrame(image, indexedBitmap(2, 2, grayPalette(4), {0, 1, 2, 3}));
    image.frame(0).pixels.clear();
    const std::string out = encodeGif(image);
    EXPECT_EQ(out.substr(13 + 10 + 12), bytesOf({2, 1, 5, 0, 0x3B}));
}

TEST(GifWriter, LoadedDescriptorKeepsInterlaceAndReservedBitsWithoutLocalTable) {
    GifImage image;
    image.header().width = 1;
    image.header().height = 3;
    image.header().colorTable.colors = grayPalette(4);
    GifFrame frame;
    frame.hasImage = true;
    frame.width = 1;
    frame.height = 3;
    frame.packed = 0xFF;
    frame.pixels = {0, 1, 2};
    image.frames().push_back(frame);
    const std::string out = encodeGif(image);
    EXPECT_EQ(static_cast<unsigned char>(out[13 + 12 + 9]), 0x58);
    GifImage back = decodeGif(out);
    EXPECT_TRUE(back.frame(0).interlaced());
    EXPECT_EQ(back.frame(0).pixels, (std::vector<std::uint8_t>{0, 1, 2}));

    // With a local table the interlace bit goes, and so does the row reordering.
    image.frame(0).localColorTable.colors = grayPalette(4);
    const std::string withLocal = encodeGif(image);
    EXPECT_EQ(static_cast<unsigned char>(withLocal[13 + 12 + 9]), 0x81);
    back = decodeGif(withLocal);
    EXPECT_FALSE(back.frame(0).interlaced());
    EXPECT_EQ(back.frame(0).pixels, (std::vector<std::uint8_t>{0, 1, 2}));
}

TEST(GifWriter, Errors) {
    GifImage image;
    EXPECT_EQ(errorOf(image), "Unsupported GIF version");

    appendFrame(image, indexedBitmap(3, 1, grayPalette(3), {0, 1, 2}));
    image.frame(0).pixels[2] = 3;
    EXPECT_EQ(errorOf(image), "Color not in color table");

    // Without a local table the limit is 2^m of the largest table (m before raising to 2).
    image.frame(0).localColorTable = {};
    image.header().colorTable.colors = grayPalette(2);
    image.frame(0).pixels = {0, 1, 1};
    EXPECT_EQ(errorOf(image), "");
    image.frame(0).pixels[0] = 2;
    EXPECT_EQ(errorOf(image), "Color not in color table");
}

TEST(GifWriter, FrameOutsideTheScreenWarns) {
    GifImage image;
    std::vector<std::string> warnings;
    GifEncodeOptions options;
    options.warn = [&](const std::string& m) { warnings.push_back(m); };
    appendFrame(image, indexedBitmap(2, 2, grayPalette(2), {0, 1, 1, 0}));
    encodeGif(image, options);
    EXPECT_TRUE(warnings.empty());
    image.frame(0).left = 1;
    const std::string out = encodeGif(image, options);
    EXPECT_EQ(warnings, std::vector<std::string>{"Image width too small for contained frames"});
    EXPECT_EQ(out.substr(6, 2), bytesOf({2, 0})); // the screen stays as held
}

// A global table with fewer table bits than a local one is padded to the size
// that the screen descriptor announces, so that the file stays valid.
TEST(GifWriter, SmallGlobalTableIsPaddedToTheAnnouncedSize) {
    GifImage image;
    image.header().width = 4;
    image.header().height = 1;
    image.header().colorTable.colors = {{1, 2, 3}, {4, 5, 6}};
    GifFrame onGlobal;
    onGlobal.hasImage = true;
    onGlobal.width = 4;
    onGlobal.height = 1;
    onGlobal.pixels = {0, 1, 0, 1};
    image.frames().push_back(onGlobal);
    appendFrame(image, indexedBitmap(4, 1, grayPalette(16), {15, 3, 9, 0}));
    const std::string out = encodeGif(image);
    EXPECT_EQ(static_cast<unsigned char>(out[10]), 0x80 | 0x30 | 0x03);
    EXPECT_EQ(out.substr(13, 6), bytesOf({1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(out.substr(19, 14 * 3), std::string(14 * 3, '\0'));
    EXPECT_EQ(static_cast<unsigned char>(out[13 + 48]), 0x2C);

    const test::GiflibResult decoded = test::giflibDecode(out);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    ASSERT_EQ(decoded.frames.size(), 2u);
    EXPECT_EQ(decoded.frames[0].pixels, (std::vector<std::uint8_t>{0, 1, 0, 1}));
    EXPECT_EQ(decoded.frames[1].pixels, (std::vector<std::uint8_t>{15, 3, 9, 0}));
}

// giflib, an independent decoder, reads every written file to the same pixels.
struct EncodeCase {
    int entries;
    int width, height;
    bool sharedTable;
    bool interlaced;
};

class GifWriterAgainstGiflib : public testing::TestWithParam<EncodeCase> {};

TEST_P(GifWriterAgainstGiflib, DecodesToTheSamePixels) {
    const EncodeCase c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.entries * 31 + c.width));
    std::vector<int> pixels(std::size_t(c.width) * c.height);
    int value = 0;
    for (int& p : pixels) {
        if (random() % 5 == 0)
            value = static_cast<int>(random() % static_cast<unsigned>(c.entries));
        p = value;
    }
    GifImage image;
    appendFrame(image, indexedBitmap(c.width, c.height, grayPalette(c.entries), pixels));
    if (c.sharedTable) {
        shareColorTable(image);
        image.frame(0).packed = c.interlaced ? 0x40 : 0;
    }
    const std::string out = encodeGif(image);
    const test::GiflibResult decoded = test::giflibDecode(out);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    ASSERT_EQ(decoded.frames.size(), 1u);
    EXPECT_EQ(decoded.frames[0].interlace, c.sharedTable && c.interlaced);
    // Colours rather than indices: sharing the table re-indexes.
    const std::vector<Rgb>& table =
        c.sharedTable ? decoded.globalColors : decoded.frames[0].localColors;
    const std::vector<Rgb> palette = grayPalette(c.entries);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        ASSERT_EQ(table.at(decoded.frames[0].pixels[i]), palette[std::size_t(pixels[i])])
            << "pixel " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, GifWriterAgainstGiflib,
    testing::Values(EncodeCase{2, 1, 1, false, false}, EncodeCase{2, 700, 500, false, false},
                    EncodeCase{3, 64, 64, false, false}, EncodeCase{16, 300, 200, true, true},
                    EncodeCase{32, 255, 3, false, false}, EncodeCase{200, 320, 240, false, false},
                    EncodeCase{256, 512, 512, true, false}, EncodeCase{256, 97, 301, true, true}));

} // namespace
} // namespace kelmor
