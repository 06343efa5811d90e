#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/svg.h"
#include "imaging/svg_renderer_process.h"
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

// Documents of every drawing feature, at whole and fractional sizes, drawn by the renderer
// process as rsvg-convert renders them; an SVG of just a size gets rsvg-convert's size for it.
class SvgTest : public test::TempFolderTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(SvgTest, RendersAsRsvgConvert) {
    const std::string file = GetParam().ends_with(".svg")
                                 ? kSvgData + GetParam()
                                 : writeFile("size.svg", svgOfSize(GetParam()));
    const RgbaImage rendered = renderSvgApart(readWholeFile(file), file);
    ASSERT_TRUE(test::runTool("rsvg-convert '" + file + "' -o '" + path("ref.png") + "'"));
    EXPECT_TRUE(
        test::sameVisiblePixels(rendered, test::toolPixels(path("ref.png"), path("ref")), 1));
    const PictureFileSize size = measureSvgApart(readWholeFile(file), file);
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
                  renderSvg(svgOfSize("width=\"20\" height=\"10\""), {199, 199});
              }),
              msg::kImageTooLarge);
    EXPECT_EQ(renderSvg(svgOfSize("width=\"20\" height=\"10\""), {200, 200}).width, 20);
}

// Every kind of reference outside the document draws for rsvg-convert given the file, and
// nothing for Kelmor, which draws the document as a browser draws an <img>: it gives what
// rsvg-convert gives for the document without the reference. A data: picture still draws.
struct ExternalReference {
    const char* name;
    const char* prolog;
    const char* element;
};

class SvgExternalTest : public test::TempFolderTest,
                        public ::testing::WithParamInterface<ExternalReference> {};

TEST_P(SvgExternalTest, NothingOutsideTheDocumentLoads) {
    std::filesystem::copy_file(std::string(KELMOR_TEST_DATA) + "/corpora/bmpsuite/html/rgb24.png",
                               path("sibling.png"));
    writeFile("secret.txt", "PRIVATE KEY");
    writeFile("other.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect id=\"r\" "
                           "width=\"10\" height=\"10\" fill=\"blue\"/></svg>");
    writeFile("style.css", "rect.s { fill: lime; }");
    // A 1 x 1 opaque green PNG.
    const std::string dataPng =
        "<image y=\"10\" width=\"10\" height=\"10\" href=\"data:image/png;base64,iVBORw0KGgoAAAA"
        "NSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGNg+M8AAAICAQB7CYF4AAAAAElFTkSuQmCC\"/>";
    const auto document = [&](const std::string& prolog, const std::string& element) {
        return prolog +
               "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xi=\"http://www.w3.org/2001/"
               "XInclude\" width=\"40\" height=\"20\"><rect width=\"10\" height=\"10\" "
               "fill=\"red\"/><rect class=\"s\" x=\"10\" y=\"10\" width=\"10\" height=\"10\"/>" +
               dataPng + element + "</svg>";
    };
    const std::string file = writeFile("page.svg", document(GetParam().prolog, GetParam().element));
    writeFile("plain.svg", document("", ""));
    ASSERT_TRUE(test::runTool("cd '" + folder_.string() +
                              "' && rsvg-convert page.svg -o page.png && rsvg-convert plain.svg -o "
                              "plain.png"));
    const RgbaImage loaded = test::toolPixels(path("page.png"), path("page"));
    const RgbaImage plain = test::toolPixels(path("plain.png"), path("plain"));
    ASSERT_FALSE(test::sameVisiblePixels(loaded, plain)) << "rsvg-convert draws the reference";
    const RgbaImage drawn = renderSvgApart(readWholeFile(file), file);
    EXPECT_TRUE(test::sameVisiblePixels(drawn, plain, 1));
    EXPECT_EQ(drawn.pixels[4 * (15 * 40 + 5) + 1], 255) << "the data: picture";
}

INSTANTIATE_TEST_SUITE_P(
    References, SvgExternalTest,
    ::testing::Values(
        ExternalReference{"Image", "",
                          "<image x=\"20\" width=\"10\" height=\"10\" href=\"sibling.png\"/>"},
        ExternalReference{"XIncludeText", "",
                          "<text x=\"20\" y=\"15\" font-size=\"12\"><xi:include "
                          "href=\"secret.txt\" parse=\"text\"/></text>"},
        ExternalReference{"UseTarget", "", "<use x=\"30\" href=\"other.svg#r\"/>"},
        ExternalReference{"StyleImport", "", "<style>@import url(style.css);</style>"},
        ExternalReference{"StylesheetInstruction",
                          "<?xml-stylesheet href=\"style.css\" type=\"text/css\"?>", ""}),
    [](const auto& reference) { return std::string(reference.param.name); });

} // namespace
} // namespace kelmor
