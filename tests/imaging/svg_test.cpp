#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/svg.h"
#include "imaging/tool_pictures.h"
#include "support/temp_folder.h"

#include <chrono>

namespace kelmor {
namespace {

using test::errorOf;

const std::string kSvgData = std::string(KELMOR_TEST_DATA) + "/svg/";

std::string svgOfSize(const std::string& attributes, const std::string& content = "") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" " +
           attributes + "><rect width=\"10\" height=\"10\" fill=\"red\"/>" + content + "</svg>";
}

// Documents of every drawing feature, at whole and fractional sizes, render as rsvg-convert
// renders them; an SVG of just a size gets rsvg-convert's size for it.
class SvgTest : public test::TempFolderTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(SvgTest, RendersAsRsvgConvert) {
    const std::string file = GetParam().ends_with(".svg")
                                 ? kSvgData + GetParam()
                                 : writeFile("size.svg", svgOfSize(GetParam()));
    const RgbaImage rendered = renderSvg(readWholeFile(file), file);
    ASSERT_TRUE(test::runTool("rsvg-convert '" + file + "' -o '" + path("ref.png") + "'"));
    EXPECT_TRUE(
        test::sameVisiblePixels(rendered, test::toolPixels(path("ref.png"), path("ref")), 1));
    const PictureFileSize size = measureSvg(readWholeFile(file), file);
    EXPECT_EQ(size.size.width, rendered.width);
    EXPECT_EQ(size.pixels, std::int64_t{rendered.width} * rendered.height);
}

INSTANTIATE_TEST_SUITE_P(
    DocumentsAndUnits, SvgTest,
    ::testing::Values("shapes.svg", "gradients.svg", "paths.svg", "effects.svg",
                      "width=\"33\" height=\"17px\"", "width=\"100.5px\" height=\"0.2px\"",
                      "width=\"2in\" height=\"0.5in\"", "width=\"5cm\" height=\"2.54cm\"",
                      "width=\"50mm\" height=\"25.4mm\"", "width=\"72pt\" height=\"10pt\"",
                      "width=\"6pc\" height=\"1pc\"", "viewBox=\"0 0 30.2 20\"",
                      "width=\"50%\" height=\"100%\" viewBox=\"-5 -5 40 21\""));

TEST(Svg, RefusesDocumentsWithoutSizeDamagedOrTooLarge) {
    EXPECT_EQ(errorOf([] { renderSvg(svgOfSize("")); }), msg::kSvgNoSize);
    EXPECT_EQ(errorOf([] { measureSvg(svgOfSize("width=\"50%\" height=\"20\"")); }),
              msg::kSvgNoSize);
    const std::string prefix = format(msg::kSvgNotValid, "");
    for (const std::string bytes : {"", "<svg width=\"10\" height=\"10\"><rect",
                                    "<svg width=\"1\" height=\"1\"></g></svg>", "\x89PNG\r\n"}) {
        for (const std::string& error :
             {errorOf([&] { renderSvg(bytes); }), errorOf([&] { measureSvg(bytes); })}) {
            EXPECT_TRUE(error.starts_with(prefix) && error.size() > prefix.size()) << error;
        }
    }
    const std::string huge = svgOfSize("width=\"100000\" height=\"100000\"", std::string(900, ' '));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([&] { renderSvg(huge); }), msg::kImageTooLarge);
    EXPECT_EQ(errorOf([&] { measureSvg(huge); }), msg::kImageTooLarge);
    EXPECT_EQ(errorOf([] { renderSvg(svgOfSize("width=\"40000\" height=\"2\"")); }),
              msg::kImageTooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(errorOf([] {
                  renderSvg(svgOfSize("width=\"20\" height=\"10\""), {}, {199, 199});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(renderSvg(svgOfSize("width=\"20\" height=\"10\""), {}, {200, 200}).width, 20);
}

// A picture beside the document loads; one outside its folder, one named by an absolute path
// elsewhere or one on the network never does, nor does anything when the document has no file.
TEST_F(SvgTest, ReferencesStayInsideTheDocumentsFolder) {
    std::filesystem::create_directory(folder_ / "doc");
    const std::string png = std::string(KELMOR_TEST_DATA) + "/corpora/bmpsuite/html/rgb24.png";
    std::filesystem::copy_file(png, path("doc/inside.png"));
    std::filesystem::copy_file(png, path("outside.png"));
    auto shown = [&](const std::string& href, const std::string& document) {
        const std::string image = "<image x=\"10\" width=\"10\" height=\"10\" xlink:href=\"" + href;
        const RgbaImage r =
            renderSvg(svgOfSize("width=\"20\" height=\"10\"", image + "\"/>"), document);
        return r.pixels[4 * (5 * 20 + 15) + 3] != 0;
    };
    const std::string document = path("doc/page.svg");
    EXPECT_TRUE(shown("inside.png", document));
    EXPECT_FALSE(shown("../outside.png", document));
    EXPECT_FALSE(shown("file://" + path("outside.png"), document));
    EXPECT_FALSE(shown("http://127.0.0.1:9/outside.png", document));
    EXPECT_FALSE(shown("inside.png", ""));
    EXPECT_FALSE(shown(path("doc/inside.png"), ""));
}

} // namespace
} // namespace kelmor
