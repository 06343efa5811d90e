// The animation assembly against an independent model of its rules, the
// order in which it reads its settings, and its refusals.
#include "animation/assembly.h"
#include "animation/placeholder.h"
#include "assembly_reference.h"
#include "base/error.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelmor {
namespace {

using test::ReferenceOptions;

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

// `base` with a rectangle of it repainted in the bitmap's last palette colour
// or, for a deep bitmap, in a colour of its own.
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

struct FrameSet {
    const char* name;
    std::vector<Bitmap> frames;
};

std::vector<FrameSet> frameSets() {
    const Bitmap eight = indexedPattern(16, 12, 8, 40, 3);
    const Bitmap deep = truePattern(14, 11, 9);
    return {
        {"Depths", {indexedPattern(12, 10, 1, 2, 0), indexedPattern(9, 13, 4, 16, 1), eight, deep}},
        {"Identical", {deep, deep, deep}},
        {"PartlyIdentical",
         {eight, withChangedPatch(eight, 2, 3, 4, 5), withChangedPatch(eight, 10, 1, 3, 2),
          withChangedPatch(eight, 10, 1, 3, 2)}},
        {"PartlyIdenticalDeep", {deep, withChangedPatch(deep, 5, 5, 3, 3), deep}},
        {"Placeholders",
         {filmFramePlaceholder(), filmFramePlaceholder(), eight, filmFramePlaceholder()}},
        // Two palettes of 200 colours: sharing must drop colours, and the full
        // tables leave no room for a transparent colour.
        {"CrowdedPalettes",
         {indexedPattern(20, 20, 8, 200, 0), indexedPattern(20, 20, 8, 200, 1),
          indexedPattern(20, 20, 8, 256, 2), indexedPattern(20, 20, 8, 256, 2)}},
        {"OneFrame", {deep}},
    };
}

struct AssemblyCase {
    std::string frameSet;
    bool crop, merge, palette;
};

std::string caseName(const ::testing::TestParamInfo<AssemblyCase>& info) {
    const AssemblyCase& c = info.param;
    return c.frameSet + (c.crop ? "_Crop" : "") + (c.merge ? "_Merge" : "") +
           (c.palette ? "_Palette" : "") + (c.crop || c.merge || c.palette ? "" : "_None");
}

std::vector<AssemblyCase> everyCombination() {
    std::vector<AssemblyCase> cases;
    for (const FrameSet& set : frameSets())
        for (int options = 0; options < 8; ++options)
            cases.push_back({set.name, bool(options & 1), bool(options & 2), bool(options & 4)});
    return cases;
}

class AssemblyBytes : public ::testing::TestWithParam<AssemblyCase> {};

TEST_P(AssemblyBytes, EqualTheModelOfTheRules) {
    const AssemblyCase& c = GetParam();
    std::vector<Bitmap> frames;
    for (const FrameSet& set : frameSets())
        if (set.name == c.frameSet)
            frames = set.frames;
    std::vector<Picture> slots;
    for (const Bitmap& frame : frames)
        slots.emplace_back(frame);

    FixedAnimationSettings settings;
    settings.loop = "7";
    settings.speed = "12";
    settings.cropOn = c.crop;
    settings.mergeOn = c.merge;
    settings.paletteOn = c.palette;
    const GifImage animation = assembleAnimation(slots, int(slots.size()), settings);

    const ReferenceOptions reference{7, 12, c.crop, c.merge, c.palette};
    EXPECT_EQ(Picture(animation).encoded(), test::referenceAnimation(frames, reference));
}

INSTANTIATE_TEST_SUITE_P(EveryOptionCombination, AssemblyBytes,
                         ::testing::ValuesIn(everyCombination()), caseName);

// Settings that count their reads and change the speed on every read.
struct CountingSettings final : AnimationSettings {
    mutable std::vector<std::string> reads;
    std::string loop = "3";
    std::vector<std::string> speeds;

