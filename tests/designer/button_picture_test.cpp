// Button pictures: the SVG read back by Qt's XML reader, and the PNG and GIF pixels against
// rsvg-convert's rendering of the same SVG.
#include "base/read_file.h"
#include "designer/button_picture.h"
#include "designer/shipped_styles.h"
#include "imaging/gif_decode.h"
#include "imaging/picture.h"
#include "imaging/png.h"
#include "imaging/tool_pictures.h"
#include "support/temp_folder.h"

#include <QString>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

using test::errorOf;

// What the XML reader finds in a button's SVG.
struct SvgFacts {
    ButtonSize size;
    int texts = 0, paths = 0, gradients = 0, filters = 0;
    bool pathDataIsOutlines = true;
    std::string error;
};

SvgFacts readSvg(const std::string& svg) {
    SvgFacts facts;
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        const auto attribute = [&](const char* key) {
            return xml.attributes().value(QString::fromLatin1(key)).toString().toStdString();
        };
        if (name == QStringLiteral("svg"))
            facts.size = {std::stoi(attribute("width")), std::stoi(attribute("height"))};
        facts.texts += name == QStringLiteral("text");
        facts.gradients += name == QStringLiteral("linearGradient");
        facts.filters += name == QStringLiteral("filter");
        if (name == QStringLiteral("path")) {
            ++facts.paths;
            const std::string data = attribute("d");
            facts.pathDataIsOutlines &=
                data.starts_with('M') && data.find_first_not_of("MLCZ0123456789.- ") == data.npos;
        }
    }
    if (xml.hasError())
        facts.error = xml.errorString().toStdString();
    return facts;
}

ButtonStyle shipped(const char* name, const std::string& folder) {
    installShippedStyles(folder);
    return loadStyle(folder + "/" + name + ".ini");
}

