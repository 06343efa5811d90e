#include "base/error.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"
#include "imaging/gif_lzw.h"
#include "imaging/gif_test_support.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace kelmor {
namespace {

using test::bytesOf;
using test::grayPalette;
using test::indexedBitmap;
using Pixels = std::vector<std::uint8_t>;

// Screen of width x height with a 4-entry global table.
std::string header(int width, int height, const char* signature = "GIF89a") {
    return bytesOf(
        {signature, width & 0xFF, width >> 8, height & 0xFF, height >> 8, 0x81, 0,   0,   0,  0, 0,
         85,        85,           85,         170,           170,         170,  255, 255, 255});
}

std::string descriptor(int left, int top, int width, int height, int packed = 0) {
    return bytesOf({0x2C, left & 0xFF, left >> 8, top & 0xFF, top >> 8, width & 0xFF, width >> 8,
                    height & 0xFF, height >> 8, packed});
}

std::string imageData(const Pixels& pixels, int width, int height, bool interlaced = false,
                      int m = 2) {
    std::string out;
    gifLzwEncode(out, m, pixels.data(), width, height, interlaced, 1u << m);
    return out;
}

std::string gce(int packed, int delay, int index) {
    return bytesOf({0x21, 0xF9, 4, packed, delay & 0xFF, delay >> 8, index, 0});
}

class GifReaderTest : public testing::Test {
protected:
    // Loads the bytes; returns the error message, empty when the load succeeded.
    std::string load(const std::string& bytes, GifFrames frames = GifFrames::All) {
        warnings.clear();
        image.clear();
        GifDecodeOptions options;
        options.frames = frames;
        options.warn = [this](const std::string& m) { warnings.push_back(m); };
        try {
            image = decodeGif(bytes, options);
        } catch (const Error& e) {
            return e.what();
        }
        return {};
    }
    bool warned(const std::string& message) const {
        return std::find(warnings.begin(), warnings.end(), message) != warnings.end();
    }

