// GIF -> BMP and BMP -> GIF on pictures nobody here made, against independent
// readings of the same files: giflib for GIF, Qt's BMP reader for BMP. Each failure's
// message is checked through kelmor-cli convert (cli_convert_test.cpp), and what the Pics
// tab does after a failed read or write in pics_tab_test.cpp.
#include "base/error.h"
#include "base/read_file.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_test_support.h"
#include "imaging/tool_pictures.h"
#include "pictures/conversion.h"
#include "support/temp_folder.h"

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace kelmor {
namespace {

namespace fs = std::filesystem;
using test::TempFolderTest;

const fs::path kCorpora = fs::path(KELMOR_TEST_DATA) / "corpora";

QImage qtReadBmp(const std::string& path) {
    const std::string bytes = readWholeFile(path);
    return QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "BMP");
}

QRgb qtColor(const Rgb& c) {
    return qRgb(c.r, c.g, c.b);
}

const std::vector<Rgb>& colorsOf(const test::GiflibResult& gif,
                                 const test::GiflibResult::Frame& frame) {
    return frame.localColors.empty() ? gif.globalColors : frame.localColors;
}

// Every corpus GIF that giflib reads and Kelmor reads without a warning: with a
// damaged file the two may rightly differ in what they make of the damage.
std::vector<std::string> cleanGifs() {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(kCorpora)) {
        if (entry.path().extension() != ".gif")
            continue;
        const std::string bytes = readWholeFile(entry.path().string());
        if (!test::giflibDecode(bytes).ok)
            continue;
        GifImage image;
        bool warned = false;
        GifDecodeOptions options;
        options.warn = [&](const std::string&) { warned = true; };
        try {
            image = decodeGif(bytes, options);
        } catch (const Error&) {
            continue;
        }
        if (!warned && !toBitmap(image).empty())
            files.push_back(fs::relative(entry.path(), kCorpora).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class GifToBmp : public TempFolderTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(GifToBmp, WritesTheFirstFrameAsTheRulesSay) {
    const std::string source = (kCorpora / GetParam()).string();
    const test::GiflibResult gif = test::giflibDecode(readWholeFile(source));
    const test::GiflibResult::Frame& first = gif.frames.front();
    const std::vector<Rgb>& table = colorsOf(gif, first);
    convertPicture(ConversionDirection::GifToBmp, source, path("out.bmp"));
    const QImage bmp = qtReadBmp(path("out.bmp"));
    ASSERT_EQ(bmp.size(), QSize(gif.width, gif.height));

    if (first.left == 0 && first.top == 0 && first.width == gif.width &&
        first.height == gif.height) {
        // The frame's own 8-bit bitmap: its colour table and its indices, transparency dropped.
        ASSERT_EQ(bmp.format(), QImage::Format_Indexed8);
        ASSERT_EQ(bmp.colorTable().size(), static_cast<qsizetype>(table.size()));
        for (std::size_t i = 0; i < table.size(); ++i)
            EXPECT_EQ(bmp.colorTable()[static_cast<qsizetype>(i)], qtColor(table[i])) << i;
        for (int y = 0; y < gif.height; ++y)
            for (int x = 0; x < gif.width; ++x)
                ASSERT_EQ(bmp.pixelIndex(x, y), first.pixels[std::size_t(y) * first.width + x])
                    << x << "," << y;
        return;
    }
    // A 32-bit bitmap of the screen: the frame at its place, black around it and under its
    // transparent pixels.
    ASSERT_EQ(bmp.depth(), 32);
    for (int y = 0; y < gif.height; ++y)
        for (int x = 0; x < gif.width; ++x) {
            QRgb expected = qRgb(0, 0, 0);
            const int fx = x - first.left, fy = y - first.top;
            if (fx >= 0 && fy >= 0 && fx < first.width && fy < first.height) {
                const int index = first.pixels[std::size_t(fy) * first.width + fx];
                if (index != first.transparentIndex && std::size_t(index) < table.size())
                    expected = qtColor(table[std::size_t(index)]);
            }
            ASSERT_EQ(bmp.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Corpora, GifToBmp, ::testing::ValuesIn(cleanGifs()),
                         [](const auto& param) {
                             std::string name = param.param;
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(c); },
                                 '_');
                             return name;
                         });

// The 216-colour level a channel value may take: (v + 3) / 51, or its neighbour when v is
// within `slack` of a level boundary (5- and 6-bit channels may be widened either way).
bool levelMatches(int level, int v, int slack) {
    for (int d = -slack; d <= slack; ++d)
        if ((std::clamp(v + d, 0, 255) + 3) / 51 == level)
            return true;
    return false;
}

// A bmpsuite file and the suite's rendering of it.
using BmpCase = std::pair<const char*, const char*>;

class BmpToGif : public TempFolderTest, public ::testing::WithParamInterface<BmpCase> {};

TEST_P(BmpToGif, KeepsThePaletteOrReducesToTheFixedColours) {
    const std::string source = (kCorpora / "bmpsuite" / GetParam().first).string();
    const QImage bmp = qtReadBmp(source);
    const QImage rendering(
        QString::fromStdString((kCorpora / "bmpsuite/html" / GetParam().second).string()));
    ASSERT_FALSE(bmp.isNull());
    ASSERT_EQ(rendering.size(), bmp.size());
    convertPicture(ConversionDirection::BmpToGif, source, path("out.gif"));
    const test::GiflibResult gif = test::giflibDecode(readWholeFile(path("out.gif")));
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 1u);
    const auto& frame = gif.frames.front();
    EXPECT_EQ(frame.extensionBlocks, 0) << "no animation, loop or transparency";
    ASSERT_EQ(QSize(frame.width, frame.height), bmp.size());
    ASSERT_EQ(QSize(gif.width, gif.height), bmp.size());
    const std::vector<Rgb>& table = colorsOf(gif, frame);
    auto indexAt = [&](int x, int y) { return frame.pixels[std::size_t(y) * frame.width + x]; };

    const std::string header = readWholeFile(source);
    const int bpp = static_cast<unsigned char>(header[header[14] == 12 ? 24 : 28]);
    if (bpp <= 8) {
        // The bitmap's own palette (no larger than its depth allows) and each pixel's colour.
        EXPECT_LE(table.size(), std::size_t(1) << bpp);
        for (int y = 0; y < bmp.height(); ++y)
            for (int x = 0; x < bmp.width(); ++x)
                ASSERT_EQ(qtColor(table.at(indexAt(x, y))), rendering.pixel(x, y) | 0xFF000000u)
                    << x << "," << y;
        return;
    }
    ASSERT_GE(table.size(), 216u);
    for (int i = 0; i < 216; ++i)
        EXPECT_EQ(table[std::size_t(i)],
                  (Rgb{std::uint8_t(i / 36 * 51), std::uint8_t(i / 6 % 6 * 51),
                       std::uint8_t(i % 6 * 51)}))
            << i;
    const int slack = bpp == 16 ? 1 : 0; // narrower channels: widening may round either way
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x) {
            const int index = indexAt(x, y);
            const QRgb c = rendering.pixel(x, y);
            ASSERT_TRUE(levelMatches(index / 36, qRed(c), slack) &&
                        levelMatches(index / 6 % 6, qGreen(c), slack) &&
                        levelMatches(index % 6, qBlue(c), slack))
                << x << "," << y << ": index " << index << " for " << std::hex << c;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Bmpsuite, BmpToGif,
    ::testing::Values(
        BmpCase{"g/pal1.bmp", "pal1.png"}, BmpCase{"g/pal1bg.bmp", "pal1bg.png"},
        BmpCase{"g/pal1wb.bmp", "pal1.png"}, BmpCase{"g/pal4.bmp", "pal4.png"},
        BmpCase{"g/pal4gs.bmp", "pal4gs.png"}, BmpCase{"g/pal4rle.bmp", "pal4.png"},
        BmpCase{"g/pal8.bmp", "pal8.png"}, BmpCase{"g/pal8-0.bmp", "pal8.png"},
        BmpCase{"g/pal8gs.bmp", "pal8gs.png"}, BmpCase{"g/pal8rle.bmp", "pal8.png"},
        BmpCase{"g/pal8os2.bmp", "pal8.png"}, BmpCase{"g/pal8topdown.bmp", "pal8.png"},
        BmpCase{"g/pal8nonsquare.bmp", "pal8nonsquare-e.png"}, BmpCase{"g/pal8v5.bmp", "pal8.png"},
        BmpCase{"g/pal8w126.bmp", "pal8w126.png"}, BmpCase{"g/rgb16.bmp", "rgb16.png"},
        BmpCase{"g/rgb16-565.bmp", "rgb16-565.png"}, BmpCase{"g/rgb16bfdef.bmp", "rgb16.png"},
        BmpCase{"g/rgb24.bmp", "rgb24.png"}, BmpCase{"g/rgb24pal.bmp", "rgb24.png"},
        BmpCase{"g/rgb32.bmp", "rgb24.png"}, BmpCase{"g/rgb32bf.bmp", "rgb24.png"},
        BmpCase{"g/rgb32bfdef.bmp", "rgb24.png"}, BmpCase{"q/rgb32-xbgr.bmp", "rgb24.png"}));

// Nothing on any corpus file crashes: each converts or fails with a message.
TEST_F(TempFolderTest, EveryCorpusFileConvertsOrFailsWithAMessage) {
    int converted = 0, refused = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kCorpora))
        for (auto direction : {ConversionDirection::GifToBmp, ConversionDirection::BmpToGif}) {
            if (!entry.is_regular_file())
                continue;
            try {
                convertPicture(direction, entry.path().string(), path("out"));
                ++converted;
            } catch (const Error& error) {
                EXPECT_STRNE(error.what(), "") << entry.path();
                ++refused;
            }
        }
    EXPECT_GT(converted, 100);
    EXPECT_GT(refused, 100);
}

