#include "base/error.h"
#include "base/read_file.h"
#include "imaging/hostile_pictures.h"
#include "imaging/jpeg.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace kelmor {
namespace {

const std::string kMisc = std::string(KELMOR_TEST_DATA) + "/corpora/raster-misc/";

Bitmap decodeFile(const std::string& name) {
    return decodeJpeg(readWholeFile(kMisc + name));
}

std::string errorOf(const std::string& bytes) {
    try {
        decodeJpeg(bytes);
    } catch (const Error& e) {
        return e.what();
    }
    return "(decoded)";
}

bool sameRows(const Bitmap& a, const Bitmap& b, int rows) {
    for (int y = 0; y < rows; ++y) {
        if (std::memcmp(a.row(y), b.row(y), a.rowBytes()) != 0)
            return false;
    }
    return true;
}

// Mean absolute difference per channel over the whole picture.
double meanDifference(const Bitmap& a, const Bitmap& b) {
    long long total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (std::size_t i = 0; i < a.rowBytes(); ++i)
            total += std::abs(a.row(y)[i] - b.row(y)[i]);
    return static_cast<double>(total) / (static_cast<double>(a.rowBytes()) * a.height());
}

TEST(Jpeg, DecodesToA24BitBitmapOfThePictureSize) {
    const Bitmap b = decodeFile("libjpeg-turbo/testorig.jpg");
    EXPECT_EQ(b.width(), 227);
    EXPECT_EQ(b.height(), 149);
    EXPECT_EQ(b.bitsPerPixel(), 24);
}

// The progressive and the arithmetic-coded test files carry the same
// coefficients, so every pixel must come out the same; the baseline file was
// coded from the same picture with other settings and comes out close.
TEST(Jpeg, ProgressiveArithmeticAndBaselineCodingsAgree) {
    const Bitmap progressive = decodeFile("libjpeg-turbo/testimgint.jpg");
    const Bitmap arithmetic = decodeFile("libjpeg-turbo/testimgari.jpg");
    ASSERT_EQ(arithmetic.height(), progressive.height());
    EXPECT_TRUE(sameRows(arithmetic, progressive, progressive.height()));
    EXPECT_LT(meanDifference(decodeFile("libjpeg-turbo/testorig.jpg"), progressive), 1.0);
}

TEST(Jpeg, GreyscaleComesOutGrey) {
    const Bitmap b = decodeFile("golang/video-005.gray.jpeg");
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            const Rgb c = b.color(x, y);
            ASSERT_TRUE(c.r == c.g && c.g == c.b) << x << "," << y;
        }
    }
}

// A cut-off file decodes at full size: the rows its data reached are those of
// the whole file, as libjpeg's own tools show them.
TEST(Jpeg, TruncatedFileKeepsTheRowsItHas) {
    const Bitmap whole = decodeFile("wuffs/peacock.default.jpeg");
    const Bitmap cut = decodeFile("wuffs/peacock.default.truncated.jpeg");
    ASSERT_EQ(cut.width(), whole.width());
    ASSERT_EQ(cut.height(), whole.height());
    EXPECT_TRUE(sameRows(cut, whole, 8));
    EXPECT_FALSE(sameRows(cut, whole, whole.height()));
    EXPECT_EQ(decodeFile("golang/video-001.progressive.truncated.jpeg").width(), 150);
}

struct FailureCase {
    const char* name;
    std::string bytes;
    const char* message;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class JpegFailure : public ::testing::TestWithParam<FailureCase> {};

// Fatal decoder errors come back as Error with libjpeg's own message.
TEST_P(JpegFailure, GivesTheDecodersMessage) {
    EXPECT_EQ(errorOf(GetParam().bytes), GetParam().message);
}

std::string fileBytes(const std::string& name) {
    return readWholeFile(kMisc + name);
}

INSTANTIATE_TEST_SUITE_P(
    Files, JpegFailure,
    ::testing::Values(FailureCase{"TwelveBit", fileBytes("libjpeg-turbo/monkey12.jpg"),
                                  "Unsupported JPEG data precision 12"},
                      FailureCase{"NotAJpeg", fileBytes("blink/invalid.jpg"),
                                  "Not a JPEG file: starts with 0x3f 0x3f"},
                      FailureCase{"ABitmap", std::string("BM\x10\0\0\0", 6),
                                  "Not a JPEG file: starts with 0x42 0x4d"},
                      FailureCase{"Empty", "", "Empty input file"},
                      FailureCase{"OnlyTheStartMarker", std::string("\xFF\xD8", 2),
                                  "JPEG datastream contains no image"},
                      FailureCase{"HugePicture", fileBytes("blink/large-size-image-crash.jpeg"),
                                  "Image too large"},
                      // Stopped before a coefficient is read: the progressive file's
                      // coefficients (8192 x 7900 x 4 x 2 bytes) and its picture pass the budget.
                      FailureCase{"ProgressiveCoefficientsPastTheBudget",
                                  test::emptyProgressiveJpeg(8192, 7900, 4, 1), "Image too large"},
                      FailureCase{"MoreScansThanTheLimit",
                                  test::emptyProgressiveJpeg(16, 16, 3, 501),
                                  "JPEG picture has more than 500 scans"},
                      // 300 scans of 256 Ki blocks each walk more than 64 Mi blocks.
                      FailureCase{"ScansWalkingMoreBlocksThanTheLimit",
                                  test::emptyProgressiveJpeg(4096, 4096, 1, 300),
                                  "JPEG picture has too many scans for its size"}));

// Right at the limit, 500 empty scans still decode.
TEST(Jpeg, FiveHundredScansDecode) {
    EXPECT_EQ(decodeJpeg(test::emptyProgressiveJpeg(16, 16, 3, 500)).width(), 16);
}

// Header fields cut short: libjpeg reports them and the next decode works.
TEST(Jpeg, DecodingGoesOnAfterAFailure) {
    const std::string whole = fileBytes("libjpeg-turbo/testorig.jpg");
    for (std::size_t cut : {3u, 20u, 100u, 400u})
        EXPECT_THROW(decodeJpeg(whole.substr(0, cut)), Error) << cut;
    EXPECT_EQ(decodeJpeg(whole).width(), 227);
}

} // namespace
} // namespace kelmor
