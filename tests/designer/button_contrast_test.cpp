// The contrast of button text: WCAG 2 ratios, derived fills, and every shipped style's pictures
// measured on their pixels.
#include "designer/button_contrast.h"
#include "designer/button_picture.h"
#include "designer/shipped_styles.h"
#include "imaging/png.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

TEST(ContrastRatio, MatchesKnownWcagValues) {
    EXPECT_NEAR(contrastRatio({0, 0, 0}, {0xFF, 0xFF, 0xFF}), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio({0x77, 0x77, 0x77}, {0xFF, 0xFF, 0xFF}), 4.48, 0.005);
    EXPECT_NEAR(contrastRatio({0xFF, 0xFF, 0xFF}, {0x77, 0x77, 0x77}), 4.48, 0.005);
    EXPECT_EQ(ratioText(4.499), "4.4:1");
    ButtonStyle style;
    style.fontSize = 13;
    style.bold = true;
    EXPECT_EQ(requiredContrast(style), 4.5);
    style.fontSize = 14;
    EXPECT_EQ(requiredContrast(style), 3.0);
    style.bold = false;
    EXPECT_EQ(requiredContrast(style), 4.5);
    style.fontSize = 18;
    EXPECT_EQ(requiredContrast(style), 3.0);
}

TEST(ContrastRatio, GradientsNoFillAndDerivedFillsKeepTheTextReadable) {
    ButtonStyle style;
    style.color = {0xFF, 0xFF, 0xFF};
    style.fill = {{0x1F, 0x6F, 0xB8}, Colour{0xFF, 0xFF, 0xFF}};
    EXPECT_NEAR(stateContrast(style, ButtonState::Normal), 1.0, 1e-9);
    style.fill = fillValue("none");
    EXPECT_NEAR(stateContrast(style, ButtonState::Normal), 1.0, 1e-9);
    // 20% lighter would leave white text at 3.6:1: the mouse-over fill goes darker instead.
    style.fill = {{0x1F, 0x6F, 0xB8}, std::nullopt};
    EXPECT_EQ(style.mouseOverFill().top, darker(style.fill.top, 0.2));
    // Dark text on a light fill: the current fill goes lighter rather than 25% darker.
    style.color = {0x20, 0x20, 0x20};
    style.fill = {{0x99, 0x99, 0x99}, std::nullopt};
    EXPECT_EQ(style.currentPageFill().top, lighter(style.fill.top, 0.25));
    EXPECT_EQ(style.mouseOverFill().top, lighter(style.fill.top, 0.2));
    style.currentFill = ButtonFill{{0x30, 0x30, 0x30}, std::nullopt};
    EXPECT_EQ(style.currentPageFill(), *style.currentFill);
    ASSERT_EQ(contrastShortfalls(style).size(), 1u);
    EXPECT_EQ(contrastWarning(contrastShortfalls(style)[0]),
              "The text of the current state is hard to read: contrast 1.2:1, at least 4.5:1 "
              "wanted.");
}

struct StyleState {
    std::string style;
    ButtonState state;
};

std::vector<StyleState> everyShippedState() {
    std::vector<StyleState> all;
    for (const ShippedStyle& style : shippedStyles())
        for (ButtonState state : kButtonStates)
            all.push_back({style.name, state});
    return all;
}

// A pixel on the white page the pictures are measured on.
Colour onWhite(const RgbaImage& image, std::size_t at) {
    const auto channel = [&](std::size_t c) {
        const int alpha = image.pixels[at + 3];
        return static_cast<std::uint8_t>((image.pixels[at + c] * alpha + 255 * (255 - alpha)) /
                                         255);
    };
    return {channel(0), channel(1), channel(2)};
}

class ShippedStyleContrast : public test::TempFolderTest,
                             public ::testing::WithParamInterface<StyleState> {};

// The 2x picture is drawn once as made and once with its text's outlines taken out of the SVG;
// the pixels that differ are the text's. In each row the fullest text pixel against the fill
// under it gives that row's contrast, and the rows across the letters' middle must all reach the
// ratio the text's size asks for.
TEST_P(ShippedStyleContrast, TextReadsOnItsFillInThePicture) {
    const std::string folder = path("styles");
    installShippedStyles(folder);
    const ButtonStyle style = loadStyle(folder + "/" + GetParam().style + ".ini");
    const ButtonMenu menu =
        makeButtonMenu(style, std::vector<std::string>{"Home"}, ButtonFormat::Png, true);
    const std::string size = "width=\"" + std::to_string(menu.size.width) + "\" height=\"" +
                             std::to_string(menu.size.height) + "\"";
    const std::string twice = "width=\"" + std::to_string(2 * menu.size.width) + "\" height=\"" +
                              std::to_string(2 * menu.size.height) + "\"";
    std::string svg = buttonSvg(style, "Home", menu.size, GetParam().state);
    svg.replace(svg.find(size), size.size(), twice);
    const RgbaImage shown = decodePng(menu.buttons[0].picture(GetParam().state, 2));
    ASSERT_EQ(decodePng(buttonFile(svg, ButtonFormat::Png)).pixels, shown.pixels);
    const std::size_t start = svg.find("<path "), end = svg.find("/>", start);
    ASSERT_NE(start, std::string::npos);
    const RgbaImage bare =
        decodePng(buttonFile(svg.substr(0, start) + svg.substr(end + 2), ButtonFormat::Png));
    ASSERT_EQ(bare.pixels.size(), shown.pixels.size());
    EXPECT_NE(bare.pixels, shown.pixels);
    std::vector<double> rowContrast(std::size_t(shown.height), 0.0);
    std::vector<int> rowPixels(std::size_t(shown.height), 0);
    for (std::size_t at = 0; at < shown.pixels.size(); at += 4) {
        const double ratio = contrastRatio(onWhite(shown, at), onWhite(bare, at));
        const std::size_t row = at / 4 / std::size_t(shown.width);
        if (ratio > 1.05) {
            ++rowPixels[row];
            rowContrast[row] = std::max(rowContrast[row], ratio);
        }
    }
    // The rows of the middle half of the text cross the letters' stems, which cover whole pixels.
    const auto first = std::ranges::find_if(rowPixels, [](int n) { return n > 0; });
    const auto last =
        std::find_if(rowPixels.rbegin(), rowPixels.rend(), [](int n) { return n > 0; });
    ASSERT_NE(first, rowPixels.end());
    const std::size_t top = std::size_t(first - rowPixels.begin());
    const std::size_t bottom = rowPixels.size() - std::size_t(last - rowPixels.rbegin());
    const std::size_t quarter = (bottom - top) / 4;
    const double lowest = *std::min_element(rowContrast.begin() + long(top + quarter),
                                            rowContrast.begin() + long(bottom - quarter));
    EXPECT_GE(lowest, requiredContrast(style)) << stateName(GetParam().state);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedStyleContrast, ::testing::ValuesIn(everyShippedState()),
                         [](const auto& test) {
                             std::string name =
                                 test.param.style + "_" + stateName(test.param.state);
                             std::ranges::replace(name, '-', '_');
                             return name;
                         });

} // namespace
} // namespace kelmor
