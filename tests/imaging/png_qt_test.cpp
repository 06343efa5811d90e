// The PNG codec against Qt's reader: the files of known pixels, every PNG of the corpora, and
// the files our writer makes of them.

#include "base/read_file.h"
#include "imaging/png.h"
#include "imaging/png_files.h"

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kelmor {
namespace {

QImage qtRead(const std::string& file) {
    return QImage::fromData(QByteArray(file.data(), qsizetype(file.size())), "PNG")
        .convertToFormat(QImage::Format_RGBA8888);
}

// The largest difference of one channel between our pixels and Qt's, or 256 for another size.
// Pixels Qt shows transparent are skipped: their colour is not part of the picture, and Qt cuts
// 16-bit samples to 8 bits before it matches them against a tRNS colour (the files of known
// pixels hold that case).
int largestDifference(const RgbaImage& ours, const QImage& qt) {
    if (qt.width() != ours.width || qt.height() != ours.height)
        return 256;
    int largest = 0;
    for (int y = 0; y < ours.height; ++y) {
        const uchar* theirs = qt.constScanLine(y);
        for (int i = 0; i < ours.width * 4; ++i) {
            if (theirs[i | 3] != 0)
                largest = std::max(largest, std::abs(ours.row(y)[i] - theirs[i]));
        }
    }
    return largest;
}

// Qt rounds 16-bit samples to 8 bits where we keep the high byte.
int tolerance(const std::string& file) {
    return int(file.at(24)) == 16 ? 1 : 0;
}

class PngAgainstQt : public ::testing::TestWithParam<test::KnownPngCase> {};

TEST_P(PngAgainstQt, ReadsTheKnownFilesAsQtDoes) {
    const test::PngLayout& layout = GetParam().layout;
    if (layout.colourType == 2 && layout.depth == 16 && GetParam().transparency)
        GTEST_SKIP() << "Qt's reader shifts the samples of 16-bit RGB with a tRNS colour";
    const test::KnownPng known = test::knownPng(layout, GetParam().transparency);
    EXPECT_LE(largestDifference(decodePng(known.file), qtRead(known.file)), tolerance(known.file));
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, PngAgainstQt, ::testing::ValuesIn(test::everyPngLayout()));

TEST(PngAgainstQt, ReadsTheCorporaAndOurFilesOfThemAsQtDoes) {
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             std::string(KELMOR_TEST_DATA) + "/corpora")) {
        if (entry.path().extension() != ".png")
            continue;
        SCOPED_TRACE(entry.path().string());
        ++files;
        const std::string file = readWholeFile(entry.path().string());
        const RgbaImage ours = decodePng(file);
        EXPECT_LE(largestDifference(ours, qtRead(file)), tolerance(file));
        EXPECT_EQ(largestDifference(ours, qtRead(encodePng(ours))), 0);
    }
    EXPECT_GE(files, 40);
}

} // namespace
} // namespace kelmor
