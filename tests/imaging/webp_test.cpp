#include "base/messages.h"
#include "imaging/tool_pictures.h"
#include "imaging/webp.h"
#include "support/temp_folder.h"

#include <chrono>
#include <random>

namespace kelmor {
namespace {

using test::errorOf;

const std::string kData = std::string(KELMOR_TEST_DATA) + "/corpora/";
const std::string kPhoto = kData + "raster-misc/libjpeg-turbo/testorig.jpg";
const std::string kAlpha = kData + "bmpsuite/html/rgba32.png"; // 127 x 64, as the two below
const std::string kOpaque = kData + "bmpsuite/html/rgb24.png";
const std::string kPalette = kData + "bmpsuite/html/pal8.png";

// Random colours with alphas of 0, 127 and 254; seed 0 gives one opaque colour instead.
RgbaImage picture(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    RgbaImage image = RgbaImage::blank(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = seed == 0 ? (i % 4 == 3 ? 255 : 40 * (i % 4)) : random() % 3 * 127;
    return image;
}

class WebpTest : public test::TempFolderTest, public ::testing::WithParamInterface<std::string> {
protected:
    // Runs a libwebp tool writing out.webp in the folder and returns that file's bytes.
    std::string make(const std::string& command) {
        EXPECT_TRUE(test::runTool(command + " -o '" + path("out.webp") + "'")) << command;
        return readFile("out.webp");
    }
    RgbaImage reference(const std::string& file) { return test::toolPixels(file, path("ref")); }
};

// Still pictures in each of cwebp's codings decode to the pixels dwebp gives.
TEST_P(WebpTest, StillPicturesDecodeAsDwebpDecodes) {
    const std::string bytes = make("cwebp " + GetParam());
    const RgbaImage decoded = decodeWebp(bytes).frames.at(0).image;
    EXPECT_EQ(decoded, reference(path("out.webp")));
    EXPECT_EQ(webpFrameCount(bytes), 1);
    EXPECT_EQ(measureWebp(bytes).size.width, decoded.width);
    EXPECT_EQ(measureWebp(bytes).pixels, std::int64_t{decoded.width} * decoded.height);
}

INSTANTIATE_TEST_SUITE_P(Codings, WebpTest,
                         ::testing::Values("-q 80 " + kPhoto, "-lossless " + kAlpha,
                                           "-q 60 -alpha_q 40 -metadata all " + kAlpha,
                                           "-lossless -z 9 " + kOpaque,
                                           "-sharp_yuv -resize 60 30 " + kPalette));

// An animation img2webp assembles from whole pictures shows each in turn, for its delay.
TEST_F(WebpTest, AnimationsShowEachPictureForItsDelay) {
    const std::string bytes = make("img2webp -lossless -loop 3 -d 70 " + kAlpha + " -d 1000 " +
                                   kOpaque + " -d 1 " + kPalette);
    const RgbaAnimation decoded = decodeWebp(bytes);
    EXPECT_EQ(decoded.loopCount, 3);
    ASSERT_EQ(decoded.frames.size(), 3u);
    EXPECT_EQ(webpFrameCount(bytes), 3);
    EXPECT_EQ(measureWebp(bytes).pixels, 3 * 127 * 64);
    const std::string sources[] = {kAlpha, kOpaque, kPalette};
    const int delays[] = {70, 1000, 1};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(test::sameVisiblePixels(decoded.frames[i].image, reference(sources[i]))) << i;
        EXPECT_EQ(decoded.frames[i].durationMs, delays[i]) << i;
    }
}

TEST_F(WebpTest, LosslessFilesKeepEveryVisiblePixel) {
    for (const RgbaImage& image : {picture(61, 37, 1), picture(300, 2, 0), picture(1, 1, 2)}) {
        writeFile("ours.webp", encodeWebp(image));
        EXPECT_TRUE(
            test::sameVisiblePixels(decodeWebp(readFile("ours.webp")).frames[0].image, image));
        EXPECT_TRUE(test::sameVisiblePixels(reference(path("ours.webp")), image));
    }
    EXPECT_EQ(errorOf([] { encodeWebp({}); }), msg::kObjectTypeNotSupported);
    EXPECT_EQ(errorOf([] { encodeWebp(RgbaImage::blank(16384, 1)); }), msg::kImageTooLarge);
    const RgbaAnimation mixed{{{picture(4, 4, 6), 10}, {picture(4, 5, 7), 10}}, 0};
    EXPECT_EQ(errorOf([&] { encodeAnimatedWebp(mixed); }), msg::kObjectTypeNotSupported);
}

// Frames equal to the one before, pixels turning transparent, a single frame, long and zero delays
// come back as given: {seed of each frame's picture}, {delays}, loop count.
using AnimationCase = std::tuple<std::vector<unsigned>, std::vector<int>, int>;

class WebpAnimationTest : public ::testing::TestWithParam<AnimationCase> {};

TEST_P(WebpAnimationTest, KeepsFramesDelaysAndLoopCount) {
    const auto& [seeds, delays, loopCount] = GetParam();
    RgbaAnimation animation{{}, loopCount};
    for (std::size_t i = 0; i < seeds.size(); ++i)
        animation.frames.push_back({picture(33, 21, seeds[i]), delays[i]});
    const RgbaAnimation back = decodeWebp(encodeAnimatedWebp(animation));
    EXPECT_EQ(back.loopCount, loopCount);
    ASSERT_EQ(back.frames.size(), seeds.size());
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        EXPECT_TRUE(test::sameVisiblePixels(back.frames[i].image, animation.frames[i].image)) << i;
        EXPECT_EQ(back.frames[i].durationMs, delays[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, WebpAnimationTest,
    ::testing::Values(AnimationCase{{1, 1, 0, 4, 4, 4, 1}, {10, 0, 30, 16777215, 50, 60, 1}, 7},
                      AnimationCase{{0, 0, 0}, {500, 600, 700}, 2},
                      AnimationCase{{3}, {1234}, 65535}));

TEST_F(WebpTest, DamagedFilesAreNotValid) {
    const std::string lossy = make("cwebp -q 80 " + kPhoto);
    const std::string lossless = make("cwebp -lossless " + kAlpha);
    const std::string animated = make("img2webp -lossless " + kAlpha + " " + kOpaque);
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

// A 1 KB file whose VP8X header claims a width x width canvas.
std::string claimedCanvas(int width) {
    std::string bytes("RIFF\xF8\x03\0\0WEBPVP8X\x0A\0\0\0\0\0\0\0", 24);
    for (int shift : {0, 8, 16, 0, 8, 16})
        bytes += static_cast<char>((width - 1) >> shift & 0xFF);
    bytes.resize(1024, '\0');
    return bytes;
}

TEST_F(WebpTest, PicturesPastTheLimitsAreRefusedFromTheHeader) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([] { decodeWebp(claimedCanvas(100000)); }), msg::kImageTooLarge);
    EXPECT_EQ(errorOf([] { measureWebp(claimedCanvas(16384)); }), msg::kImageTooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    const std::string still = make("cwebp " + kOpaque);
    EXPECT_EQ(errorOf([&] {
                  decodeWebp(still, {127 * 64 - 1, kMaxTotalPixels});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(decodeWebp(still, {127 * 64, 127 * 64}).frames.size(), 1u);
    const std::string animated = make("img2webp " + kAlpha + " " + kOpaque);
    EXPECT_EQ(errorOf([&] {
                  decodeWebp(animated, {kMaxImagePixels, 2 * 127 * 64 - 1});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(decodeWebp(animated, {kMaxImagePixels, 2 * 127 * 64}).frames.size(), 2u);
}

} // namespace
} // namespace kelmor
