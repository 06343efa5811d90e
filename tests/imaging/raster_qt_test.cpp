#include "base/error.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/jpeg.h"
#include "imaging/picture.h"
#include "imaging/picture_qt.h"
#include "support/temp_folder.h"

#include <QBuffer>
#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(KELMOR_TEST_DATA) + "/corpora/";

QImage qtRead(const std::string& path, const char* format) {
    const std::string bytes = readWholeFile(path);
    return QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), format);
}

// Pixels whose colour differs from the reference by more than `tolerance` per
// channel. Pixels the reference shows transparent are skipped: their colour is
// not part of the picture.
int differingPixels(const QImage& ours, const QImage& reference, int tolerance) {
    const QImage theirs = reference.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y);
            const QRgb b = theirs.pixel(x, y);
            if (qAlpha(b) == 0)
                continue;
            if (std::abs(qRed(a) - qRed(b)) > tolerance ||
                std::abs(qGreen(a) - qGreen(b)) > tolerance ||
                std::abs(qBlue(a) - qBlue(b)) > tolerance)
                ++count;
        }
    }
    return count;
}

// ---- BMP files against the suite's expected renderings --------------------------------------

struct Rendering {
    const char* file;
    const char* png;
    int tolerance; // 1 where channels are not 8 bits wide: scalings may round either way
};

void PrintTo(const Rendering& c, std::ostream* out) {
    *out << c.file;
}

class BmpRendering : public ::testing::TestWithParam<Rendering> {};