    std::string loopText() const override {
        reads.push_back("loop");
        return loop;
    }
    std::string speedText() const override {
        reads.push_back("speed");
        const std::size_t n = std::count(reads.begin(), reads.end(), "speed");
        return speeds[std::min(n, speeds.size()) - 1];
    }
    bool crop() const override { return reads.push_back("crop"), false; }
    bool merge() const override { return reads.push_back("merge"), false; }
    bool palette() const override { return reads.push_back("palette"), false; }
};

std::vector<Picture> placeholderSlots() {
    return std::vector<Picture>(kFrameSlotCount, Picture(filmFramePlaceholder()));
}

TEST(AssemblyOrder, ShowsEachSlotBeforeItsFrameAndReadsSpeedForEveryFrame) {
    CountingSettings settings;
    settings.speeds = {"5", "6", "7"};
    const std::vector<Picture> slots = placeholderSlots();
    const GifImage animation = assembleAnimation(slots, 3, settings, [&](int slot) {
        settings.reads.push_back("show " + std::to_string(slot));
    });

    EXPECT_EQ(settings.reads,
              (std::vector<std::string>{"show 0", "loop", "speed", "show 1", "speed", "show 2",
                                        "speed", "palette", "merge", "crop"}));
    ASSERT_EQ(animation.frameCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(animation.frame(i).graphicControl()->delayTime, 5 + i);
}

struct RefusedCase {
    const char* name;
    std::string loop, speed;
    std::string message;
    int framesShown;
};

class AssemblyRefusal : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(AssemblyRefusal, EndsWithTheValuesMessage) {
    const RefusedCase& c = GetParam();
    CountingSettings settings;
    settings.loop = c.loop;
    settings.speeds = {"10", c.speed};
    int shown = 0;
    const std::vector<Picture> slots = placeholderSlots();
    try {
        assembleAnimation(slots, 4, settings, [&](int) { ++shown; });
        FAIL() << "assembled";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), c.message);
    }
    EXPECT_EQ(shown, c.framesShown);
}

INSTANTIATE_TEST_SUITE_P(
    LoopAndSpeed, AssemblyRefusal,
    ::testing::Values(
        RefusedCase{"EmptyLoop", "", "10", "'' is not a valid integer value", 1},
        RefusedCase{"WordLoop", "often", "10", "'often' is not a valid integer value", 1},
        RefusedCase{"NegativeLoop", "-1", "10", "'-1' is not a valid value (0 to 65535)", 1},
        RefusedCase{"LoopPastSixteenBits", "65536", "10",
                    "'65536' is not a valid value (0 to 65535)", 1},
        RefusedCase{"SpeedOfSecondFrame", "0", "1.5", "'1.5' is not a valid integer value", 2},
        RefusedCase{"NegativeSpeed", "0", "-3", "'-3' is not a valid value (0 to 65535)", 2}),
    [](const auto& refused) { return std::string(refused.param.name); });

TEST(AssemblyValues, TakeTheWholeSixteenBitRange) {
    FixedAnimationSettings settings;
    settings.loop = "65535";
    settings.speed = "0x0";
    const GifImage animation = assembleAnimation(placeholderSlots(), 2, settings);
    EXPECT_EQ(animation.loopExtension()->loopCount, 65535);
    EXPECT_EQ(animation.frame(1).graphicControl()->delayTime, 0);
}

TEST(AssemblyFrames, EmptySlotIsNoPicture) {
    std::vector<Picture> slots = placeholderSlots();
    slots[1] = Picture();
    try {
        assembleAnimation(slots, 2, FixedAnimationSettings{});
        FAIL() << "assembled";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Object type not supported for operation");
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
    ASSERT_EQ(film.width(), 50);
    ASSERT_EQ(film.height(), 50);
    EXPECT_EQ(film.bitsPerPixel(), 1);
    EXPECT_EQ(film.palette, (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}));
    EXPECT_EQ(film.index(0, 49), 0u);  // bottom-left: black
    EXPECT_EQ(film.index(25, 25), 1u); // centre
    EXPECT_EQ(film.index(5, 4), 1u);   // a left sprocket hole
    EXPECT_EQ(film.index(44, 44), 1u); // a right sprocket hole
    EXPECT_EQ(film.index(5, 8), 0u);   // between two holes
}

} // namespace
} // namespace kelmor
