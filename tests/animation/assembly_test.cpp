// The animation assembly against an independent model of its rules, the order in which it
// reads its settings, and its refusals. The loop and speed values it takes or refuses are
// checked through kelmor-cli animate (cli_animate_test.cpp) and the Gifs tab.
#include "animation/assembly.h"
#include "animation/placeholder.h"
#include "assembly_reference.h"
#include "base/error.h"
#include "imaging/tool_pictures.h"
#include "imaging/webp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelmor {
namespace {

// An indexed bitmap whose pixel (x, y) is (x * 7 + y * 3 + seed) mod colours,
// with a palette of `colours` distinct colours drawn from the seed.
Bitmap indexedPattern(int width, int height, int bits, int colours, int seed) {
    Bitmap bitmap(width, height, bits);
    for (int i = 0; i < colours; ++i)
        bitmap.palette.push_back(Rgb{std::uint8_t(i * 37 + seed), std::uint8_t(i * 11),
                                     std::uint8_t(255 - i * 5 - seed)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setIndex(x, y, unsigned(x * 7 + y * 3 + seed) % unsigned(colours));
    return bitmap;
}

Bitmap truePattern(int width, int height, int seed) {
    Bitmap bitmap(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setColor(x, y,
                            Rgb{std::uint8_t(x * 23 + seed), std::uint8_t(y * 19),
                                std::uint8_t((x ^ y) * 13 + seed)});
    return bitmap;
}

// The bitmap with a rectangle repainted in its last palette colour or, when deep, in a
// colour of its own.
Bitmap withChangedPatch(Bitmap bitmap, int left, int top, int width, int height) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x) {
            if (bitmap.bitsPerPixel() <= 8)
                bitmap.setIndex(x, y, unsigned(bitmap.palette.size() - 1));
            else
                bitmap.setColor(x, y, Rgb{250, 5, 128});
        }
    return bitmap;
}

// A 32-bit copy of a 24-bit bitmap with an alpha mask, every pixel at `alpha`, and the pixels of
// one column at `columnAlpha`.
Bitmap withAlpha(const Bitmap& bitmap, std::uint8_t alpha, std::uint8_t columnAlpha) {
    Bitmap out(bitmap.width(), bitmap.height(), 32);
    out.alphaMask = 0xFF000000u;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            out.setColor(x, y, bitmap.color(x, y));
            out.row(y)[x * 4 + 3] = x == 2 ? columnAlpha : alpha;
        }
    }
    return out;
}

std::vector<std::pair<std::string, std::vector<Bitmap>>> frameSets() {
    const Bitmap eight = indexedPattern(16, 12, 8, 40, 3);
    const Bitmap deep = truePattern(14, 11, 9);
    const Bitmap film = filmFramePlaceholder();
    return {
        {"Depths", {indexedPattern(12, 10, 1, 2, 0), indexedPattern(9, 13, 4, 16, 1), eight, deep}},
        {"Identical", {deep, deep, deep}},
        {"PartlyIdentical",
         {eight, withChangedPatch(eight, 2, 3, 4, 5), withChangedPatch(eight, 10, 1, 3, 2),
          withChangedPatch(eight, 10, 1, 3, 2)}},
        {"PartlyIdenticalDeep", {deep, withChangedPatch(deep, 5, 5, 3, 3), deep}},
        {"Placeholders", {film, film, eight, film}},
        // Two palettes of 200 colours: sharing must drop colours, and the full
        // tables leave no room for a transparent colour.
        {"CrowdedPalettes",
         {indexedPattern(20, 20, 8, 200, 0), indexedPattern(20, 20, 8, 200, 1),
          indexedPattern(20, 20, 8, 256, 2), indexedPattern(20, 20, 8, 256, 2)}},
        {"OneFrame", {deep}},
        // An alpha channel without a pixel below 128 makes no transparency: the same frames.
        {"OpaqueAlpha", {withAlpha(deep, 255, 128), deep}},
    };
}

// A frame set by its index, and the three switches as bits: crop 1, merge 2, palette 4.
class AssemblyBytes : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(AssemblyBytes, EqualTheModelOfTheRules) {
    const auto [set, options] = GetParam();
    const std::vector<Bitmap> frames = frameSets()[std::size_t(set)].second;
    const std::vector<Picture> slots(frames.begin(), frames.end());
    FixedAnimationSettings settings;
    settings.loop = "7";
    settings.speed = "12";
    settings.cropOn = options & 1;
    settings.mergeOn = options & 2;
    settings.paletteOn = options & 4;
    const GifImage animation = assembleAnimation(slots, int(slots.size()), settings);
    EXPECT_EQ(Picture(animation).encoded(),
              test::referenceAnimation(
                  frames, {7, 12, settings.cropOn, settings.mergeOn, settings.paletteOn}));
}

INSTANTIATE_TEST_SUITE_P(EveryOptionCombination, AssemblyBytes,
                         ::testing::Combine(::testing::Range(0, int(frameSets().size())),
                                            ::testing::Range(0, 8)),
                         [](const auto& param) {
                             return frameSets()[std::size_t(std::get<0>(param.param))].first + "_" +
                                    std::to_string(std::get<1>(param.param));
                         });

// Settings that record their reads and give the next speed text on every read.
struct CountingSettings final : AnimationSettings {
    mutable std::vector<std::string> reads;
    std::string loop = "3";
    std::vector<std::string> speeds;

    std::string loopText() const override { return reads.push_back("loop"), loop; }
    std::string speedText() const override {
        reads.push_back("speed");
        const std::size_t n = std::count(reads.begin(), reads.end(), "speed");
        return speeds[std::min(n, speeds.size()) - 1];
    }
    bool crop() const override { return reads.push_back("crop"), false; }
    bool merge() const override { return reads.push_back("merge"), false; }
    bool palette() const override { return reads.push_back("palette"), false; }
};