// --- Any picture to PNG, WebP, GIF or BMP, read back by other programs ---------------------------

// The RGBA pixels of a PNG or BMP file as Qt's readers give them.
RgbaImage qtRead(const std::string& bytes) {
    const QImage read =
        QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())))
            .convertToFormat(QImage::Format_RGBA8888);
    RgbaImage image = RgbaImage::blank(read.width(), read.height());
    for (int y = 0; y < read.height(); ++y)
        std::copy_n(read.constScanLine(y), std::size_t(read.width()) * 4, image.row(y));
    return image;
}

// What a GIF reader shows of a GIF file: the first frame's colours, alpha 0 where transparent.
RgbaImage giflibRead(const std::string& bytes) {
    const test::GiflibResult gif = test::giflibDecode(bytes);
    if (!gif.ok || gif.frames.empty())
        return {};
    const test::GiflibResult::Frame& frame = gif.frames.front();
    RgbaImage image = RgbaImage::blank(frame.width, frame.height);
    for (std::size_t i = 0; i < frame.pixels.size(); ++i) {
        const Rgb c = colorsOf(gif, frame).at(frame.pixels[i]);
        const bool clear = frame.pixels[i] == frame.transparentIndex;
        std::copy_n(
            std::array<std::uint8_t, 4>{c.r, c.g, c.b, std::uint8_t(clear ? 0 : 255)}.data(), 4,
            image.pixels.data() + i * 4);
    }
    return image;
}

