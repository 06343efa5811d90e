// The table of picture formats: every row reached by its extensions, and each format's
// functions agreeing with one another on files its own writer makes (or a corpus file for the
// formats without one): the header's size, the holder's load, the first frame, the thumbnail's
// decode, its memory, the save.
#include "base/error.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/jpeg.h"
#include "imaging/picture.h"
#include "imaging/picture_codecs.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(KELMOR_TEST_DATA);

TEST(PictureCodecTable, EachRowIsFoundByItsFormatAndEveryExtensionInAnyCase) {
    std::set<PictureFormat> formats;
    std::set<std::string> extensions;
    for (const PictureCodec& codec : pictureCodecs()) {
        EXPECT_TRUE(formats.insert(codec.format).second) << codec.name;
        EXPECT_EQ(pictureCodec(codec.format), &codec);
        ASSERT_FALSE(codec.extensions.empty()) << codec.name;
        for (std::string extension : codec.extensions) {
            EXPECT_TRUE(extensions.insert(extension).second) << extension;
            EXPECT_EQ(pictureFormatOf("a/b." + extension), codec.format);
            std::transform(extension.begin(), extension.end(), extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            EXPECT_EQ(pictureFormatOf("b." + extension), codec.format);
        }
    }
    EXPECT_EQ(formats.count(PictureFormat::None), 0u);
    EXPECT_EQ(pictureCodec(PictureFormat::None), nullptr);
}

// A format of RGBA pixels or checked before a verbatim save has no writer of its own: the
// holder keeps what it read and writes it back.
TEST(PictureCodecTable, FormatsSavedAsReadHaveNoWriterOfTheirOwn) {
    for (const PictureCodec& codec : pictureCodecs()) {
        if (codec.rgbaPixels() || codec.checkVerbatim) {
            EXPECT_EQ(codec.encode, nullptr) << codec.name;
        }
        if (codec.encodeRgba) {
            EXPECT_GT(codec.encodeBytesPerPixel, 0) << codec.name;
        }
    }
}

TEST(PictureCodecTable, TheIconRowReadsOnlyOnceTheWindowLayerInstallsItsReader) {
    const PictureCodec& icon = *pictureCodec(PictureFormat::Icon);
    ASSERT_FALSE(Picture::hasIconDecoder());
    EXPECT_FALSE(icon.readable());
    Picture::setIconDecoder(
        [](std::string_view bytes) { return Bitmap(static_cast<int>(bytes.size()), 1, 24); });
    EXPECT_TRUE(icon.readable());
    Picture picture;
    picture.loadFromBytes(PictureFormat::Icon, "four");
    Picture::setIconDecoder({});
    EXPECT_FALSE(icon.readable());
    EXPECT_EQ(picture.width(), 4);
    EXPECT_EQ(picture.encoded(), "four");
}

// A picture with a transparent pixel, of more colours than one row of a GIF's table.
RgbaImage sample() {
    RgbaImage image = RgbaImage::blank(23, 9);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<std::uint8_t>(i % 4 == 3 ? 255 : i * 7);
    image.pixels[3] = 0;
    return image;
}

class EachFormat : public test::TempFolderTest,
                   public ::testing::WithParamInterface<PictureFormat> {
protected:
    // A file of the format: its own writer's when it has one, else one from the test data.
    std::string fileOf(const PictureCodec& codec) const {
        if (codec.encodeRgba)
            return writeFile(std::string("sample.") + codec.extensions.front(),
                             codec.encodeRgba(sample()));
        if (codec.format == PictureFormat::Jpeg)
            return (kData / "corpora/raster-misc/libjpeg-turbo/testorig.jpg").string();
        return (kData / "svg/gradients.svg").string();
    }
};

TEST_P(EachFormat, ItsFunctionsAgreeOnOneFile) {
    const PictureCodec& codec = *pictureCodec(GetParam());
    const std::string file = fileOf(codec);
    const std::string bytes = readWholeFile(file);
    const PictureFileSize measured = codec.measure(file);
    EXPECT_GT(measured.pixels, 0);

    Picture picture;
    picture.loadFromFile(file);
    EXPECT_EQ(picture.format(), codec.format);
    EXPECT_EQ(picture.width(), measured.size.width);
    EXPECT_EQ(picture.height(), measured.size.height);
    // Saved by its writer, or byte for byte as it was read.
    if (codec.encode == nullptr) {
        EXPECT_EQ(picture.encoded(), bytes);
    }
    if (codec.checkVerbatim) {
        EXPECT_EQ(readVerbatimPicture(codec.format, file), bytes);
    } else
        EXPECT_FALSE(readVerbatimPicture(codec.format, file));

    if (codec.rgbaPixels())
        EXPECT_EQ(codec.decodeFirstFrame(bytes, file, {}).pixels, picture.rgba().pixels);
    else
        EXPECT_THROW(decodeFirstFrame(codec.format, bytes, file), Error);

    const ReducedPicture reduced = codec.decodeReduced(bytes, file, 8);
    EXPECT_EQ(reduced.original.width, measured.size.width);
    EXPECT_EQ(reduced.original.height, measured.size.height);
    EXPECT_FALSE(reduced.image.empty());
    EXPECT_GT(codec.reducedDecodeBytes(bytes, file, 8), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, EachFormat,
                         ::testing::Values(PictureFormat::Gif, PictureFormat::Bitmap,
                                           PictureFormat::Jpeg, PictureFormat::Png,
                                           PictureFormat::WebP, PictureFormat::Svg),
                         [](const auto& test) {
                             return std::string(pictureCodec(test.param)->name);
                         });

// A writer's file of the sample gives the sample's pixels back: its colours fit one GIF table,
// and a BMP keeps its alpha in a 32-bit bitmap. Nothing keeps the colour under the transparent
// pixel.
class EachWriter : public EachFormat {};

TEST_P(EachWriter, KeepsTheSizeAndTheOpaquePixels) {
    const PictureCodec& codec = *pictureCodec(GetParam());
    ASSERT_NE(codec.encodeRgba, nullptr);
    Picture picture;
    picture.loadFromFile(fileOf(codec));
    const RgbaImage read = picture.rgba();
    const RgbaImage expected = sample();
    ASSERT_EQ(read.width, expected.width);
    ASSERT_EQ(read.height, expected.height);
    EXPECT_EQ(read.pixels[3], 0) << "the transparent pixel";
    EXPECT_TRUE(
        std::equal(read.pixels.begin() + 4, read.pixels.end(), expected.pixels.begin() + 4));
}

INSTANTIATE_TEST_SUITE_P(Formats, EachWriter,
                         ::testing::Values(PictureFormat::Gif, PictureFormat::Bitmap,
                                           PictureFormat::Png, PictureFormat::WebP),
                         [](const auto& test) {
                             return std::string(pictureCodec(test.param)->name);
                         });

// The JPEG and BMP readers take their limits per call, today's by default.
class ReaderLimits : public ::testing::Test {
protected:
    const std::string jpeg =
        readWholeFile((kData / "corpora/raster-misc/libjpeg-turbo/testorig.jpg").string());
    const std::string bmp = writeBmp(Bitmap(40, 30, 24));
};

TEST_F(ReaderLimits, APictureOverTheCallersPixelLimitIsTooLarge) {
    ImageLimits limits;
    limits.maxImagePixels = 40 * 30 - 1;
    EXPECT_EQ(readBmp(bmp).width(), 40);
    EXPECT_THROW(readBmp(bmp, nullptr, limits), Error);
    limits.maxImagePixels = 40 * 30;
    EXPECT_EQ(readBmp(bmp, nullptr, limits).height(), 30);

    const int jpegPixels = decodeJpeg(jpeg).width() * decodeJpeg(jpeg).height();
    limits.maxImagePixels = jpegPixels - 1;
    EXPECT_THROW(decodeJpeg(jpeg, limits), Error);
    EXPECT_THROW(decodeJpegReduced(jpeg, 8, limits), Error) << "the limit is on the full size";
    limits.maxImagePixels = jpegPixels;
    EXPECT_NO_THROW(decodeJpeg(jpeg, limits));
}

TEST_F(ReaderLimits, TheCallersCopiesCountAgainstTheMemory) {
    ImageLimits limits;
    limits.maxBytes = 40 * 30 * 3 + 40 * 30 * 10; // the bitmap and ten bytes a pixel beside it
    limits.bytesPerPixelAfter = 10;
    EXPECT_NO_THROW(readBmp(bmp, nullptr, limits));
    limits.bytesPerPixelAfter = 11;
    EXPECT_THROW(readBmp(bmp, nullptr, limits), Error);

    EXPECT_EQ(jpegDecodeLimits().maxBytes, kMaxJpegDecodeBytes);
    limits = jpegDecodeLimits();
    limits.bytesPerPixelAfter = kMaxJpegDecodeBytes;
    EXPECT_THROW(decodeJpeg(jpeg, limits), Error);
    limits.maxBytes = kJpegWorkingBytes;
    limits.bytesPerPixelAfter = 0;
    EXPECT_THROW(decodeJpeg(jpeg, limits), Error) << "no room for the picture itself";
}

} // namespace
} // namespace kelmor