std::vector<Picture> placeholders() {
    return std::vector<Picture>(kFrameSlotCount, Picture(filmFramePlaceholder()));
}

TEST(AssemblyOrder, ShowsEachSlotBeforeItsFrameAndReadsSpeedForEveryFrame) {
    CountingSettings settings;
    settings.speeds = {"5", "6", "7"};
    const GifImage animation = assembleAnimation(placeholders(), 3, settings, [&](int slot) {
        settings.reads.push_back("show " + std::to_string(slot));
    });
    EXPECT_EQ(settings.reads,
              (std::vector<std::string>{"show 0", "loop", "speed", "show 1", "speed", "show 2",
                                        "speed", "palette", "merge", "crop"}));
    ASSERT_EQ(animation.frameCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(animation.frame(i).graphicControl()->delayTime, 5 + i);
}

TEST(AssemblyFrames, EmptySlotIsNoPicture) {
    std::vector<Picture> slots = placeholders();
    slots[1] = Picture();
    try {
        assembleAnimation(slots, 2, FixedAnimationSettings{});
        FAIL() << "assembled";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Object type not supported for operation");
    }
}

// The Gifs tab's pictures are loaded already: a screen that no reader would open, or more
// pixels than an animation may hold, is refused before the first frame is added.
TEST(AssemblyLimits, PicturesTooLargeTogetherAreRefusedBeforeAnyFrame) {
    const std::vector<Picture> screens = {Picture(Bitmap(1, 65535, 8)),
                                          Picture(Bitmap(65535, 1, 8))};
    const std::vector<Picture> total(5, Picture(Bitmap(8192, 8192, 1)));
    for (const auto& slots : {screens, total}) {
        int started = 0;
        try {
            assembleAnimation(slots, int(slots.size()), FixedAnimationSettings{},
                              [&](int) { ++started; });
            ADD_FAILURE() << "assembled";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Image too large");
        }
        EXPECT_EQ(started, 0);
    }
}

// Pixels with alpha below 128 take the frame's transparent index, and the frame is cleared to the
// background before the next one; opaque frames keep their old extensions.
TEST(AssemblyTransparency, TransparentPixelsShowWhatLiesBehind) {
    const Bitmap deep = truePattern(6, 4, 1);
    const std::vector<Picture> slots = {Picture(withAlpha(deep, 255, 0)), Picture(deep),
                                        Picture(withAlpha(deep, 127, 200))};
    const GifImage animation = assembleAnimation(slots, 3, FixedAnimationSettings{});
    for (const int frame : {0, 2}) {
        const GifFrame& f = animation.frame(frame);
        const GifGraphicControlExtension* control = f.graphicControl();
        ASSERT_TRUE(control && control->transparent()) << frame;
        EXPECT_EQ(control->disposal(), 2);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                const bool clear = frame == 0 ? x == 2 : x != 2;
                EXPECT_EQ(f.pixel(x, y) == control->transparentColorIndex, clear) << x << y;
            }
        }
    }
    EXPECT_FALSE(animation.frame(1).graphicControl()->transparent());
    EXPECT_EQ(animation.frame(1).graphicControl()->disposal(), 0);
}

// The animated WebP holds every picture as it is, on a canvas of the largest, with the speed as
// each frame's duration and the loop count.
TEST(AssemblyWebp, HoldsEveryPictureExactlyWithItsTiming) {
    const Bitmap small = truePattern(5, 3, 2);
    const Bitmap large = withAlpha(truePattern(8, 6, 4), 255, 0);
    const std::vector<Picture> slots = {Picture(small), Picture(large), Picture(small)};
    FixedAnimationSettings settings;
    settings.loop = "4";
    settings.speed = "7";
    const RgbaAnimation read = decodeWebp(assembleWebpAnimation(slots, 3, settings));
    EXPECT_EQ(read.loopCount, 4);
    ASSERT_EQ(read.frames.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.frames[i].durationMs, 70);
        // The picture at 0, 0 on a transparent canvas of the largest picture's size.
        RgbaImage expected = RgbaImage::blank(8, 6);
        const RgbaImage picture = slots[i].rgba();
        for (int y = 0; y < picture.height; ++y)
            std::copy_n(picture.row(y), picture.width * 4, expected.row(y));
        EXPECT_TRUE(test::sameVisiblePixels(read.frames[i].image, expected)) << i;
    }
}

TEST(AssemblyFrameCount, OnlyTheExactTextsTwoToTwentyAssemble) {
    for (int n = 2; n <= 20; ++n)
        EXPECT_EQ(assemblyFrameCount(std::to_string(n)), n);
    for (const char* text : {"", "0", "1", "21", "02", " 5", "5 ", "+5", "0x5", "five"})
        EXPECT_EQ(assemblyFrameCount(text), std::nullopt) << text;
}

TEST(Placeholder, IsABlackFilmFrameWithWhiteHolesAndCentre) {
    const Bitmap film = filmFramePlaceholder();
    ASSERT_EQ(std::pair(film.width(), film.height()), std::pair(50, 50));
    EXPECT_EQ(film.bitsPerPixel(), 1);
    EXPECT_EQ(film.palette, (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}));
    // Bottom-left and between two holes black; the centre and the left and right holes white.
    for (const auto& [x, y, index] :
         {std::tuple{0, 49, 0u}, {5, 8, 0u}, {25, 25, 1u}, {5, 4, 1u}, {44, 44, 1u}})
        EXPECT_EQ(film.index(x, y), index) << x << "," << y;
}

} // namespace
} // namespace kelmor
