// Every GIF of the third-party corpora loads or fails with one of the reader's
// messages. Where giflib reads a file too, both give the same frames and pixel
// indices, and giflib reads what Kelmor writes back to the same pixels again.

#include "base/error.h"
#include "base/read_file.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"
#include "imaging/gif_test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

const char* const kSuites[] = {"pygif-gif-test-suite", "golang-image-testdata", "wuffs-testdata",
                               "blink-images-resources", "libnsgif-testdata"};

std::vector<std::string> corpusFiles() {
    std::vector<std::string> files;
    for (const char* suite : kSuites) {
        const fs::path dir = fs::path(KELMOR_TEST_DATA) / "corpora" / suite;
        if (!fs::is_directory(dir))
            continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            std::string ext = entry.path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
            if (ext == ".gif")
                files.push_back(fs::relative(entry.path(), fs::path(KELMOR_TEST_DATA) / "corpora"));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

const std::set<std::string> kReaderErrors = {"Invalid GIF signature",
                                             "Unknown extension type",
                                             "Unsupported Application Extension block size",
                                             "Invalid GIF data",
                                             "Circular decoder table entry",
                                             "Image too large"};

// The frames that hold an image, as giflib counts them.
std::vector<const GifFrame*> imageFrames(const GifImage& image) {
    std::vector<const GifFrame*> frames;
    for (const GifFrame& f : image.frames())
        if (f.hasImage)
            frames.push_back(&f);
    return frames;
}

void expectSameAsGiflib(const GifImage& image, const test::GiflibResult& reference) {
    const std::vector<const GifFrame*> frames = imageFrames(image);
    ASSERT_EQ(frames.size(), reference.frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const GifFrame& f = *frames[i];
        const test::GiflibResult::Frame& r = reference.frames[i];
        EXPECT_EQ(f.left, r.left);
        EXPECT_EQ(f.top, r.top);
        ASSERT_EQ(f.width, r.width) << "frame " << i;
        ASSERT_EQ(f.height, r.height) << "frame " << i;
        ASSERT_EQ(f.pixels.size(), r.pixels.size()) << "frame " << i;
        const auto mismatch = std::mismatch(f.pixels.begin(), f.pixels.end(), r.pixels.begin());
        EXPECT_TRUE(mismatch.first == f.pixels.end())
            << "frame " << i << " differs first at pixel " << (mismatch.first - f.pixels.begin());
    }
}

class GifCorpus : public testing::TestWithParam<std::string> {};

TEST_P(GifCorpus, LoadsLikeGiflibAndWritesBackReadably) {
    const std::string bytes =
        readWholeFile((fs::path(KELMOR_TEST_DATA) / "corpora" / GetParam()).string());
    GifImage image;
    std::string error;
    try {
        image = decodeGif(bytes);
    } catch (const Error& e) {
        error = e.what();
    }

    // The stream reader reads the same.
    GifImage streamed;
    std::ifstream in((fs::path(KELMOR_TEST_DATA) / "corpora" / GetParam()), std::ios::binary);
    std::string streamError;
    try {
        streamed = decodeGif(in);
    } catch (const Error& e) {
        streamError = e.what();
    }
    EXPECT_EQ(streamError, error);
    EXPECT_TRUE(streamed.frames() == image.frames());

    if (!error.empty()) {
        EXPECT_EQ(kReaderErrors.count(error), 1u) << error;
        EXPECT_TRUE(image.empty());
        return;
    }
    const test::GiflibResult reference = test::giflibDecode(bytes);
    if (reference.ok)
        expectSameAsGiflib(image, reference);

    if (image.empty())
        return;
    std::string written;
    try {
        written = encodeGif(image);
    } catch (const Error& e) {
        // Pixel indices past a loaded file's colour tables cannot be written.
        EXPECT_STREQ(e.what(), "Color not in color table");
        return;
    }
    const GifImage back = decodeGif(written);
    const auto before = imageFrames(image);
    const auto after = imageFrames(back);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i]->pixels, after[i]->pixels) << "frame " << i;
    if (reference.ok) {
        const test::GiflibResult rewritten = test::giflibDecode(written);
        ASSERT_TRUE(rewritten.ok) << "giflib error " << rewritten.error;
        expectSameAsGiflib(back, rewritten);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, GifCorpus, testing::ValuesIn(corpusFiles()), testName);

// The test suite's largest pictures: one side of 65535 opens, 65535 x 65535 is too large.
TEST(GifCorpusLimits, LongThinPicturesOpenAndTheLargestScreenIsRefused) {
    const fs::path suite = fs::path(KELMOR_TEST_DATA) / "corpora" / "pygif-gif-test-suite";
    const GifImage tall = loadGif((suite / "max-height.gif").string());
    EXPECT_EQ(tall.width(), 1);
    EXPECT_EQ(tall.height(), 65535);
    const GifImage wide = loadGif((suite / "max-width.gif").string());
    EXPECT_EQ(wide.width(), 65535);
    EXPECT_EQ(wide.height(), 1);
    try {
        loadGif((suite / "max-size.gif").string());
        ADD_FAILURE() << "max-size.gif loaded";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Image too large");
    }
}

// Interlaced and plain twins of the same picture decode to the same pixels.
TEST(GifCorpusTwins, InterlacedFilesMatchTheirPlainTwins) {
    const std::pair<const char*, const char*> twins[] = {
        {"golang-image-testdata/video-001.gif", "golang-image-testdata/video-001.interlaced.gif"},
        {"wuffs-testdata/hippopotamus.regular.gif", "wuffs-testdata/hippopotamus.interlaced.gif"}};
    for (const auto& [plain, interlaced] : twins) {
        const GifImage a = loadGif((fs::path(KELMOR_TEST_DATA) / "corpora" / plain).string());
        const GifImage b = loadGif((fs::path(KELMOR_TEST_DATA) / "corpora" / interlaced).string());
        ASSERT_TRUE(b.frame(0).interlaced());
        ASSERT_FALSE(a.frame(0).interlaced());
        EXPECT_EQ(a.frame(0).pixels, b.frame(0).pixels) << plain;
    }
}

} // namespace
} // namespace kelmor
