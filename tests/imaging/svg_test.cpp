#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/svg.h"
#include "imaging/tool_pictures.h"
#include "support/temp_folder.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace kelmor {
namespace {

const std::string kSvgData = std::string(KELMOR_TEST_DATA) + "/svg/";
const std::string kPng = std::string(KELMOR_TEST_DATA) + "/corpora/bmpsuite/html/rgb24.png";

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

std::string svgOfSize(const std::string& attributes) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" " + attributes +
           "><rect width=\"10\" height=\"10\" fill=\"red\"/></svg>";
}

bool anyVisible(const RgbaImage& image) {
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
        if (image.pixels[i] != 0)
            return true;
    }
    return false;
}

class SvgTest : public test::TempFolderTest {
protected:
    // The size of the PNG rsvg-convert makes of the document, from its header.
    PictureSize rsvgConvertSize(const std::string& svg) {
        writeFile("in.svg", svg);
        if (!test::runTool("rsvg-convert '" + path("in.svg") + "' -o '" + path("out.png") + "'"))
            return {};
        const std::string png = readFile("out.png");
        auto be32 = [&](std::size_t at) {
            return std::int64_t{static_cast<unsigned char>(png[at])} << 24 |
                   static_cast<unsigned char>(png[at + 1]) << 16 |
                   static_cast<unsigned char>(png[at + 2]) << 8 |
                   static_cast<unsigned char>(png[at + 3]);
        };
        return png.size() < 24 ? PictureSize{} : PictureSize{be32(16), be32(20)};
    }
};

// Documents of every drawing feature render as rsvg-convert renders them.
class SvgRenderTest : public SvgTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SvgRenderTest, RendersAsRsvgConvert) {
    const std::string file = kSvgData + GetParam();
    const std::string bytes = readWholeFile(file);
    const RgbaImage rendered = renderSvg(bytes, file);
    ASSERT_TRUE(test::runTool("rsvg-convert '" + file + "' -o '" + path("ref.png") + "'"));
    const RgbaImage expected = test::pngPixels(path("ref.png"), folder_.string());
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(test::sameVisiblePixels(rendered, expected, 1));
    const PictureFileSize size = measureSvg(bytes, file);
    EXPECT_EQ(size.size.width, rendered.width);
    EXPECT_EQ(size.size.height, rendered.height);
    EXPECT_EQ(size.pixels, std::int64_t{rendered.width} * rendered.height);
}

INSTANTIATE_TEST_SUITE_P(Documents, SvgRenderTest,
                         ::testing::Values("shapes.svg", "gradients.svg", "paths.svg",
                                           "effects.svg"));

// Width and height in each unit, or the viewBox without them, give rsvg-convert's size.
class SvgSizeTest : public SvgTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SvgSizeTest, IntrinsicSizeIsRsvgConverts) {
    const std::string svg = svgOfSize(GetParam());
    const PictureSize expected = rsvgConvertSize(svg);
    ASSERT_GT(expected.width, 0);
    const PictureFileSize measured = measureSvg(svg);
    EXPECT_EQ(measured.size.width, expected.width);
    EXPECT_EQ(measured.size.height, expected.height);
    const RgbaImage rendered = renderSvg(svg);
    EXPECT_EQ(rendered.width, expected.width);
    EXPECT_EQ(rendered.height, expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Units, SvgSizeTest,
    ::testing::Values("width=\"33\" height=\"17px\"", "width=\"100.5px\" height=\"0.2px\"",
                      "width=\"2in\" height=\"0.5in\"", "width=\"5cm\" height=\"2.54cm\"",
                      "width=\"50mm\" height=\"25.4mm\"", "width=\"72pt\" height=\"10pt\"",
                      "width=\"6pc\" height=\"1pc\"", "viewBox=\"0 0 30.2 20\"",
                      "width=\"50%\" height=\"100%\" viewBox=\"-5 -5 40 21\""));

TEST(Svg, WithoutASizeItIsRefused) {
    EXPECT_EQ(errorOf([] { renderSvg(svgOfSize("")); }), msg::kSvgNoSize);
    EXPECT_EQ(errorOf([] { measureSvg(svgOfSize("width=\"50%\" height=\"20\"")); }),
              msg::kSvgNoSize);
}

TEST(Svg, DamagedDocumentsGiveLibrsvgsReason) {
    const std::string prefix = format(msg::kSvgNotValid, "");
    for (const std::string bytes :
         {"", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"><rect",
          "<svg width=\"10\" height=\"10\"></g></svg>", "\x89PNG\r\n\x1a\n not xml"}) {
        for (const std::string& error :
             {errorOf([&] { renderSvg(bytes); }), errorOf([&] { measureSvg(bytes); })}) {
            EXPECT_EQ(error.substr(0, prefix.size()), prefix) << bytes;
            EXPECT_GT(error.size(), prefix.size()) << bytes;
        }
    }
}

TEST(Svg, HugeClaimsAreRefusedBeforeRendering) {
    std::string svg = svgOfSize("width=\"100000\" height=\"100000\"");
    svg.insert(svg.size() - 6, std::string(900, ' '));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([&] { renderSvg(svg); }), msg::kImageTooLarge);
    EXPECT_EQ(errorOf([&] { measureSvg(svg); }), msg::kImageTooLarge);
    EXPECT_EQ(errorOf([&] { renderSvg(svgOfSize("width=\"40000\" height=\"2\"")); }),
              msg::kImageTooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    const std::string small = svgOfSize("width=\"20\" height=\"10\"");
    EXPECT_EQ(errorOf([&] { renderSvg(small, {}, {199, kMaxTotalPixels}); }), msg::kImageTooLarge);
    EXPECT_EQ(renderSvg(small, {}, {200, 200}).width, 20);
}

// A picture beside the document loads; one outside its folder, one named by an absolute path
// elsewhere or one on the network never does, nor does anything when the document has no file.
TEST_F(SvgTest, ReferencesStayInsideTheDocumentsFolder) {
    std::filesystem::create_directory(folder_ / "doc");
    std::filesystem::copy_file(kPng, path("doc/inside.png"));
    std::filesystem::copy_file(kPng, path("outside.png"));
    auto rendered = [&](const std::string& href, const std::string& documentPath) {
        const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"20\" "
                                "height=\"20\"><image width=\"20\" height=\"20\" xlink:href=\"" +
                                href + "\"/></svg>";
        return anyVisible(renderSvg(svg, documentPath));
    };
    const std::string document = path("doc/page.svg");
    EXPECT_TRUE(rendered("inside.png", document));
    EXPECT_FALSE(rendered("../outside.png", document));
    EXPECT_FALSE(rendered("file://" + path("outside.png"), document));
    EXPECT_FALSE(rendered("http://127.0.0.1:9/outside.png", document));
    EXPECT_FALSE(rendered("inside.png", ""));
    EXPECT_FALSE(rendered(path("doc/inside.png"), ""));
}

} // namespace
} // namespace kelmor
