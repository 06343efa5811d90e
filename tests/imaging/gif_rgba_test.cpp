// GIF files made from RGBA pictures, read back by giflib: every pixel with alpha of 128 or more
// shows its own colour (or its 216-colour level when the picture holds too many), every other
// pixel the transparent index.
#include "imaging/gif_encode.h"
#include "imaging/gif_rgba.h"
#include "imaging/gif_test_support.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

struct RgbaCase {
    const char* name;
    int colors;       // distinct opaque colours
    bool transparent; // whether some pixels have alpha below 128
    bool exact;       // whether the table holds the picture's own colours
};

// A picture of `colors` distinct opaque colours, each pixel's alpha 255, 128 or, every seventh
// pixel when asked, 127 or 0.
RgbaImage pictureOf(const RgbaCase& c) {
    RgbaImage image = RgbaImage::blank(40, 20);
    for (int i = 0; i < 800; ++i) {
        std::uint8_t* p = image.pixels.data() + i * 4;
        const int color = i % c.colors;
        p[0] = static_cast<std::uint8_t>(color * 7);
        p[1] = static_cast<std::uint8_t>(color >> 5);
        p[2] = static_cast<std::uint8_t>(255 - color);
        p[3] = i % 5 == 0 ? 128 : 255;
        if (c.transparent && i % 7 == 3)
            p[3] = i % 2 ? 127 : 0;
    }
    return image;
}

class GifFromRgba : public ::testing::TestWithParam<RgbaCase> {};

TEST_P(GifFromRgba, ShowsEveryPixelByTheRule) {
    const RgbaCase& c = GetParam();
    const RgbaImage picture = pictureOf(c);
    const test::GiflibResult read = test::giflibDecode(encodeGif(gifFromRgba(picture)));
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.frames.size(), 1u);
    const test::GiflibResult::Frame& frame = read.frames[0];
    EXPECT_EQ(frame.transparentIndex >= 0, c.transparent);
    const auto level = [](std::uint8_t v) { return static_cast<std::uint8_t>((v + 3) / 51 * 51); };
    std::size_t used = 0;
    for (int i = 0; i < 800; ++i) {
        const std::uint8_t* p = picture.pixels.data() + i * 4;
        const int index = frame.pixels[static_cast<std::size_t>(i)];
        used = std::max<std::size_t>(used, index + 1);
        if (p[3] < 128) {
            ASSERT_EQ(index, frame.transparentIndex) << i;
            continue;
        }
        ASSERT_NE(index, frame.transparentIndex) << i;
        const Rgb shown = frame.localColors.at(static_cast<std::size_t>(index));
        const Rgb expected =
            c.exact ? Rgb{p[0], p[1], p[2]} : Rgb{level(p[0]), level(p[1]), level(p[2])};
        ASSERT_EQ(shown, expected) << i;
    }
    // The table holds exactly the picture's colours, and the transparent entry.
    if (c.exact) {
        EXPECT_EQ(used, std::size_t(c.colors) + c.transparent);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, GifFromRgba,
    ::testing::Values(RgbaCase{"FewOpaque", 3, false, true},
                      RgbaCase{"FewWithTransparency", 3, true, true},
                      RgbaCase{"FullTableOpaque", 256, false, true},
                      RgbaCase{"FullTableLeavesNoRoomForTransparency", 256, true, false},
                      RgbaCase{"TableMinusOneWithTransparency", 255, true, true},
                      RgbaCase{"ManyColours", 300, false, false}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace kelmor