    GifImage image;
    std::vector<std::string> warnings;
};

const Pixels kTwoByTwo{0, 1, 2, 3};

std::string twoByTwo(const char* signature = "GIF89a") {
    return header(2, 2, signature) + descriptor(0, 0, 2, 2) + imageData(kTwoByTwo, 2, 2) + "\x3B";
}

TEST_F(GifReaderTest, ReadsAPlainFile) {
    ASSERT_EQ(load(twoByTwo()), "");
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(image.header().version, "89a");
    EXPECT_EQ(image.width(), 2);
    EXPECT_EQ(image.header().colorTable.colors,
              (std::vector<Rgb>{{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}}));
    ASSERT_EQ(image.frameCount(), 1);
    EXPECT_EQ(image.frame(0).pixels, kTwoByTwo);
}

TEST_F(GifReaderTest, AcceptedVariantsOfTheStartAndEnd) {
    ASSERT_EQ(load("\x01\x02\x03\x04" + twoByTwo()), "");
    EXPECT_EQ(image.frame(0).pixels, kTwoByTwo);
    ASSERT_EQ(load(twoByTwo("gif89a")), "");
    EXPECT_EQ(image.frame(0).pixels, kTwoByTwo);
    ASSERT_EQ(load(twoByTwo("GIF12z")), ""); // the version is not examined
    EXPECT_EQ(image.header().version, "12z");

    std::string noTrailer = twoByTwo();
    noTrailer.pop_back();
    ASSERT_EQ(load(noTrailer), "");
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(image.frame(0).pixels, kTwoByTwo);

    ASSERT_EQ(load(twoByTwo() + "junk"), "");
    EXPECT_TRUE(warnings.empty());
    std::string badTrailer = twoByTwo();
    badTrailer.back() = '\x3A';
    ASSERT_EQ(load(badTrailer), "");
    EXPECT_TRUE(warned("Unknown GIF block type"));
    EXPECT_TRUE(warned("Invalid Image trailer"));
    EXPECT_EQ(image.frameCount(), 1);
}

TEST_F(GifReaderTest, TruncatedFrameKeepsTheFillValue) {
    std::mt19937 random(3);
    Pixels pixels(64 * 64);
    for (auto& p : pixels)
        p = static_cast<std::uint8_t>(random() % 4);
    for (int transparent : {0, 1}) {
        std::string file = header(64, 64) + (transparent ? gce(1, 0, 3) : "") +
                           descriptor(0, 0, 64, 64) + imageData(pixels, 64, 64);
        file.resize(file.size() - 600);
        ASSERT_EQ(load(file), "");
        const Pixels& got = image.frame(0).pixels;
        ASSERT_EQ(got.size(), pixels.size());
        // The decoded part matches, and everything after it is the fill value.
        const std::uint8_t fill = transparent ? 3 : 0;
        std::size_t decoded = got.size();
        while (decoded > 0 && got[decoded - 1] == fill)
            --decoded;
        EXPECT_GT(decoded, 1000u);
        EXPECT_LT(decoded, got.size() - 600);
        EXPECT_TRUE(std::equal(got.begin(), got.begin() + std::ptrdiff_t(decoded), pixels.begin()));
        EXPECT_TRUE(warned("Premature end of data"));
    }
}

TEST_F(GifReaderTest, WidthZeroDescriptorTakesTheScreenSize) {
    const Pixels pixels{1, 2, 3, 0, 1, 2};
    ASSERT_EQ(load(header(3, 2) + descriptor(0, 0, 0, 5) + imageData(pixels, 3, 2) + "\x3B"), "");
    EXPECT_TRUE(warned("Image exceeds Logical Screen size"));
    EXPECT_EQ(image.frame(0).width, 3);
    EXPECT_EQ(image.frame(0).height, 2);
    EXPECT_EQ(image.frame(0).pixels, pixels);
}

TEST_F(GifReaderTest, GarbageAfterAFrameEndsTheReading) {
    const std::string frame = descriptor(0, 0, 2, 2) + imageData(kTwoByTwo, 2, 2);
    ASSERT_EQ(load(header(2, 2) + frame + "\x55" + frame + "\x3B"), "");
    EXPECT_EQ(image.frameCount(), 1);
    EXPECT_TRUE(warned("Unknown GIF block type"));
    // Zero bytes between blocks are skipped.
    ASSERT_EQ(load(header(2, 2) + frame + std::string(3, '\0') + frame + "\x3B"), "");
    EXPECT_EQ(image.frameCount(), 2);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(GifReaderTest, ExtensionsBeforeTheTrailerMakeAFrameWithoutImage) {
    ASSERT_EQ(load(header(2, 2) + descriptor(0, 0, 2, 2) + imageData(kTwoByTwo, 2, 2) +
                   bytesOf({0x21, 0xFE, 3, "bye", 0, 0x3B})),
              "");
    ASSERT_EQ(image.frameCount(), 2);
    EXPECT_FALSE(image.frame(1).hasImage);
    ASSERT_EQ(image.frame(1).extensions.size(), 1u);
    EXPECT_EQ(std::get<GifCommentExtension>(image.frame(1).extensions[0]).text(), "bye");
}

// A first-picture load stops after the first frame with an image: what follows is not read.
TEST_F(GifReaderTest, FirstImageLoadReadsNoFurther) {
    const std::string frame = descriptor(0, 0, 2, 2) + imageData(kTwoByTwo, 2, 2);
    const std::string bytes = header(2, 2) + gce(0, 5, 0) + frame + frame + "!\x99";
    EXPECT_EQ(load(bytes), "Unknown extension type");
    EXPECT_EQ(load(bytes, GifFrames::FirstImage), "");
    ASSERT_EQ(image.frameCount(), 1);
    EXPECT_EQ(image.frame(0).graphicControl()->delayTime, 5);
    EXPECT_EQ(image.frame(0).pixels, kTwoByTwo);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(GifReaderTest, InterlacedRowsArePutInPlace) {
    Pixels pixels;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 3; ++x)
            pixels.push_back(static_cast<std::uint8_t>((y * 3 + x) % 4));
    ASSERT_EQ(load(header(3, 11) + descriptor(0, 0, 3, 11, 0x40) + imageData(pixels, 3, 11, true) +
                   "\x3B"),
              "");
    EXPECT_TRUE(image.frame(0).interlaced());
    EXPECT_EQ(image.frame(0).pixels, pixels);
}

TEST_F(GifReaderTest, DataDefectsWarn) {
    // The codes end in the middle of the picture.
    std::string data = imageData(Pixels(40, 1), 40, 1);
    std::string cut = bytesOf({2, 1, static_cast<char>(data[2]), 0});
    ASSERT_EQ(load(header(40, 1) + descriptor(0, 0, 40, 1) + cut + "\x3B"), "");
    EXPECT_TRUE(warned("Decoder bit buffer under-run"));
    EXPECT_EQ(image.frame(0).pixels[0], 1);
    EXPECT_EQ(image.frame(0).pixels[39], 0);

    // A block that announces more bytes than the file has.
    ASSERT_EQ(load(header(2, 2) + descriptor(0, 0, 2, 2) + bytesOf({2, 200, 0x44})), "");
    EXPECT_TRUE(warned("Premature end of data"));

    // A short graphic control extension.
    ASSERT_EQ(load(header(2, 2) + bytesOf({0x21, 0xF9, 4, 1})), "");
    EXPECT_TRUE(warned("Premature end of data"));
    EXPECT_EQ(image.frameCount(), 1);

    // Something other than an extension, image or trailer after an extension.
    ASSERT_EQ(load(header(2, 2) + gce(0, 5, 0) + descriptor(0, 0, 2, 2).replace(0, 1, "\x2D") +
                   imageData(kTwoByTwo, 2, 2) + "\x3B"),
              "");
    EXPECT_TRUE(warned("Invalid extension introducer"));
    EXPECT_EQ(image.frame(0).pixels, kTwoByTwo);
}

TEST_F(GifReaderTest, ApplicationExtensions) {
    const std::string frame = descriptor(0, 0, 2, 2) + imageData(kTwoByTwo, 2, 2) + "\x3B";
    // A larger block size: the extra bytes are skipped; unknown sub-blocks too.
    ASSERT_EQ(load(header(2, 2) +
                   bytesOf({0x21, 0xFF, 13, "NETSCAPE2.0", 7, 7, 4, 0x04, 9, 9, 9, 3, 1, 5, 1, 0}) +
                   frame),
              "");
    const GifLoopExtension* loop = image.loopExtension();
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->loopCount, 0x105);
    // Another identifier keeps its raw sub-blocks.
    ASSERT_EQ(
        load(header(2, 2) + bytesOf({0x21, 0xFF, 11, "XMP DataXMP", 2, "ab", 1, "c", 0}) + frame),
        "");
    EXPECT_EQ(std::get<GifApplicationExtension>(image.frame(0).extensions[0]),
              (GifApplicationExtension{"XMP Data", "XMP", {"ab", "c"}}));
}

struct ErrorCase {
    const char* name;
    std::string bytes;
    const char* message;
};

class GifReaderErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(GifReaderErrors, StopTheLoadAndResetTheStream) {
    const ErrorCase& c = GetParam();
    const GifImage earlier = decodeGif(twoByTwo());
    GifImage image = earlier;
    try {
        image = decodeGif(c.bytes);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(image, earlier); // nothing of the failed decode reaches the caller

    std::istringstream in("prefix" + c.bytes);
    in.seekg(6);
    EXPECT_THROW(decodeGif(in), Error);
    EXPECT_EQ(in.tellg(), 6);
}

// A caller that needs only a small picture passes lower limits, for one frame or for all the
// frames of the file together; the 2 x 2 file fits limits of 4 pixels.
TEST(GifReaderLimits, LowerLimitsRefuseAPictureTheDefaultsAccept) {
    const std::string file = twoByTwo();
    const auto errorOf = [](const auto& call) {
        try {
            call();
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    const std::pair<ImageLimits, const char*> cases[] = {
        {{4, 4}, ""}, {{3, 4}, "Image too large"}, {{4, 3}, "Image too large"}};
    for (const auto& [limits, message] : cases) {
        GifDecodeOptions options;
        options.limits = limits;
        EXPECT_EQ(errorOf([&] { decodeGif(file, options); }), message);
        EXPECT_EQ(errorOf([&, &lower = limits] { measureGif(file, lower); }), message);
    }
}

std::string loopWith(std::initializer_list<test::Piece> subBlock) {
    return header(2, 2) + bytesOf({0x21, 0xFF, 11, "NETSCAPE2.0"}) + bytesOf(subBlock) +
           bytesOf({0}) + descriptor(0, 0, 2, 2) + imageData(kTwoByTwo, 2, 2) + "\x3B";
}

INSTANTIATE_TEST_SUITE_P(
    Files, GifReaderErrors,
    testing::Values(
        ErrorCase{"NotAGif", "\x89PNG\r\n\x1a\n0000000000", "Invalid GIF signature"},
        ErrorCase{"SignatureTooLate", "12345GIF89a0000000", "Invalid GIF signature"},
        ErrorCase{"Empty", "", "Invalid GIF signature"},
        ErrorCase{"ShortScreen", "GIF89a\x01", "Invalid GIF data"},
        ErrorCase{"UnknownExtension", header(2, 2) + bytesOf({0x21, 0x77, 0}) + "\x3B",
                  "Unknown extension type"},
        ErrorCase{"ApplicationBlockSize", header(2, 2) + bytesOf({0x21, 0xFF, 9, "ABCDEFGHI", 0}),
                  "Unsupported Application Extension block size"},
        ErrorCase{"ShortLoopCount", loopWith({2, 1, 0}), "Invalid GIF data"},
        ErrorCase{"ShortBufferSize", loopWith({4, 2, 0, 0, 0}), "Invalid GIF data"},
        ErrorCase{"UndefinedCode",
                  header(2, 2) + descriptor(0, 0, 2, 2) + bytesOf({2, 1, 0x3C, 0, 0x3B}),
                  "Circular decoder table entry"},
        ErrorCase{"CodeSizeTooLarge",
                  header(2, 2) + descriptor(0, 0, 2, 2) + bytesOf({12, 1, 0, 0, 0x3B}),
                  "Invalid GIF data"},
        ErrorCase{"HugeScreen", header(65535, 65535) + descriptor(0, 0, 0, 0) + "\x02\x00\x3B",
                  "Image too large"},
        ErrorCase{"HugeFrame", header(2, 2) + descriptor(0, 0, 65535, 65535) + "\x02\x00\x3B",
                  "Image too large"}),
    [](const testing::TestParamInfo<ErrorCase>& param) { return std::string(param.param.name); });

// The limit counts pixels, not the length of a side: the longest sides a GIF can have open.
class GifLongThin : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(GifLongThin, OpensWithEveryPixel) {
    const auto [width, height] = GetParam();
    std::vector<int> pixels(std::size_t(width) * std::size_t(height));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<int>(i * 7 % 4);
    GifImage written;
    appendFrame(written, indexedBitmap(width, height, grayPalette(4), pixels));
    const GifImage image = decodeGif(encodeGif(written));
    EXPECT_EQ(image.width(), width);
    EXPECT_EQ(image.height(), height);
    ASSERT_EQ(image.frames().size(), 1u);
    EXPECT_EQ(image.frame(0).pixels, written.frame(0).pixels);
}

INSTANTIATE_TEST_SUITE_P(Sides, GifLongThin,
                         testing::Values(std::pair{1, 65535}, std::pair{65535, 1}),
                         [](const testing::TestParamInfo<std::pair<int, int>>& side) {
                             return std::to_string(side.param.first) + "x" +
                                    std::to_string(side.param.second);
                         });

TEST(GifReaderStream, LoadsFromAStreamAndStopsAfterTheImage) {
    std::istringstream in("abc" + twoByTwo() + "tail");
    in.seekg(3);
    const GifImage image = decodeGif(in);
    EXPECT_EQ(image.frame(0).pixels, kTwoByTwo);
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "tail");
}

TEST(GifReaderFile, MissingFileCannotBeOpened) {
    try {
        loadGif("/nonexistent/x.gif");
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Cannot open file /nonexistent/x.gif");
    }
}

// A file written by the writer reads back to the same frames, tables,
// extensions and pixel indices.
TEST(GifRoundTrip, WrittenFileReadsBackTheSame) {
    GifImage image;
    std::mt19937 random(11);
    auto noise = [&](int w, int h, int entries) {
        std::vector<int> p(std::size_t(w) * h);
        for (int& v : p)
            v = static_cast<int>(random() % static_cast<unsigned>(entries));
        return p;
    };
    appendFrame(image, indexedBitmap(40, 30, grayPalette(16), noise(40, 30, 16)));
    image.addLoopExtension(0).setLoopCount(3);
    image.addGraphicControlExtension(0).setDelayTime(25);
    appendFrame(image, indexedBitmap(20, 10, grayPalette(256), noise(20, 10, 256)));
    GifGraphicControlExtension& second = image.addGraphicControlExtension(1);
    second.setTransparent(true);
    second.setDisposal(2);
    second.transparentColorIndex = 200;
    image.frame(1).left = 5;
    image.frame(1).top = 7;
    image.frame(1).extensions.emplace_back(GifCommentExtension{{"made here"}});
    image.frame(1).extensions.emplace_back(
        GifPlainTextExtension{std::string("\0\0\0\0\x10\0\x08\0\x08\x08\x01\x00", 12), {"Hi"}});
    image.frame(1).extensions.emplace_back(GifApplicationExtension{"ICCRGBG1", "012", {"xyz"}});
    image.header().colorTable.colors = grayPalette(4);
    image.header().colorTable.sorted = true;
    GifFrame third;
    third.hasImage = true;
    third.width = 9;
    third.height = 13;
    third.packed = 0x40;
    for (int v : noise(9, 13, 4))
        third.pixels.push_back(static_cast<std::uint8_t>(v));
    third.localColorTable = {};
    third.extensions.emplace_back(GifGraphicControlExtension{});
    image.frames().push_back(third);

    const GifImage back = decodeGif(encodeGif(image));
    EXPECT_EQ(back.width(), image.width());
    EXPECT_EQ(back.height(), image.height());
    // The global table is padded to the 256 entries that the largest table announces.
    ASSERT_EQ(back.header().colorTable.size(), 256);
    EXPECT_TRUE(std::equal(image.header().colorTable.colors.begin(),
                           image.header().colorTable.colors.end(),
                           back.header().colorTable.colors.begin()));
    EXPECT_TRUE(back.header().colorTable.sorted);
    ASSERT_EQ(back.frameCount(), image.frameCount());
    for (int i = 0; i < image.frameCount(); ++i) {
        const GifFrame& a = image.frame(i);
        const GifFrame& b = back.frame(i);
        EXPECT_EQ(a.extensions, b.extensions) << "frame " << i;
        EXPECT_EQ(a.left, b.left);
        EXPECT_EQ(a.top, b.top);
        EXPECT_EQ(a.width, b.width);
        EXPECT_EQ(a.height, b.height);
        EXPECT_EQ(a.interlaced(), b.interlaced());
        EXPECT_EQ(a.localColorTable, b.localColorTable) << "frame " << i;
        EXPECT_EQ(a.pixels, b.pixels) << "frame " << i;
    }
    // Written again, the bytes do not change.
    EXPECT_EQ(encodeGif(back), encodeGif(image));
}

} // namespace
} // namespace kelmor