TEST_P(BmpRendering, MatchesTheSuitesExpectedPicture) {
    const QImage expected = qtRead(kData + "bmpsuite/html/" + GetParam().png, "PNG");
    ASSERT_FALSE(expected.isNull());
    const QImage ours = toQImage(readBmp(readWholeFile(kData + "bmpsuite/" + GetParam().file)));
    ASSERT_EQ(ours.size(), expected.size());
    EXPECT_EQ(differingPixels(ours, expected, GetParam().tolerance), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Suite, BmpRendering,
    ::testing::Values(
        Rendering{"g/pal1.bmp", "pal1.png", 0}, Rendering{"g/pal1bg.bmp", "pal1bg.png", 0},
        Rendering{"g/pal1wb.bmp", "pal1.png", 0}, Rendering{"g/pal4.bmp", "pal4.png", 0},
        Rendering{"g/pal4gs.bmp", "pal4gs.png", 0}, Rendering{"g/pal4rle.bmp", "pal4.png", 0},
        Rendering{"g/pal8.bmp", "pal8.png", 0}, Rendering{"g/pal8gs.bmp", "pal8gs.png", 0},
        Rendering{"g/pal8nonsquare.bmp", "pal8nonsquare-e.png", 0},
        Rendering{"g/pal8w124.bmp", "pal8w124.png", 0},
        Rendering{"g/pal8w125.bmp", "pal8w125.png", 0},
        Rendering{"g/pal8w126.bmp", "pal8w126.png", 0}, Rendering{"g/rgb16.bmp", "rgb16.png", 1},
        Rendering{"g/rgb16-565.bmp", "rgb16-565.png", 1},
        Rendering{"g/rgb16-565pal.bmp", "rgb16-565.png", 1},
        Rendering{"g/rgb24.bmp", "rgb24.png", 0}, Rendering{"g/rgb32.bmp", "rgb24.png", 0},
        // Other headers, palettes, row orders and masks for the same pictures.
        Rendering{"g/pal8-0.bmp", "pal8.png", 0}, Rendering{"g/pal8rle.bmp", "pal8.png", 0},
        Rendering{"g/pal8topdown.bmp", "pal8.png", 0}, Rendering{"g/pal8os2.bmp", "pal8.png", 0},
        Rendering{"g/pal8v4.bmp", "pal8.png", 0}, Rendering{"g/pal8v5.bmp", "pal8.png", 0},
        Rendering{"q/pal8offs.bmp", "pal8.png", 0}, Rendering{"q/pal8os2sp.bmp", "pal8.png", 0},
        Rendering{"q/pal8os2v2.bmp", "pal8.png", 0}, Rendering{"q/pal8os2v2-16.bmp", "pal8.png", 0},
        Rendering{"q/pal8oversizepal.bmp", "pal8.png", 0},
        Rendering{"b/badpalettesize.bmp", "pal8.png", 0},
        Rendering{"g/rgb16bfdef.bmp", "rgb16.png", 1}, Rendering{"g/rgb32bf.bmp", "rgb24.png", 0},
        Rendering{"g/rgb32bfdef.bmp", "rgb24.png", 0},
        Rendering{"q/rgb32-xbgr.bmp", "rgb24.png", 0}, Rendering{"q/rgb32h52.bmp", "rgb24.png", 0},
        Rendering{"g/rgb24pal.bmp", "rgb24.png", 0},
        Rendering{"q/rgb24largepal.bmp", "rgb24.png", 0},
        Rendering{"q/pal1p1.bmp", "pal1p1.png", 0}, Rendering{"q/pal2.bmp", "pal2.png", 0},
        Rendering{"q/pal2color.bmp", "pal2color.png", 0},
        // Pixels a run-length picture never sets are shown with palette index 0.
        Rendering{"q/pal4rlecut.bmp", "pal4rlecut-0.png", 0},
        Rendering{"q/pal4rletrns.bmp", "pal4rletrns-0.png", 0},
        Rendering{"q/pal8rlecut.bmp", "pal8rlecut-0.png", 0},
        Rendering{"q/pal8rletrns.bmp", "pal8rletrns-0.png", 0},
        Rendering{"q/rgb16-231.bmp", "rgb16-231.png", 1},
        Rendering{"q/rgb16-3103.bmp", "rgb16-3103.png", 1},
        Rendering{"q/rgb16faketrns.bmp", "rgb16.png", 1},
        Rendering{"q/rgb32-7187.bmp", "rgb32-7187.png", 1},
        Rendering{"q/rgb32-111110.bmp", "rgb24.png", 1},
        Rendering{"q/rgb32fakealpha.bmp", "rgb24.png", 0},
        Rendering{"q/rgba16-1924.bmp", "rgba16-1924.png", 1},
        Rendering{"q/rgba16-4444.bmp", "rgba16-4444.png", 1},
        Rendering{"q/rgba16-5551.bmp", "rgba16-5551.png", 1},
        Rendering{"q/rgba32-1.bmp", "rgba32.png", 0}, Rendering{"q/rgba32-2.bmp", "rgba32.png", 0},
        Rendering{"q/rgba32-1010102.bmp", "rgba32-1010102.png", 1},
        Rendering{"q/rgba32-61754.bmp", "rgba32-61754.png", 1},
        Rendering{"q/rgba32-81284.bmp", "rgba32-81284.png", 1},
        Rendering{"q/rgba32abf.bmp", "rgba32.png", 0},
        Rendering{"q/rgba32h56.bmp", "rgba32.png", 0},
        Rendering{"b/rgb16-880.bmp", "rgb16-880.png", 1}));

// ---- BMP files against Qt's reader ----------------------------------------------------------

// Every suite file that both Qt and Kelmor read decodes to Qt's colours, but
// for the files below, where Qt's reader is known to differ.
TEST(BmpAgainstQt, SuiteFilesBothReadHaveTheSameColours) {
    const std::set<std::string> qtDiffers = {
        // Run-length data past the edges or cut short: readers place or fill it differently.
        "b/badrle.bmp", "b/badrlebis.bmp", "b/badrleter.bmp", "b/badrle4.bmp", "b/badrle4bis.bmp",
        "b/badrle4ter.bmp", "q/pal4rlecut.bmp", "q/pal4rletrns.bmp", "q/pal8rlecut.bmp",
        "q/pal8rletrns.bmp",
        // Qt reads the full 256-entry OS/2 palette past the pixel data offset.
        "q/pal8os2sp.bmp",
        // Qt scales channels that are not 8 bits wide by shifting, and reads the
        // unused top bits of BI_RGB pixels as alpha.
        "g/rgb16.bmp", "g/rgb16-565.bmp", "g/rgb16-565pal.bmp", "g/rgb16bfdef.bmp",
        "q/rgb16-231.bmp", "q/rgb16-3103.bmp", "q/rgb16faketrns.bmp", "q/rgb32-7187.bmp",
        "q/rgb32-111110.bmp", "q/rgba16-1924.bmp", "q/rgba16-4444.bmp", "q/rgba16-5551.bmp",
        "q/rgba32-1010102.bmp", "q/rgba32-61754.bmp", "q/rgba32-81284.bmp", "b/rgb16-880.bmp"};
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kData + "bmpsuite")) {
        if (entry.path().extension() != ".bmp")
            continue;
        const std::string name = fs::relative(entry.path(), kData + "bmpsuite").string();
        const QImage theirs = qtRead(entry.path().string(), "BMP");
        Bitmap ours;
        try {
            ours = readBmp(readWholeFile(entry.path().string()));
        } catch (const Error&) {
            continue;
        }
        if (theirs.isNull() || qtDiffers.count(name))
            continue;
        ++compared;
        ASSERT_EQ(ours.width(), theirs.width()) << name;
        ASSERT_EQ(ours.height(), theirs.height()) << name;
        EXPECT_EQ(differingPixels(toQImage(ours), theirs, 0), 0) << name;
    }
    EXPECT_GT(compared, 40);
}

