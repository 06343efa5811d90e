// The titles pictures hold for themselves, in every format that has one: PNG text chunks made
// chunk by chunk, SVG documents as text, GIF files through the project's encoder and WebP files
// through libwebp's tools (cwebp, then webpmux for the XMP chunk).
#include "imaging/gif_encode.h"
#include "imaging/gif_rgba.h"
#include "imaging/picture_title.h"
#include "imaging/png.h"
#include "png_files.h"
#include "support/temp_folder.h"
#include "tool_pictures.h"

#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace kelmor {
namespace {

using Maker = std::string (*)(const std::string& scratch);

struct TitleCase {
    const char* name;
    const char* file;
    Maker make;
    std::optional<std::string> title;
};

std::string pngWith(const std::string& chunks) {
    return test::pngFile(1, 1, {2, 8}, {10, 20, 30}, chunks);
}

std::string gifWithComments(const std::vector<std::vector<std::string>>& commentsPerFrame) {
    GifImage image = gifFromRgba(RgbaImage::blank(2, 2));
    image.frames().resize(commentsPerFrame.size(), image.frame(0));
    for (std::size_t i = 0; i < commentsPerFrame.size(); ++i) {
        for (const std::string& text : commentsPerFrame[i])
            image.frames()[i].extensions.emplace_back(GifCommentExtension{{text, "!"}});
    }
    return encodeGif(image);
}

std::string webpWithXmp(const std::string& scratch, const std::string& xmp) {
    std::ofstream(scratch + ".png", std::ios::binary) << encodePng(RgbaImage::blank(3, 2));
    std::ofstream(scratch + ".xmp", std::ios::binary) << xmp;
    const bool made =
        test::runTool("cwebp -lossless '" + scratch + ".png' -o '" + scratch + "-plain.webp'") &&
        (xmp.empty() || test::runTool("webpmux -set xmp '" + scratch + ".xmp' '" + scratch +
                                      "-plain.webp' -o '" + scratch + "-plain.webp'"));
    return made ? test::fileBytes(scratch + "-plain.webp") : std::string();
}

constexpr const char* kXmp =
    R"(<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">)"
    R"(<rdf:Description xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:creator><rdf:Seq>)"
    R"(<rdf:li>Someone</rdf:li></rdf:Seq></dc:creator><dc:title><rdf:Alt>)"
    R"(<rdf:li xml:lang="x-default">Caf&#xE9; &amp; tea</rdf:li><rdf:li xml:lang="fr">Th&#233;</rdf:li>)"
    R"(</rdf:Alt></dc:title></rdf:Description></rdf:RDF></x:xmpmeta>)";

const TitleCase kCases[] = {
    {"PngText", "t.png",
     [](const std::string&) {
         return pngWith(test::pngChunk("tEXt", std::string("Author\0Me", 9)) +
                        test::pngChunk("tEXt", std::string("Title\0Home page", 15)));
     },
     "Home page"},
    {"PngInternationalText", "t.png",
     [](const std::string&) {
         return pngWith(
             test::pngChunk("iTXt", std::string("Title\0\0\0fr\0Titre\0Caf\xC3\xA9", 22)));
     },
     "Caf\xC3\xA9"},
    {"PngOtherKeywordsOnly", "t.png",
     [](const std::string&) {
         return pngWith(test::pngChunk("tEXt", std::string("Titles\0x", 8)));
     },
     std::nullopt},
    {"PngLatin1Title", "t.png",
     [](const std::string&) {
         return pngWith(test::pngChunk("tEXt", std::string("Title\0Caf\xE9", 10)));
     },
     "Caf\xC3\xA9"},
    {"SvgRootTitleEntities", "t.svg",
     [](const std::string&) -> std::string {
         return "<?xml version=\"1.0\"?>\n<!-- <title>no</title> -->\n<svg "
                "xmlns=\"http://www.w3.org/2000/svg\" "
                "width=\"4\" height=\"4\"><desc>d</desc>\n<title> Fish &amp; chips "
                "&lt;&gt;&quot;&apos; "
                "&#233;&#x263A; </title><title>second</title></svg>";
     },
     "Fish & chips <>\"' \xC3\xA9\xE2\x98\xBA"},
    {"SvgPrefixedAndCdata", "t.svg",
     [](const std::string&) -> std::string {
         return "<svg:svg "
                "xmlns:svg=\"http://www.w3.org/2000/svg\"><svg:g><svg:title>inner</svg:title>"
                "</svg:g><svg:title><![CDATA[a & b]]></svg:title></svg:svg>";
     },
     "a & b"},
    {"SvgNestedTitleOnly", "t.svg",
     [](const std::string&) -> std::string {
         return "<svg><g><title>inner</title></g><rect/></svg>";
     },
     std::nullopt},
    {"SvgUnknownReference", "t.svg",
     [](const std::string&) -> std::string { return "<svg><title>&nbsp;x</title></svg>"; },
     std::nullopt},
    {"GifCommentAfterFirstImage", "t.gif",
     [](const std::string&) {
         return gifWithComments({{}, {"Home", "More"}});
     },
     "Home!"},
    {"GifNoComment", "t.gif",
     [](const std::string&) {
         return gifWithComments({{}, {}});
     },
     std::nullopt},
    {"WebpXmpTitle", "t.webp",
     [](const std::string& scratch) { return webpWithXmp(scratch, kXmp); }, "Caf\xC3\xA9 & tea"},
    {"WebpWithoutXmp", "t.webp",
     [](const std::string& scratch) { return webpWithXmp(scratch, ""); }, std::nullopt},
    {"BitmapHoldsNone", "t.bmp", [](const std::string&) -> std::string { return "BM"; },
     std::nullopt},
};

class PictureTitleTest : public test::TempFolderTest,
                         public ::testing::WithParamInterface<TitleCase> {};

TEST_P(PictureTitleTest, ReadsTheFilesOwnTitle) {
    const std::string bytes = GetParam().make(path("scratch"));
    if (bytes.empty())
        GTEST_SKIP() << "libwebp's tools are not installed";
    EXPECT_EQ(readPictureTitle(writeFile(GetParam().file, bytes)), GetParam().title);
}

std::string caseName(const ::testing::TestParamInfo<TitleCase>& testCase) {
    return testCase.param.name;
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureTitleTest, ::testing::ValuesIn(kCases), caseName);

} // namespace
} // namespace kelmor
