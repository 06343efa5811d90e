#include "base/error.h"
#include "base/read_file.h"
#include "imaging/bmp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelmor {
namespace {

const std::string kSuite = std::string(KELMOR_TEST_DATA) + "/corpora/bmpsuite/";

std::string readSuite(const std::string& name) {
    return readWholeFile(kSuite + name);
}

std::string errorOf(const std::string& bytes) {
    try {
        readBmp(bytes);
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

// ---- Files of the BMP suite: what each gives ------------------------------------------------

struct SuiteCase {
    const char* file;
    int width; // 0 when the file must be refused
    int height;
    int bitsPerPixel;
    const char* error; // the refusal's message
};

SuiteCase reads(const char* file, int width, int height, int bitsPerPixel) {
    return {file, width, height, bitsPerPixel, ""};
}
SuiteCase refused(const char* file, const char* error) {
    return {file, 0, 0, 0, error};
}

void PrintTo(const SuiteCase& c, std::ostream* out) {
    *out << c.file;
}

class BmpSuite : public ::testing::TestWithParam<SuiteCase> {};

TEST_P(BmpSuite, LoadsOrGivesTheMessage) {
    const SuiteCase& c = GetParam();
    const std::string bytes = readSuite(c.file);
    if (c.width == 0) {
        EXPECT_EQ(errorOf(bytes), c.error);
        return;
    }
    const Bitmap bitmap = readBmp(bytes);
    EXPECT_EQ(bitmap.width(), c.width);
    EXPECT_EQ(bitmap.height(), c.height);
    EXPECT_EQ(bitmap.bitsPerPixel(), c.bitsPerPixel);
}

constexpr const char* kInvalid = "Bitmap image is not valid";

INSTANTIATE_TEST_SUITE_P(
    Good, BmpSuite,
    ::testing::Values(reads("g/pal1.bmp", 127, 64, 1), reads("g/pal1bg.bmp", 127, 64, 1),
                      reads("g/pal1wb.bmp", 127, 64, 1), reads("g/pal4.bmp", 127, 64, 4),
                      reads("g/pal4gs.bmp", 127, 64, 4), reads("g/pal4rle.bmp", 127, 64, 4),
                      reads("g/pal8-0.bmp", 127, 64, 8), reads("g/pal8.bmp", 127, 64, 8),
                      reads("g/pal8gs.bmp", 127, 64, 8), reads("g/pal8nonsquare.bmp", 127, 32, 8),
                      reads("g/pal8os2.bmp", 127, 64, 8), reads("g/pal8rle.bmp", 127, 64, 8),
                      reads("g/pal8topdown.bmp", 127, 64, 8), reads("g/pal8v4.bmp", 127, 64, 8),
                      reads("g/pal8v5.bmp", 127, 64, 8), reads("g/pal8w124.bmp", 124, 61, 8),
                      reads("g/pal8w125.bmp", 125, 62, 8), reads("g/pal8w126.bmp", 126, 63, 8),
                      reads("g/rgb16-565.bmp", 127, 64, 16),
                      reads("g/rgb16-565pal.bmp", 127, 64, 16), reads("g/rgb16.bmp", 127, 64, 16),
                      reads("g/rgb16bfdef.bmp", 127, 64, 16), reads("g/rgb24.bmp", 127, 64, 24),
                      reads("g/rgb24pal.bmp", 127, 64, 24), reads("g/rgb32.bmp", 127, 64, 32),
                      reads("g/rgb32bf.bmp", 127, 64, 32), reads("g/rgb32bfdef.bmp", 127, 64, 32)));

// Questionable files: most are read; those whose pixels are embedded PNG/JPEG
// data, OS/2 Huffman or RLE24 coded, or 64 bits deep are refused.
INSTANTIATE_TEST_SUITE_P(
    Questionable, BmpSuite,
    ::testing::Values(
        refused("q/pal1huffmsb.bmp", kInvalid), reads("q/pal1p1.bmp", 127, 64, 1),
        reads("q/pal2.bmp", 127, 64, 4), reads("q/pal2color.bmp", 127, 64, 4),
        reads("q/pal4rlecut.bmp", 127, 64, 4), reads("q/pal4rletrns.bmp", 127, 64, 4),
        reads("q/pal8offs.bmp", 127, 64, 8), reads("q/pal8os2-hs.bmp", 127, 64, 8),
        reads("q/pal8os2-sz.bmp", 127, 64, 8), reads("q/pal8os2sp.bmp", 127, 64, 8),
        reads("q/pal8os2v2-16.bmp", 127, 64, 8), reads("q/pal8os2v2-40sz.bmp", 127, 64, 8),
        reads("q/pal8os2v2-sz.bmp", 127, 64, 8), reads("q/pal8os2v2.bmp", 127, 64, 8),
        reads("q/pal8oversizepal.bmp", 127, 64, 8), reads("q/pal8rlecut.bmp", 127, 64, 8),
        reads("q/pal8rletrns.bmp", 127, 64, 8), reads("q/rgb16-231.bmp", 127, 64, 16),
        reads("q/rgb16-3103.bmp", 127, 64, 16), reads("q/rgb16faketrns.bmp", 127, 64, 16),
        refused("q/rgb24jpeg.bmp", kInvalid), reads("q/rgb24largepal.bmp", 127, 64, 24),
        reads("q/rgb24lprof.bmp", 127, 64, 24), refused("q/rgb24png.bmp", kInvalid),
        reads("q/rgb24prof.bmp", 127, 64, 24), reads("q/rgb24prof2.bmp", 127, 64, 24),
        refused("q/rgb24rle24.bmp", kInvalid), reads("q/rgb32-111110.bmp", 127, 64, 32),
        reads("q/rgb32-7187.bmp", 127, 64, 32), reads("q/rgb32-xbgr.bmp", 127, 64, 32),
        reads("q/rgb32fakealpha.bmp", 127, 64, 32), reads("q/rgb32h52.bmp", 127, 64, 32),
        reads("q/rgba16-1924.bmp", 127, 64, 16), reads("q/rgba16-4444.bmp", 127, 64, 16),
        reads("q/rgba16-5551.bmp", 127, 64, 16), reads("q/rgba32-1.bmp", 127, 64, 32),
        reads("q/rgba32-1010102.bmp", 127, 64, 32), reads("q/rgba32-2.bmp", 127, 64, 32),
        reads("q/rgba32-61754.bmp", 127, 64, 32), reads("q/rgba32-81284.bmp", 127, 64, 32),
        reads("q/rgba32abf.bmp", 127, 64, 32), reads("q/rgba32h56.bmp", 127, 64, 32),
        refused("q/rgba64.bmp", kInvalid), refused("x/ba-bm.bmp", kInvalid)));

// Bad files: damaged headers are refused, damage a reader can live with
// (wrong file size, image size or density fields, odd run-length data, palette
// indices past the palette) is read.
INSTANTIATE_TEST_SUITE_P(
    Bad, BmpSuite,
    ::testing::Values(
        refused("b/badbitcount.bmp", kInvalid), reads("b/badbitssize.bmp", 127, 64, 1),
        reads("b/baddens1.bmp", 127, 64, 1), reads("b/baddens2.bmp", 127, 64, 1),
        reads("b/badfilesize.bmp", 127, 64, 1), refused("b/badheadersize.bmp", kInvalid),
        reads("b/badpalettesize.bmp", 127, 64, 8), refused("b/badplanes.bmp", kInvalid),
        reads("b/badrle.bmp", 127, 64, 8), reads("b/badrle4.bmp", 127, 64, 4),
        reads("b/badrle4bis.bmp", 127, 64, 4), reads("b/badrle4ter.bmp", 127, 64, 4),
        reads("b/badrlebis.bmp", 127, 64, 8), reads("b/badrleter.bmp", 127, 64, 8),
        refused("b/badwidth.bmp", kInvalid), reads("b/pal8badindex.bmp", 127, 64, 8),
        refused("b/reallybig.bmp", "Image too large"), reads("b/rgb16-880.bmp", 127, 64, 16),
        refused("b/rletopdown.bmp", kInvalid), refused("b/shortfile.bmp", kInvalid)));

// Damaged and unusual BMPs met on the web: an empty picture, a height of
// INT32_MIN, embedded JPEG data at 24 bits; V5 headers written by other tools.
TEST(BmpWebFiles, LoadOrGiveTheMessage) {
    const std::string misc = std::string(KELMOR_TEST_DATA) + "/corpora/raster-misc/";
    EXPECT_EQ(errorOf(readWholeFile(misc + "blink/0x0.bmp")), kInvalid);
    EXPECT_EQ(errorOf(readWholeFile(misc + "blink/1xint32_min.bmp")), "Image too large");
    EXPECT_EQ(errorOf(readWholeFile(misc + "blink/crbug752898.bmp")), kInvalid);
    const Bitmap hat = readBmp(readWholeFile(misc + "wuffs/hat.bmp"));
    EXPECT_EQ(hat.width(), 90);
    EXPECT_EQ(hat.bitsPerPixel(), 24);
    const Bitmap thumbnail = readBmp(readWholeFile(misc + "wuffs/pjw-thumbnail.bmp"));
    EXPECT_EQ(thumbnail.height(), 32);
    EXPECT_EQ(thumbnail.palette.size(), 2u);
}

// ---- Run-length details ---------------------------------------------------------------------

// A run-length picture that skips pixels with deltas leaves them at index 0;
// every pixel it does draw has the reference colour.
TEST(BmpRle, SkippedPixelsStayAtIndexZero) {
    const Bitmap reference = readBmp(readSuite("g/pal8.bmp"));
    const Bitmap skipped = readBmp(readSuite("q/pal8rletrns.bmp"));
    int unset = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            if (skipped.index(x, y) == 0)
                ++unset;
            else
                ASSERT_EQ(skipped.color(x, y), reference.color(x, y)) << x << "," << y;
        }
    }
    EXPECT_GT(unset, 0);
}

// ---- Hand-made files ------------------------------------------------------------------------

void putU16(std::string& s, unsigned v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}
void putU32(std::string& s, std::uint32_t v) {
    putU16(s, v & 0xFFFF);
    putU16(s, v >> 16);
}

// A BITMAPINFOHEADER file with the given fields, a palette of `colors` grey
// entries and the pixel bytes as given.
std::string makeBmp(std::int32_t width, std::int32_t height, int bpp, std::uint32_t compression,
                    int colors, const std::string& pixels) {
    std::string s = "BM";
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(colors) * 4;
    putU32(s, offset + static_cast<std::uint32_t>(pixels.size()));
    putU32(s, 0);
    putU32(s, offset);
    putU32(s, 40);
    putU32(s, static_cast<std::uint32_t>(width));
    putU32(s, static_cast<std::uint32_t>(height));
    putU16(s, 1);
    putU16(s, static_cast<unsigned>(bpp));
    putU32(s, compression);
    putU32(s, static_cast<std::uint32_t>(pixels.size()));
    putU32(s, 0);
    putU32(s, 0);
    putU32(s, static_cast<std::uint32_t>(colors));
    putU32(s, 0);
    for (int i = 0; i < colors; ++i)
        putU32(s, static_cast<std::uint32_t>(i * 0x010101));
    return s + pixels;
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

std::vector<unsigned> indices(const Bitmap& b) {
    std::vector<unsigned> out;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            out.push_back(b.index(x, y));
    return out;
}

TEST(BmpRle, Rle8RunsAbsoluteRunsDeltasAndLineEnds) {
    // Bottom row: run of 2 x 5, absolute 3 pixels (padded), end of line.
    // Next row up: delta (1, 0), run 1 x 9, end of bitmap.
    const std::string data = bytes({2, 5, 0, 3, 7, 8, 6, 0, 0, 0, 0, 2, 1, 0, 1, 9, 0, 1});
    const Bitmap b = readBmp(makeBmp(5, 2, 8, kBiRle8, 10, data));
    EXPECT_EQ(indices(b), (std::vector<unsigned>{0, 9, 0, 0, 0, 5, 5, 7, 8, 6}));
}

TEST(BmpRle, Rle4AlternatesNibblesAndPadsOddAbsoluteRuns) {
    // Run of 3 from 0x12 gives 1 2 1; absolute run of 3 nibbles 3 4 5 in two
    // bytes padded to a word; then end of bitmap.
    const std::string data = bytes({3, 0x12, 0, 3, 0x34, 0x50, 0, 1});
    const Bitmap b = readBmp(makeBmp(6, 1, 4, kBiRle4, 16, data));
    EXPECT_EQ(indices(b), (std::vector<unsigned>{1, 2, 1, 3, 4, 5}));
}

TEST(BmpRle, RunsPastTheEdgeAreClippedAndADeltaOffTheTopEndsTheDecode) {
    const std::string data = bytes({200, 3, 0, 0, 2, 4, 0, 2, 9, 9});
    const Bitmap b = readBmp(makeBmp(3, 3, 8, kBiRle8, 5, data));
    // Bottom row 3 3 3, middle row 4 4 0, the delta runs off the top: stop.
    EXPECT_EQ(indices(b), (std::vector<unsigned>{0, 0, 0, 4, 4, 0, 3, 3, 3}));
}

struct DamagedCase {
    const char* name;
    std::string file;
    const char* error;
};

void PrintTo(const DamagedCase& c, std::ostream* out) {
    *out << c.name;
}

class BmpDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(BmpDamaged, GivesTheMessage) {
    EXPECT_EQ(errorOf(GetParam().file), GetParam().error);
}

std::string withByte(std::string s, std::size_t at, char value) {
    s[at] = value;
    return s;
}

const std::string kGood = makeBmp(2, 2, 8, kBiRgb, 2, std::string(8, '\1'));

INSTANTIATE_TEST_SUITE_P(
    HandMade, BmpDamaged,
    ::testing::Values(
        DamagedCase{"Empty", "", kInvalid}, DamagedCase{"NotBM", withByte(kGood, 1, 'A'), kInvalid},
        DamagedCase{"CutInTheHeader", kGood.substr(0, 30), kInvalid},
        DamagedCase{"CutInThePalette", kGood.substr(0, 58), kInvalid},
        DamagedCase{"CutInThePixels", kGood.substr(0, kGood.size() - 1), kInvalid},
        DamagedCase{"ZeroWidth", makeBmp(0, 2, 8, kBiRgb, 2, std::string(8, '\0')), kInvalid},
        DamagedCase{"ZeroHeight", makeBmp(2, 0, 8, kBiRgb, 2, ""), kInvalid},
        DamagedCase{"Rle8At4Bits", makeBmp(2, 2, 4, kBiRle8, 2, bytes({0, 1})), kInvalid},
        DamagedCase{"BitfieldsAt24Bits", makeBmp(2, 2, 24, kBiBitfields, 0, std::string(40, '\0')),
                    kInvalid},
        DamagedCase{"UnknownCompression", makeBmp(2, 2, 8, 9, 2, std::string(8, '\0')), kInvalid},
        DamagedCase{"OffsetPastTheEnd", withByte(kGood, 11, '\x7F'), kInvalid},
        DamagedCase{"TooWide", makeBmp(std::int32_t{1} << 27, 1, 1, kBiRgb, 2, ""),
                    "Image too large"},
        DamagedCase{"TooManyBytes", makeBmp(16384, 16384, 24, kBiRgb, 0, ""), "Image too large"},
        DamagedCase{"HeightOfInt32Min",
                    makeBmp(1, std::numeric_limits<std::int32_t>::min(), 8, kBiRgb, 2, ""),
                    "Image too large"}));

// The limit counts pixels, not the length of a side: long thin bitmaps open.
TEST(BmpRead, LongThinBitmapsOpen) {
    const Bitmap tall = readBmp(makeBmp(1, 65535, 8, kBiRgb, 2, std::string(4 * 65535, '\1')));
    EXPECT_EQ(tall.width(), 1);
    EXPECT_EQ(tall.height(), 65535);
    EXPECT_EQ(tall.index(0, 65534), 1u);
    const Bitmap wide = readBmp(makeBmp(100000, 1, 8, kBiRgb, 2, std::string(100000, '\1')));
    EXPECT_EQ(wide.width(), 100000);
    EXPECT_EQ(wide.index(99999, 0), 1u);
}

TEST(BmpRead, Os2CoreHeaderWithThreeBytePalette) {
    std::string s = "BM";
    putU32(s, 14 + 12 + 6 + 4);
    putU32(s, 0);
    putU32(s, 14 + 12 + 6);
    putU32(s, 12);
    putU16(s, 3); // width
    putU16(s, 1); // height
    putU16(s, 1);
    putU16(s, 1);
    s += bytes({0x10, 0x20, 0x30, 0x40, 0x50, 0x60}); // blue, green, red x 2
    s += bytes({0xA0, 0, 0, 0});                      // 1 0 1
    BmpFileInfo info;
    const Bitmap b = readBmp(s, &info);
    EXPECT_EQ(info.headerSize, 12u);
    ASSERT_EQ(b.palette.size(), 2u);
    EXPECT_EQ(b.palette[1], (Rgb{0x60, 0x50, 0x40}));
    EXPECT_EQ(indices(b), (std::vector<unsigned>{1, 0, 1}));
}

TEST(BmpRead, TwoBitPixelsBecomeFourBitOnes) {
    // One row of 5 pixels: 3 2 1 0 | 3, padded to four bytes.
    const Bitmap b = readBmp(makeBmp(5, 1, 2, kBiRgb, 4, bytes({0xE4, 0xC0, 0, 0})));
    EXPECT_EQ(b.bitsPerPixel(), 4);
    EXPECT_EQ(indices(b), (std::vector<unsigned>{3, 2, 1, 0, 3}));
}

// ---- Write and read back --------------------------------------------------------------------

struct RoundTripCase {
    const char* name;
    int bitsPerPixel;
    int width;
    std::uint32_t red, green, blue, alpha; // masks for 16/32 bits; 0 keeps the defaults
    int paletteSize;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
    *out << c.name;
}

class BmpRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(BmpRoundTrip, KeepsPixelFormatPaletteAndPixels) {
    const RoundTripCase& c = GetParam();
    Bitmap original(c.width, 3, c.bitsPerPixel);
    if (c.red != 0) {
        original.redMask = c.red;
        original.greenMask = c.green;
        original.blueMask = c.blue;
        original.alphaMask = c.alpha;
    }
    for (int i = 0; i < c.paletteSize; ++i)
        original.palette.push_back(Rgb{static_cast<std::uint8_t>(i * 7),
                                       static_cast<std::uint8_t>(255 - i),
                                       static_cast<std::uint8_t>(i * 3)});
    for (int y = 0; y < original.height(); ++y) {
        for (std::size_t i = 0; i < original.rowBytes(); ++i)
            original.row(y)[i] = static_cast<std::uint8_t>(y * 31 + i * 17 + 5);
    }

    const std::string file = writeBmp(original);
    BmpFileInfo info;
    const Bitmap back = readBmp(file, &info);
    EXPECT_FALSE(info.topDown);
    EXPECT_EQ(back.width(), original.width());
    EXPECT_EQ(back.height(), original.height());
    EXPECT_EQ(back.bitsPerPixel(), original.bitsPerPixel());
    EXPECT_EQ(back.palette, original.palette);
    EXPECT_EQ(back.redMask, original.redMask);
    EXPECT_EQ(back.greenMask, original.greenMask);
    EXPECT_EQ(back.blueMask, original.blueMask);
    EXPECT_EQ(back.alphaMask, original.alphaMask);
    for (int y = 0; y < original.height(); ++y) {
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(back.row(y)), back.rowBytes()),
                  std::string(reinterpret_cast<const char*>(original.row(y)), original.rowBytes()))
            << "row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryDepth, BmpRoundTrip,
    ::testing::Values(RoundTripCase{"Mono", 1, 13, 0, 0, 0, 0, 2},
                      RoundTripCase{"MonoOneColour", 1, 1, 0, 0, 0, 0, 1},
                      RoundTripCase{"Nibbles", 4, 7, 0, 0, 0, 0, 16},
                      RoundTripCase{"NibblesShortPalette", 4, 3, 0, 0, 0, 0, 5},
                      RoundTripCase{"Bytes", 8, 127, 0, 0, 0, 0, 256},
                      RoundTripCase{"BytesShortPalette", 8, 2, 0, 0, 0, 0, 17},
                      RoundTripCase{"Rgb555", 16, 5, 0, 0, 0, 0, 0},
                      RoundTripCase{"Rgb565", 16, 5, 0xF800, 0x07E0, 0x001F, 0, 0},
                      RoundTripCase{"Argb4444", 16, 3, 0x0F00, 0x00F0, 0x000F, 0xF000, 0},
                      RoundTripCase{"Rgb888", 24, 9, 0, 0, 0, 0, 0},
                      RoundTripCase{"Xrgb8888", 32, 4, 0, 0, 0, 0, 0},
                      RoundTripCase{"Xbgr8888", 32, 4, 0x000000FF, 0x0000FF00, 0x00FF0000, 0, 0},
                      RoundTripCase{"Argb8888", 32, 4, 0x00FF0000, 0x0000FF00, 0x000000FF,
                                    0xFF000000, 0},
                      RoundTripCase{"Rgb101010", 32, 2, 0x3FF00000, 0x000FFC00, 0x000003FF, 0, 0}));

TEST(BmpWrite, IndexedBitmapWithoutPaletteIsWrittenWithABlackOne) {
    Bitmap b(4, 1, 4);
    b.setIndex(1, 0, 9);
    const Bitmap back = readBmp(writeBmp(b));
    EXPECT_EQ(back.palette, std::vector<Rgb>(16));
    EXPECT_EQ(back.index(1, 0), 9u);
}

TEST(BmpWrite, EmptyBitmapIsRefused) {
    EXPECT_THROW(writeBmp(Bitmap()), Error);
}

TEST(BmpWrite, HeaderFieldsOfAnEightBitFile) {
    Bitmap b(3, 2, 8);
    b.palette.assign(3, Rgb{1, 2, 3});
    const std::string file = writeBmp(b);
    const std::string expectedStart =
        bytes({'B', 'M', 74, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0, 40, 0, 0, 0, 3,
               0,   0,   0,  2, 0, 0, 0, 1, 0, 8, 0,  0, 0, 0, 0,  8, 0, 0, 0});
    EXPECT_EQ(file.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(file.size(), 74u);
    EXPECT_EQ(file.substr(46, 4), bytes({3, 0, 0, 0})); // colours used
    EXPECT_EQ(file.substr(54, 4), bytes({3, 2, 1, 0})); // first palette entry, blue first
}

} // namespace
} // namespace kelmor