// ---- JPEG against Qt's reader (the same libjpeg underneath) ---------------------------------

struct JpegCase {
    const char* file;
    int tolerance; // Qt truncates where Kelmor rounds the CMYK product
};

void PrintTo(const JpegCase& c, std::ostream* out) {
    *out << c.file;
}

class JpegAgainstQt : public ::testing::TestWithParam<JpegCase> {};

TEST_P(JpegAgainstQt, DecodesToQtsColours) {
    const std::string path = kData + "raster-misc/" + GetParam().file;
    const QImage theirs = qtRead(path, "JPEG");
    ASSERT_FALSE(theirs.isNull());
    const QImage ours = toQImage(decodeJpeg(readWholeFile(path)));
    ASSERT_EQ(ours.size(), theirs.size());
    EXPECT_EQ(differingPixels(ours, theirs, GetParam().tolerance), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, JpegAgainstQt,
                         ::testing::Values(JpegCase{"libjpeg-turbo/testorig.jpg", 0},
                                           JpegCase{"libjpeg-turbo/testimgint.jpg", 0},
                                           JpegCase{"blink/cs-uma-grayscale.jpg", 0},
                                           JpegCase{"blink/cs-uma-ycbcr-420.jpg", 0},
                                           JpegCase{"blink/ycbcr-420-progressive.jpg", 0},
                                           JpegCase{"wuffs/peacock.default.truncated.jpeg", 0},
                                           JpegCase{"blink/cs-uma-cmyk.jpg", 1},
                                           JpegCase{"blink/cs-uma-ycck.jpg", 1},
                                           JpegCase{"golang/video-001.cmyk.jpeg", 1}));

// The limit counts pixels, not the length of a side: a long thin JPEG decodes like Qt's.
TEST(JpegLongThin, DecodesToQtsColours) {
    QImage tall(8, 30000, QImage::Format_RGB32);
    tall.fill(qRgb(200, 40, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(tall.save(&buffer, "JPEG", 95));
    const QImage ours = toQImage(decodeJpeg(bytes.toStdString()));
    ASSERT_EQ(ours.size(), QSize(8, 30000));
    EXPECT_EQ(differingPixels(ours, QImage::fromData(bytes, "JPEG"), 0), 0);
}

// ---- Icons through Qt's reader --------------------------------------------------------------

class IconFiles : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        installQtIconDecoder();
    }
};

TEST_F(IconFiles, LoadThroughQtAndSaveBackByteForByte) {
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgba(0, 0, 255, 255));
    icon.setPixel(3, 4, qRgba(0, 0, 0, 0));
    ASSERT_TRUE(icon.save(QString::fromStdString(path("a.ico")), "ICO"));

    Picture picture;
    picture.loadFromFile(path("a.ico"));
    ASSERT_EQ(picture.format(), PictureFormat::Icon);
    EXPECT_EQ(picture.width(), 16);
    EXPECT_EQ(picture.bitmap()->color(0, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(picture.bitmap()->alpha(0, 0), 255);
    EXPECT_EQ(picture.bitmap()->alpha(3, 4), 0);

    picture.saveToFile(path("copy.bmp"));
    EXPECT_EQ(readWholeFile(path("copy.bmp")), readWholeFile(path("a.ico")));
}

TEST_F(IconFiles, DamagedIconIsNotValid) {
    writeFile("bad.ICO", std::string("\0\0\1\0\1\0garbage", 14));
    Picture picture;
    try {
        picture.loadFromFile(path("bad.ICO"));
        FAIL() << "loaded";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Icon image is not valid");
    }
    EXPECT_TRUE(picture.empty());
}

} // namespace
} // namespace kelmor