class ShippedStyleSvg : public test::TempFolderTest,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(ShippedStyleSvg, IsOutlinesOfOneSizeInBothStates) {
    const ButtonStyle style = shipped(GetParam(), path("styles"));
    const std::vector<std::string> texts{"Home", "About the shop", "Ünïcode"};
    const ButtonSize size = menuButtonSize(style, texts);
    EXPECT_EQ(size, menuButtonSize(style, {texts.begin() + 1, texts.begin() + 2}));
    for (const std::string& text : texts) {
        for (auto state : {ButtonState::Normal, ButtonState::MouseOver}) {
            const SvgFacts facts = readSvg(buttonSvg(style, text, size, state));
            EXPECT_EQ(facts.error, "");
            EXPECT_EQ(facts.size, size);
            EXPECT_EQ(facts.texts, 0);
            EXPECT_EQ(facts.paths, 1);
            EXPECT_TRUE(facts.pathDataIsOutlines);
            EXPECT_EQ(facts.gradients,
                      (state == ButtonState::Normal ? style.fill : style.mouseOverFill())
                          .bottom.has_value());
            EXPECT_EQ(facts.filters, style.shadow ? 1 : 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, ShippedStyleSvg,
                         ::testing::Values("Flat", "Rounded", "Pill", "Glass"));

TEST(ButtonSizes, FixedSizesHoldAndAFontThatIsMissingFallsBackToSans) {
    ButtonStyle style;
    style.width = 150;
    style.height = 40;
    EXPECT_EQ(menuButtonSize(style, std::vector<std::string>{"Home"}), (ButtonSize{150, 40}));
    style.width = style.height = 0;
    style.font = "Sans";
    const std::string sans = buttonSvg(style, "Home", {100, 40}, ButtonState::Normal);
    EXPECT_FALSE(resolveButtonFont(style).fellBack);
    style.font = "No Such Family Here";
    const ButtonFont font = resolveButtonFont(style);
    EXPECT_TRUE(font.fellBack);
    EXPECT_NE(font.family, "");
    EXPECT_EQ(buttonSvg(style, "Home", {100, 40}, ButtonState::Normal), sans);
    style.fontSize = 200;
    EXPECT_EQ(errorOf([&] { menuButtonSize(style, std::vector<std::string>{"Home Home Home"}); }),
              "The button 'Home Home Home' would be larger than 2000 pixels");
}

class ButtonPixels : public test::TempFolderTest {
protected:
    const std::uint8_t* at(const RgbaImage& image, int x, int y) {
        return image.pixels.data() + (std::size_t(y) * image.width + x) * 4;
    }
    void expectColour(const RgbaImage& image, int x, int y, Colour colour, int tolerance = 0) {
        const std::uint8_t* p = at(image, x, y);
        EXPECT_NEAR(p[0], colour.red, tolerance) << x << "," << y;
        EXPECT_NEAR(p[1], colour.green, tolerance) << x << "," << y;
        EXPECT_NEAR(p[2], colour.blue, tolerance) << x << "," << y;
        EXPECT_EQ(p[3], 255) << x << "," << y;
    }
    // The PNG decoded, and rsvg-convert's rendering of the SVG written to a file.
    std::pair<RgbaImage, RgbaImage> pngAndTool(const std::string& svg) {
        const std::string file = writeFile("button.svg", svg);
        EXPECT_TRUE(test::runTool("rsvg-convert -o '" + path("tool.png") + "' '" + file + "'"));
        return {decodePng(buttonFile(svg, ButtonFormat::Png)),
                decodePng(readWholeFile(path("tool.png")))};
    }
};

TEST_F(ButtonPixels, FillBorderCornerAndMouseOverFallOnWholePixels) {
    ButtonStyle style;
    style.shape = ButtonShape::Rounded;
    style.radius = 10;
    style.borderWidth = 1;
    style.fill = {{0x33, 0x66, 0x99}, std::nullopt};
    style.borderColor = {0x10, 0x20, 0x30};
    const ButtonMenu menu =
        makeButtonMenu(style, std::vector<std::string>{"Shop"}, ButtonFormat::Svg);
    const int w = menu.size.width, h = menu.size.height;
    for (auto state : {ButtonState::Normal, ButtonState::MouseOver}) {
        const auto [png, tool] = pngAndTool(buttonSvg(style, "Shop", menu.size, state));
        EXPECT_TRUE(test::sameVisiblePixels(png, tool, 1));
        // White text on 20% lighter would read at 3.9:1: the mouse-over fill is 20% darker.
        const Colour fill =
            state == ButtonState::Normal ? style.fill.top : darker(style.fill.top, 0.2);
        EXPECT_EQ(at(png, 0, 0)[3], 0);
        EXPECT_EQ(at(png, w - 1, h - 1)[3], 0);
        for (int x : {0, w - 1})
            expectColour(png, x, h / 2, style.borderColor);
        for (int y : {0, h - 1})
            expectColour(png, w / 2, y, style.borderColor);
        expectColour(png, 1, h / 2, fill);
        expectColour(png, w - 2, 2 + h / 3, fill);
    }
    EXPECT_EQ(darker(style.fill.top, 0.2), (Colour{0x29, 0x52, 0x7A}));
    EXPECT_EQ(menu.buttons[0].normal, buttonSvg(style, "Shop", menu.size, ButtonState::Normal));
}

struct StateAndScale {
    ButtonState state;
    int scale;
    const char* file;
    Colour fill; // the default style's fill in the state
};

class ButtonStatePixels : public ButtonPixels,
                          public ::testing::WithParamInterface<StateAndScale> {};

// Every picture of a PNG menu is the SVG picture of its state as rsvg-convert draws it at the
// picture's scale, the 2x ones drawn afresh rather than enlarged.
TEST_P(ButtonStatePixels, PngIsTheSvgOfItsStateDrawnAtItsScale) {
    const auto [state, scale, file, fill] = GetParam();
    ButtonStyle style;
    style.radius = 10;
    const std::vector<std::string> texts{"Shop", "About us"};
    const ButtonMenu png = makeButtonMenu(style, texts, ButtonFormat::Png, true);
    const ButtonMenu svg = makeButtonMenu(style, texts, ButtonFormat::Svg, true);
    ASSERT_EQ(png.buttons[0].pictures().size(), 6u);
    ASSERT_EQ(svg.buttons[0].pictures().size(), 3u);
    EXPECT_EQ(png.buttons[0].file(state, scale), file);
    EXPECT_EQ(svg.buttons[0].picture(state), buttonSvg(style, "Shop", svg.size, state));

    writeFile("button.svg", svg.buttons[0].picture(state));
    ASSERT_TRUE(test::runTool("rsvg-convert -z " + std::to_string(scale) + " -o '" +
                              path("tool.png") + "' '" + path("button.svg") + "'"));
    const RgbaImage picture = decodePng(png.buttons[0].picture(state, scale));
    const RgbaImage tool = decodePng(readWholeFile(path("tool.png")));
    ASSERT_EQ(picture.width, png.size.width * scale);
    ASSERT_EQ(picture.height, png.size.height * scale);
    EXPECT_TRUE(test::sameVisiblePixels(picture, tool, 1));
    expectColour(picture, scale, picture.height / 2, fill);
    expectColour(picture, scale / 2, picture.height / 2, style.borderColor);
    if (scale == 1) {
        EXPECT_NE(picture.pixels, decodePng(png.buttons[0].picture(state, 2)).pixels);
    }
}

INSTANTIATE_TEST_SUITE_P(
    StatesAndScales, ButtonStatePixels,
    ::testing::Values(
        StateAndScale{ButtonState::Normal, 1, "shop.png", {0x33, 0x66, 0x99}},
        StateAndScale{ButtonState::Normal, 2, "shop@2x.png", {0x33, 0x66, 0x99}},
        StateAndScale{ButtonState::MouseOver, 1, "shop-over.png", {0x29, 0x52, 0x7A}},
        StateAndScale{ButtonState::MouseOver, 2, "shop-over@2x.png", {0x29, 0x52, 0x7A}},
        // 25% of the way to black: 0x33 * 0.75 = 38.25, 0x66 * 0.75 = 76.5 ...
        StateAndScale{ButtonState::Current, 1, "shop-current.png", {0x26, 0x4D, 0x73}},
        StateAndScale{ButtonState::Current, 2, "shop-current@2x.png", {0x26, 0x4D, 0x73}}));

TEST(ButtonScales, DefaultsAndValuesOfTheScales) {
    EXPECT_TRUE(doubleScaleByDefault(ButtonFormat::Png));
    EXPECT_FALSE(doubleScaleByDefault(ButtonFormat::Gif));
    EXPECT_FALSE(doubleScaleByDefault(ButtonFormat::Svg));
    EXPECT_FALSE(doubleScaleValue("1"));
    EXPECT_TRUE(doubleScaleValue("1,2"));
    for (const char* bad : {"2", "1,2,3", "", "1, 2"})
        EXPECT_EQ(errorOf([&] { doubleScaleValue(bad); }),
                  "'" + std::string(bad) + "' is not a list of scales (1 or 1,2)");
    ButtonStyle style;
    style.currentFill = ButtonFill{{1, 2, 3}, Colour{4, 5, 6}};
    EXPECT_EQ(style.currentPageFill(), *style.currentFill);
    style.currentFill.reset();
    style.fill.bottom = Colour{0xFF, 0x00, 0x80};
    EXPECT_EQ(style.currentPageFill().bottom, (Colour{0xBF, 0x00, 0x60}));
    EXPECT_EQ(errorOf([&] {
                  makeButtonMenu(style, std::vector<std::string>{"A", "A current@2x"},
                                 ButtonFormat::Gif, true);
              }),
              "Buttons 'A' and 'A current@2x' would both write a-current@2x.gif");
}

// The title of an SVG: the text of its <title>, which must be the first child of <svg>.
std::string svgTitle(const std::string& svg) {
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    while (xml.readNextStartElement()) {
        if (xml.name() == QStringLiteral("svg"))
            continue;
        return xml.name() == QStringLiteral("title") ? xml.readElementText().toStdString()
                                                     : "<" + xml.name().toString().toStdString();
    }
    return "error: " + xml.errorString().toStdString();
}

std::string gifComments(const std::string& gif) {
    std::string text;
    const GifImage image = decodeGif(gif);
    for (const GifFrame& frame : image.frames())
        for (const GifExtension& extension : frame.extensions)
            if (const auto* comment = std::get_if<GifCommentExtension>(&extension))
                text += comment->text();
    return text;
}

class ButtonTitles : public ::testing::TestWithParam<std::string> {};

// Every picture carries its button's text: markup in it escaped, a long one over several GIF
// sub-blocks.
TEST_P(ButtonTitles, TravelInEveryPicture) {
    const std::vector<std::string> texts{GetParam()};
    const ButtonMenu svg = makeButtonMenu({}, texts, ButtonFormat::Svg);
    const ButtonMenu gif = makeButtonMenu({}, texts, ButtonFormat::Gif, true);
    for (ButtonState state : kButtonStates) {
        EXPECT_EQ(svgTitle(svg.buttons[0].picture(state)), GetParam());
        for (int scale : {1, 2})
            EXPECT_EQ(gifComments(gif.buttons[0].picture(state, scale)), GetParam());
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ButtonTitles,
                         ::testing::Values("Home", "Fish & <Chips>", "Ünïcode \xE2\x86\x92 2",
                                           std::string(260, 'i')));

TEST_F(ButtonPixels, GradientAndShadowAgreeWithTheSvg) {
    const ButtonStyle glass = shipped("Glass", path("styles"));
    const ButtonSize size = menuButtonSize(glass, std::vector<std::string>{"Contact"});
    const std::string svg = buttonSvg(glass, "Contact", size, ButtonState::MouseOver);
    const auto [png, tool] = pngAndTool(svg);
    EXPECT_TRUE(test::sameVisiblePixels(png, tool, 1));
    // Below the shape, the shadow is half transparent.
    EXPECT_GT(at(png, size.width / 2, size.height - 3)[3], 0);
    EXPECT_LT(at(png, size.width / 2, size.height - 3)[3], 255);
    EXPECT_GT(at(png, 4, 3)[0], at(png, 4, size.height - 8)[0]);
}

// The longest run down column x: pixels each within one level in every channel of the one above
// it, since vips and Kelmor round a blend a level apart.
int longestRun(const RgbaImage& image, int x) {
    const auto pixel = [&](int y) { return &image.pixels[(std::size_t(y) * image.width + x) * 4]; };
    int longest = 0, run = 0;
    for (int y = 0; y < image.height; ++y) {
        const bool near = y > 0 && std::equal(pixel(y), pixel(y) + 4, pixel(y - 1),
                                              [](int a, int b) { return std::abs(a - b) <= 1; });
        run = near ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    return longest;
}

// A GIF's run may pass the PNG's longest run in the same column by this many pixels before it
// counts as a band.
constexpr int kBandTolerance = 2;

struct MatteCase {
    const char* style;
    Colour matte;
};

class GifOnMatte : public ButtonPixels, public ::testing::WithParamInterface<MatteCase> {};

// A GIF button is its PNG as `vips flatten` puts it onto the page's colour: transparent exactly
// where the PNG is wholly so, each channel at most 3 levels off on average, and no band: down
// every column, no run longer than the flattened PNG's longest run there plus kBandTolerance.
// Glass and Pill hold more colours than a table, Rounded fewer.
TEST_P(GifOnMatte, IsThePngOnThePageWithoutBands) {
    const auto [name, matte] = GetParam();
    const ButtonStyle style = shipped(name, path("styles"));
    const std::vector<std::string> texts{"About Us"};
    const ButtonMenu png = makeButtonMenu(style, texts, ButtonFormat::Png);
    const ButtonMenu gif = makeButtonMenu(style, texts, ButtonFormat::Gif, false, matte);
    for (ButtonState state : kButtonStates) {
        const RgbaImage alpha = decodePng(png.buttons[0].picture(state));
        writeFile("button.png", png.buttons[0].picture(state));
        ASSERT_TRUE(test::runTool("vips flatten '" + path("button.png") + "' '" + path("flat.png") +
                                  "' --background '" + std::to_string(matte.red) + " " +
                                  std::to_string(matte.green) + " " + std::to_string(matte.blue) +
                                  "'"));
        const RgbaImage flat = decodePng(readFile("flat.png"));
        Picture read;
        read.loadFromBytes(PictureFormat::Gif, gif.buttons[0].picture(state));
        RgbaImage shown = read.rgba();
        ASSERT_EQ(shown.pixels.size(), flat.pixels.size());
        std::array<double, 3> difference{};
        for (std::size_t i = 0; i < shown.pixels.size(); i += 4) {
            ASSERT_EQ(shown.pixels[i + 3], alpha.pixels[i + 3] == 0 ? 0 : 255) << i / 4;
            // Transparent pixels show the matte, as they do on the page.
            if (shown.pixels[i + 3] == 0)
                std::copy_n(&flat.pixels[i], 4, &shown.pixels[i]);
            for (std::size_t c = 0; c < 3; ++c)
                difference[c] += std::abs(shown.pixels[i + c] - flat.pixels[i + c]);
        }
        for (double sum : difference)
            EXPECT_LE(sum / double(shown.pixels.size() / 4), 3.0) << name;
        std::vector<int> banded;
        for (int x = 0; x < shown.width; ++x)
            if (longestRun(shown, x) > longestRun(flat, x) + kBandTolerance)
                banded.push_back(x);
        EXPECT_EQ(banded, std::vector<int>{}) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, GifOnMatte,
    ::testing::Values(MatteCase{"Glass", kDefaultMatte}, MatteCase{"Glass", {0x20, 0x30, 0x40}},
                      MatteCase{"Pill", {0xFF, 0xEE, 0xCC}}, MatteCase{"Rounded", kDefaultMatte}),
    [](const auto& test) { return test.param.style + colourText(test.param.matte).substr(1); });

TEST(ButtonMatte, IsThePagesColourOrWhite) {
    EXPECT_EQ(pageMatte(" #336699\t"), (Colour{0x33, 0x66, 0x99}));
    for (const char* none : {"", "  ", "red", "#FFF", "#33669"})
        EXPECT_EQ(pageMatte(none), kDefaultMatte) << none;
}

} // namespace
} // namespace kelmor
