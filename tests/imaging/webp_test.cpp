#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/tool_pictures.h"
#include "imaging/webp.h"
#include "support/temp_folder.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace kelmor {
namespace {

using namespace std::string_literals;

const std::string kCorpora = std::string(KELMOR_TEST_DATA) + "/corpora/";
const std::string kPhoto = kCorpora + "raster-misc/libjpeg-turbo/testorig.jpg";
const std::string kAlpha = kCorpora + "bmpsuite/html/rgba32.png";
const std::string kOpaque = kCorpora + "bmpsuite/html/rgb24.png";
const std::string kPalette = kCorpora + "bmpsuite/html/pal8.png";

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

// Pixels of every kind: random colours, with alpha 0, 255 and in between.
RgbaImage noise(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    RgbaImage image = RgbaImage::blank(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        for (int c = 0; c < 3; ++c)
            image.pixels[i + c] = static_cast<std::uint8_t>(random());
        const unsigned kind = random() % 4;
        image.pixels[i + 3] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<std::uint8_t>(random());
    }
    return image;
}

RgbaImage filled(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                 std::uint8_t a) {
    RgbaImage image = RgbaImage::blank(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i] = r;
        image.pixels[i + 1] = g;
        image.pixels[i + 2] = b;
        image.pixels[i + 3] = a;
    }
    return image;
}

class WebpTest : public test::TempFolderTest {
protected:
    // Runs a libwebp tool writing `name` in the folder and returns that file's bytes.
    std::string make(const std::string& name, const std::string& command) {
        EXPECT_TRUE(test::runTool(command + " -o '" + path(name) + "'")) << command;
        return readFile(name);
    }
};

// Still pictures from cwebp, in each of its codings, decode to the pixels dwebp gives.
struct StillCase {
    const char* name;
    std::string options;
    std::string source;
};

class WebpStillTest : public WebpTest, public ::testing::WithParamInterface<StillCase> {};

