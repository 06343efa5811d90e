#include "base/messages.h"
#include "imaging/tool_pictures.h"
#include "imaging/webp.h"
#include "support/temp_folder.h"

#include <chrono>
#include <random>

namespace kelmor {
namespace {

using test::errorOf;

const std::string kCorpora = std::string(KELMOR_TEST_DATA) + "/corpora/";
const std::string kPhoto = kCorpora + "raster-misc/libjpeg-turbo/testorig.jpg";
const std::string kAlpha = kCorpora + "bmpsuite/html/rgba32.png";
const std::string kOpaque = kCorpora + "bmpsuite/html/rgb24.png";
const std::string kPalette = kCorpora + "bmpsuite/html/pal8.png";

// Random colours with alpha 0, 255 and in between; `seed` 0 gives one opaque colour instead.
RgbaImage picture(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    RgbaImage image = RgbaImage::blank(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = seed == 0 ? (i % 4 == 3 ? 255 : 40 * (i % 4)) : random() % 3 * 127;
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

// Still pictures cwebp makes in each of its codings decode to the pixels dwebp gives.
class WebpStillTest : public WebpTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(WebpStillTest, DecodesAsDwebpDoes) {
    const std::string bytes = make("still.webp", "cwebp " + GetParam());
    const RgbaImage expected = test::toolPixels(path("still.webp"));
    const RgbaAnimation decoded = decodeWebp(bytes);
    ASSERT_EQ(decoded.frames.size(), 1u);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(decoded.frames[0].image, expected);
    EXPECT_EQ(webpFrameCount(bytes), 1);
    const PictureFileSize size = measureWebp(bytes);
    EXPECT_EQ(size.size.width, expected.width);
    EXPECT_EQ(size.pixels, std::int64_t{expected.width} * expected.height);
}

INSTANTIATE_TEST_SUITE_P(Codings, WebpStillTest,
                         ::testing::Values("-q 80 " + kPhoto, "-lossless " + kAlpha,
                                           "-q 60 -alpha_q 40 -metadata all " + kAlpha,
                                           "-lossless -z 9 " + kOpaque,
                                           "-sharp_yuv -resize 60 30 " + kPalette));

// An animation img2webp assembles from whole pictures shows each of them in turn, for its delay.
TEST_F(WebpTest, AnimationShowsEachPictureForItsDelay) {
    const std::vector<std::string> sources = {kAlpha, kOpaque, kPalette, kOpaque};
    const std::vector<int> delays = {70, 120, 1, 1000};
    std::string command = "img2webp -lossless -loop 3";
    for (std::size_t i = 0; i < sources.size(); ++i)
        command += " -d " + std::to_string(delays[i]) + " " + sources[i];
    const std::string bytes = make("anim.webp", command);
    const RgbaAnimation decoded = decodeWebp(bytes);
    EXPECT_EQ(decoded.loopCount, 3);
    ASSERT_EQ(decoded.frames.size(), sources.size());
    EXPECT_EQ(webpFrameCount(bytes), 4);
    EXPECT_EQ(measureWebp(bytes).pixels, 4 * 127 * 64);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        EXPECT_TRUE(test::sameVisiblePixels(decoded.frames[i].image, test::toolPixels(sources[i])))
            << i;
        EXPECT_EQ(decoded.frames[i].durationMs, delays[i]) << i;
    }
}

TEST_F(WebpTest, LosslessFileKeepsEveryVisiblePixelAndRefusesWhatItCannotHold) {
    for (const RgbaImage& image : {picture(61, 37, 1), picture(300, 2, 0), picture(1, 1, 2)}) {
        writeFile("ours.webp", encodeWebp(image));
        EXPECT_TRUE(
            test::sameVisiblePixels(decodeWebp(readFile("ours.webp")).frames[0].image, image));
        EXPECT_TRUE(test::sameVisiblePixels(test::toolPixels(path("ours.webp")), image));
    }
    EXPECT_EQ(errorOf([] { encodeWebp({}); }), msg::kObjectTypeNotSupported);
    EXPECT_EQ(errorOf([] { encodeWebp(RgbaImage::blank(16384, 1)); }), msg::kImageTooLarge);
    const RgbaAnimation mixed{{{picture(4, 4, 6), 10}, {picture(4, 5, 7), 10}}, 0};
    EXPECT_EQ(errorOf([&] { encodeAnimatedWebp(mixed); }), msg::kObjectTypeNotSupported);
    EXPECT_EQ(errorOf([] { encodeAnimatedWebp({}); }), msg::kObjectTypeNotSupported);
}

// Equal neighbouring frames, one frame, a transparent frame, long and zero delays come back as
// given.
struct AnimationCase {
    std::vector<unsigned> seeds; // of each frame's picture
    std::vector<int> delays;
    int loopCount;
};

class WebpAnimationTest : public ::testing::TestWithParam<AnimationCase> {};

TEST_P(WebpAnimationTest, KeepsFramesDelaysAndLoopCount) {
    const AnimationCase& c = GetParam();
    RgbaAnimation animation{{}, c.loopCount};
    for (std::size_t i = 0; i < c.seeds.size(); ++i)
        animation.frames.push_back({picture(33, 21, c.seeds[i]), c.delays[i]});
    const RgbaAnimation back = decodeWebp(encodeAnimatedWebp(animation));
    EXPECT_EQ(back.loopCount, c.loopCount);
    ASSERT_EQ(back.frames.size(), c.seeds.size());
    for (std::size_t i = 0; i < c.seeds.size(); ++i) {
        EXPECT_TRUE(test::sameVisiblePixels(back.frames[i].image, animation.frames[i].image)) << i;
        EXPECT_EQ(back.frames[i].durationMs, c.delays[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Sequences, WebpAnimationTest,
                         ::testing::Values(AnimationCase{{1, 2, 0, 3}, {100, 50, 20, 10}, 0},
                                           AnimationCase{
                                               {1, 1, 0, 0, 0, 1}, {10, 0, 30, 40, 50, 60}, 7},
                                           AnimationCase{{0, 0, 0}, {500, 600, 700}, 2},
                                           AnimationCase{{3}, {1234}, 65535},
                                           AnimationCase{{1, 4, 1, 4}, {1, 16777215, 3, 0}, 1}));

TEST_F(WebpTest, DamagedFilesAreNotValid) {
    const std::string lossy = make("lossy.webp", "cwebp -q 80 " + kPhoto);
    const std::string lossless = make("ll.webp", "cwebp -lossless " + kAlpha);
    const std::string animated = make("anim.webp", "img2webp -lossless " + kAlpha + " " + kOpaque);
    std::string riffTooLong = lossy, badSignature = lossless;
    riffTooLong[5] = '\x7F';
    badSignature[20] = 0; // the VP8L signature byte
    for (const std::string& bytes :
         {std::string(), std::string("RIFF\x04\0\0\0WEBP", 12), lossy.substr(0, lossy.size() / 2),
          lossless.substr(0, lossless.size() - 9), animated.substr(0, animated.size() - 30),
          riffTooLong, badSignature})
        EXPECT_EQ(errorOf([&] { decodeWebp(bytes); }), msg::kWebpNotValid) << bytes.size();
    EXPECT_EQ(errorOf([&] { measureWebp(badSignature); }), msg::kWebpNotValid);
}

// A 1 KB file whose VP8X header claims the canvas.
std::string claimedCanvas(int width, int height) {
    std::string bytes("RIFF\xF8\x03\0\0WEBPVP8X\x0A\0\0\0\0\0\0\0", 24);
    for (int side : {width - 1, height - 1}) {
        for (int shift : {0, 8, 16})
            bytes += static_cast<char>(side >> shift & 0xFF);
    }
    bytes.resize(1024, '\0');
    return bytes;
}

TEST_F(WebpTest, PicturesPastTheLimitsAreRefusedFromTheHeader) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([] { decodeWebp(claimedCanvas(100000, 100000)); }), msg::kImageTooLarge);
    EXPECT_EQ(errorOf([] { measureWebp(claimedCanvas(16384, 16384)); }), msg::kImageTooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    const std::string still = make("still.webp", "cwebp " + kOpaque);
    EXPECT_EQ(errorOf([&] {
                  decodeWebp(still, {127 * 64 - 1, kMaxTotalPixels});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(decodeWebp(still, {127 * 64, 127 * 64}).frames.size(), 1u);
    const std::string animated = make("anim.webp", "img2webp " + kAlpha + " " + kOpaque);
    EXPECT_EQ(errorOf([&] {
                  decodeWebp(animated, {kMaxImagePixels, 2 * 127 * 64 - 1});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(decodeWebp(animated, {kMaxImagePixels, 2 * 127 * 64}).frames.size(), 2u);
}

} // namespace
} // namespace kelmor