// Whether the pixels with alpha of 128 or more hold more colours than a GIF table has room for.
bool tooManyColours(const RgbaImage& image) {
    std::set<std::uint32_t> colours;
    bool transparent = false;
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        const std::uint8_t* p = image.pixels.data() + i;
        if (p[3] < 128)
            transparent = true;
        else
            colours.insert(std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2]);
    }
    return colours.size() > (transparent ? 255u : 256u);
}

// The pixels a conversion to `target` must keep of `source`: every one, but for GIF alpha cut at
// 128 and, when the picture holds more colours than a table, each channel at its 216-colour
// level.
RgbaImage expectedPixels(PictureTarget target, RgbaImage source) {
    if (target != PictureTarget::Gif)
        return source;
    const bool manyColours = tooManyColours(source);
    for (std::size_t i = 0; i < source.pixels.size(); i += 4) {
        std::uint8_t* p = source.pixels.data() + i;
        p[3] = p[3] < 128 ? 0 : 255;
        for (int c = 0; c < 3 && manyColours; ++c)
            p[c] = std::uint8_t((p[c] + 3) / 51 * 51);
    }
    return source;
}

std::string caseName(const char* source, PictureTarget target) {
    std::string name = fs::path(source).stem().string() + "_to_" +
                       fs::path(conversionOutputName(target)).extension().string().substr(1);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

class PictureConversion
    : public TempFolderTest,
      public ::testing::WithParamInterface<std::tuple<const char*, PictureTarget>> {};

TEST_P(PictureConversion, KeepsThePixelsAnotherReaderSees) {
    const auto [source, target] = GetParam();
    Picture picture;
    picture.loadFromFile((kCorpora / source).string());
    const std::string bytes = convertedPicture(target, picture);
    const RgbaImage read = target == PictureTarget::WebP
                               ? test::toolPixels(writeFile("out.webp", bytes), path("ref"))
                           : target == PictureTarget::Gif ? giflibRead(bytes)
                                                          : qtRead(bytes);
    const RgbaImage expected = expectedPixels(target, picture.rgba());
    // WebP and GIF keep no colour under a fully transparent pixel.
    if (target == PictureTarget::WebP || target == PictureTarget::Gif)
        EXPECT_TRUE(test::sameVisiblePixels(read, expected));
    else
        EXPECT_TRUE(read.pixels == expected.pixels && read.width == expected.width);
    // A BMP has 24 bits when opaque, else 32 with an alpha mask.
    if (target == PictureTarget::Bmp) {
        EXPECT_EQ(bytes[28], expected.opaque() ? 24 : 32);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PictureConversion,
    ::testing::Combine(::testing::Values("bmpsuite/html/rgba32.png", "bmpsuite/html/pal4gs.png",
                                         "bmpsuite/html/pal8.png", "bmpsuite/g/rgb24.bmp",
                                         "bmpsuite/q/rgba32-1.bmp",
                                         "pygif-gif-test-suite/transparent.gif"),
                       ::testing::Values(PictureTarget::Png, PictureTarget::WebP,
                                         PictureTarget::Gif, PictureTarget::Bmp)),
    [](const auto& param) { return caseName(std::get<0>(param.param), std::get<1>(param.param)); });

} // namespace
} // namespace kelmor