TEST_P(WebpStillTest, DecodesAsDwebpDoes) {
    const StillCase& c = GetParam();
    const std::string bytes =
        make("still.webp", "cwebp -quiet " + c.options + " '" + c.source + "'");
    const RgbaAnimation decoded = decodeWebp(bytes);
    ASSERT_EQ(decoded.frames.size(), 1u);
    const RgbaImage expected = test::dwebpPixels(path("still.webp"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(decoded.frames[0].image, expected);
    EXPECT_EQ(webpFrameCount(bytes), 1);
    const PictureFileSize size = measureWebp(bytes);
    EXPECT_EQ(size.size.width, expected.width);
    EXPECT_EQ(size.size.height, expected.height);
    EXPECT_EQ(size.pixels, std::int64_t{expected.width} * expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Codings, WebpStillTest,
    ::testing::Values(StillCase{"LossyPhoto", "-q 80", kPhoto},
                      StillCase{"LosslessAlpha", "-lossless", kAlpha},
                      StillCase{"LossyAlpha", "-q 60 -alpha_q 40", kAlpha},
                      StillCase{"LosslessOpaque", "-lossless -z 9", kOpaque},
                      StillCase{"LossyWithMetadataChunks", "-q 50 -metadata all -mt", kPalette},
                      StillCase{"LossySharpYuv", "-sharp_yuv -q 90 -resize 60 30", kAlpha}),
    [](const auto& param) { return std::string(param.param.name); });

// An animation img2webp assembles from whole pictures shows each of them in turn, for its delay,
// as dwebp shows the pictures themselves.
TEST_F(WebpTest, AnimationFromImg2webpShowsEachPictureForItsDelay) {
    const std::vector<std::string> sources = {kAlpha, kOpaque, kPalette, kOpaque};
    const std::vector<int> delays = {70, 120, 1, 1000};
    std::string command = "img2webp -lossless -loop 3";
    for (std::size_t i = 0; i < sources.size(); ++i)
        command += " -d " + std::to_string(delays[i]) + " '" + sources[i] + "'";
    const std::string bytes = make("anim.webp", command);

    const RgbaAnimation decoded = decodeWebp(bytes);
    EXPECT_EQ(decoded.loopCount, 3);
    ASSERT_EQ(decoded.frames.size(), sources.size());
    EXPECT_EQ(webpFrameCount(bytes), 4);
    EXPECT_EQ(measureWebp(bytes).pixels, 4 * 127 * 64);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        make("frame.webp", "cwebp -quiet -lossless -exact '" + sources[i] + "'");
        EXPECT_TRUE(
            test::sameVisiblePixels(decoded.frames[i].image, test::dwebpPixels(path("frame.webp"))))
            << "frame " << i;
        EXPECT_EQ(decoded.frames[i].durationMs, delays[i]) << "frame " << i;
    }
}

TEST(Webp, LosslessFileKeepsEveryVisiblePixel) {
    for (const RgbaImage& image : {noise(61, 37, 1), filled(300, 2, 9, 8, 7, 255),
                                   filled(5, 5, 200, 100, 50, 0), noise(1, 1, 2)}) {
        const std::string bytes = encodeWebp(image);
        const RgbaAnimation back = decodeWebp(bytes);
        ASSERT_EQ(back.frames.size(), 1u);
        EXPECT_TRUE(test::sameVisiblePixels(back.frames[0].image, image));
    }
}

TEST_F(WebpTest, LosslessFileIsReadByDwebp) {
    const RgbaImage image = noise(40, 30, 3);
    writeFile("ours.webp", encodeWebp(image));
    EXPECT_TRUE(test::sameVisiblePixels(test::dwebpPixels(path("ours.webp")), image));
}

TEST(Webp, EncodingRefusesEmptyAndOversizedPictures) {
    EXPECT_EQ(errorOf([] { encodeWebp({}); }), msg::kObjectTypeNotSupported);
    EXPECT_EQ(errorOf([] { encodeWebp(RgbaImage::blank(16384, 1)); }), msg::kImageTooLarge);
}

// Equal neighbouring frames, a single frame and long or zero delays all come back as given.
struct AnimationCase {
    const char* name;
    std::vector<int> frames; // index into the pictures below
    std::vector<int> delays;
    int loopCount;
};

class WebpAnimationRoundTrip : public WebpTest,
                               public ::testing::WithParamInterface<AnimationCase> {};

TEST_P(WebpAnimationRoundTrip, KeepsFramesDelaysAndLoopCount) {
    const AnimationCase& c = GetParam();
    const std::vector<RgbaImage> pictures = {noise(33, 21, 4), filled(33, 21, 10, 20, 30, 255),
                                             filled(33, 21, 0, 0, 0, 0), noise(33, 21, 5)};
    RgbaAnimation animation;
    animation.loopCount = c.loopCount;
    for (std::size_t i = 0; i < c.frames.size(); ++i)
        animation.frames.push_back({pictures[c.frames[i]], c.delays[i]});

    const std::string bytes = encodeAnimatedWebp(animation);
    const RgbaAnimation back = decodeWebp(bytes);
    EXPECT_EQ(back.loopCount, c.loopCount);
    ASSERT_EQ(back.frames.size(), c.frames.size());
    for (std::size_t i = 0; i < c.frames.size(); ++i) {
        EXPECT_TRUE(test::sameVisiblePixels(back.frames[i].image, animation.frames[i].image))
            << "frame " << i;
        EXPECT_EQ(back.frames[i].durationMs, c.delays[i]) << "frame " << i;
    }
    // webpmux reads the same frame table.
    writeFile("ours.webp", bytes);
    ASSERT_TRUE(
        test::runTool("webpmux -info '" + path("ours.webp") + "' > '" + path("info.txt") + "'"));
    const std::string info = readFile("info.txt");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(info, match, std::regex("Loop Count : (\\d+)")));
    EXPECT_EQ(std::stoi(match[1]), c.loopCount);
    // Frame rows: "No.: width height alpha x_offset y_offset duration ...".
    const std::regex row("\\n *\\d+: +\\d+ +\\d+ +\\w+ +\\d+ +\\d+ +(\\d+)");
    std::vector<int> durations;
    for (auto it = std::sregex_iterator(info.begin(), info.end(), row);
         it != std::sregex_iterator(); ++it)
        durations.push_back(std::stoi((*it)[1]));
    EXPECT_EQ(durations, c.delays);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, WebpAnimationRoundTrip,
    ::testing::Values(
        AnimationCase{"Distinct", {0, 1, 2, 3}, {100, 50, 20, 10}, 0},
        AnimationCase{"EqualNeighbours", {0, 0, 1, 1, 1, 0}, {10, 0, 30, 40, 50, 60}, 7},
        AnimationCase{"AllEqual", {1, 1, 1}, {500, 600, 700}, 2},
        AnimationCase{"OneFrame", {3}, {1234}, 65535},
        AnimationCase{"TransparentBetween", {0, 2, 0, 2, 3}, {1, 16777215, 3, 0, 5}, 1}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Webp, AnimationFramesMustShareTheFirstFramesSize) {
    RgbaAnimation animation;
    animation.frames = {{noise(4, 4, 6), 10}, {noise(4, 5, 7), 10}};
    EXPECT_EQ(errorOf([&] { encodeAnimatedWebp(animation); }), msg::kObjectTypeNotSupported);
    EXPECT_EQ(errorOf([] { encodeAnimatedWebp({}); }), msg::kObjectTypeNotSupported);
}

// Damage of every kind is refused with the reader's message, whatever libwebp stumbles on.
TEST_F(WebpTest, DamagedFilesAreNotValid) {
    const std::string still = make("still.webp", "cwebp -quiet -q 80 '" + kPhoto + "'");
    const std::string lossless = make("ll.webp", "cwebp -quiet -lossless '" + kAlpha + "'");
    const std::string animated =
        make("anim.webp", "img2webp -lossless '" + kAlpha + "' '" + kOpaque + "'");
    std::vector<std::string> damaged = {
        "",
        "RIFF",
        still.substr(0, still.size() / 2),
        lossless.substr(0, lossless.size() - 10),
        animated.substr(0, animated.size() * 3 / 4),
        "RIFF\x04\x00\x00\x00WEBP",
    };
    std::string riffTooLong = still; // the RIFF size claims more than the file holds
    riffTooLong[4] = '\xF0';
    riffTooLong[5] = '\xFF';
    damaged.push_back(riffTooLong);
    std::string badSignature = lossless; // the VP8L signature byte
    badSignature[20] = 0x00;
    damaged.push_back(badSignature);
    for (const std::string& bytes : damaged)
        EXPECT_EQ(errorOf([&] { decodeWebp(bytes); }), msg::kWebpNotValid) << bytes.size();
    // Headers that cannot be read cannot be measured either.
    for (const std::string& bytes : {damaged[0], damaged[1], damaged[5], badSignature})
        EXPECT_EQ(errorOf([&] { measureWebp(bytes); }), msg::kWebpNotValid) << bytes.size();
}

// A VP8X header of the canvas, padded to 1 KB.
std::string extendedHeader(int width, int height) {
    std::string bytes = "RIFF\0\0\0\0WEBPVP8X\x0A\0\0\0\0\0\0\0"s;
    for (int side : {width - 1, height - 1}) {
        for (int i = 0; i < 3; ++i)
            bytes += static_cast<char>(side >> (8 * i) & 0xFF);
    }
    bytes.resize(1024, '\0');
    const std::uint32_t riff = static_cast<std::uint32_t>(bytes.size() - 8);
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<char>(riff >> (8 * i) & 0xFF);
    return bytes;
}

// A lossless header of the size, as libwebp accepts it, and a few bytes of data.
std::string losslessHeader(int width, int height) {
    const std::uint32_t bits = std::uint32_t(width - 1) | std::uint32_t(height - 1) << 14;
    std::string vp8l = "\x2F"s;
    for (int i = 0; i < 4; ++i)
        vp8l += static_cast<char>(bits >> (8 * i) & 0xFF);
    vp8l.resize(1000, '\0');
    auto le32 = [](std::size_t v) {
        std::string s;
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>(v >> (8 * i) & 0xFF);
        return s;
    };
    return "RIFF" + le32(vp8l.size() + 12) + "WEBPVP8L" + le32(vp8l.size()) + vp8l;
}

TEST_F(WebpTest, PicturesPastTheLimitsAreRefusedFromTheHeader) {
    for (const std::string& bytes :
         {extendedHeader(100000, 100000), losslessHeader(16384, 16384)}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(errorOf([&] { decodeWebp(bytes); }), msg::kImageTooLarge);
        EXPECT_EQ(errorOf([&] { measureWebp(bytes); }), msg::kImageTooLarge);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    }
    const std::string still = make("still.webp", "cwebp -quiet '" + kOpaque + "'");
    EXPECT_EQ(errorOf([&] {
                  decodeWebp(still, {127 * 64 - 1, kMaxTotalPixels});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(decodeWebp(still, {127 * 64, 127 * 64}).frames.size(), 1u);
    const std::string animated =
        make("anim.webp", "img2webp -lossless '" + kAlpha + "' '" + kOpaque + "'");
    EXPECT_EQ(errorOf([&] {
                  decodeWebp(animated, {kMaxImagePixels, 2 * 127 * 64 - 1});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(decodeWebp(animated, {kMaxImagePixels, 2 * 127 * 64}).frames.size(), 2u);
}

} // namespace
} // namespace kelmor
