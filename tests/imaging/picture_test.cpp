#include "base/error.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"
#include "imaging/hostile_pictures.h"
#include "imaging/picture.h"
#include "imaging/picture_size.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

const std::string kJpeg =
    std::string(KELMOR_TEST_DATA) + "/corpora/raster-misc/libjpeg-turbo/testorig.jpg";

Bitmap smallBitmap() {
    Bitmap b(5, 3, 8);
    b.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            b.setIndex(x, y, static_cast<unsigned>((x + y) % 3));
    return b;
}

GifImage smallGif() {
    GifImage image;
    appendFrame(image, smallBitmap());
    return image;
}

class PictureFiles : public test::TempFolderTest {
protected:
    std::string loadError(const std::string& file) {
        Picture picture;
        try {
            picture.loadFromFile(file);
        } catch (const Error& e) {
            EXPECT_TRUE(picture.empty());
            return e.what();
        }
        return "(loaded)";
    }
};

// ---- Loading by extension -------------------------------------------------------------------

struct ExtensionCase {
    const char* name;
    PictureFormat format;
};

void PrintTo(const ExtensionCase& c, std::ostream* out) {
    *out << c.name;
}

class PictureExtension : public PictureFiles,
                         public ::testing::WithParamInterface<ExtensionCase> {};

TEST_P(PictureExtension, ChoosesTheReaderIgnoringCase) {
    const ExtensionCase& c = GetParam();
    std::string bytes;
    switch (c.format) {
    case PictureFormat::Gif:
        bytes = encodeGif(smallGif());
        break;
    case PictureFormat::Bitmap:
        bytes = writeBmp(smallBitmap());
        break;
    default:
        bytes = readWholeFile(kJpeg);
        break;
    }
    Picture picture;
    picture.loadFromFile(writeFile(c.name, bytes));
    EXPECT_EQ(picture.format(), c.format);
    const int width = c.format == PictureFormat::Jpeg ? 227 : 5;
    EXPECT_EQ(picture.width(), width);
}

INSTANTIATE_TEST_SUITE_P(Names, PictureExtension,
                         ::testing::Values(ExtensionCase{"a.gif", PictureFormat::Gif},
                                           ExtensionCase{"B.GIF", PictureFormat::Gif},
                                           ExtensionCase{"c.Gif", PictureFormat::Gif},
                                           ExtensionCase{"d.bmp", PictureFormat::Bitmap},
                                           ExtensionCase{"e.BMP", PictureFormat::Bitmap},
                                           ExtensionCase{"two.dots.bmp", PictureFormat::Bitmap},
                                           ExtensionCase{"f.jpg", PictureFormat::Jpeg},
                                           ExtensionCase{"g.JPEG", PictureFormat::Jpeg},
                                           ExtensionCase{"h.jpeg", PictureFormat::Jpeg}));

TEST_F(PictureFiles, UnknownExtensionsNameTheExtension) {
    EXPECT_EQ(loadError(writeFile("a.tiff", "x")), "Unknown picture file extension (.tiff)");
    EXPECT_EQ(loadError(writeFile("noextension", "x")), "Unknown picture file extension (.)");
    EXPECT_EQ(loadError(path("") + "/"), "Unknown picture file extension (.)");
    fs::create_directories(folder_ / "dir.d");
    EXPECT_EQ(loadError(writeFile("dir.d/name", "x")), "Unknown picture file extension (.)");
    // Metafiles have no reader on this platform.
    EXPECT_EQ(loadError(writeFile("a.wmf", "x")), "Unknown picture file extension (.wmf)");
}

TEST_F(PictureFiles, IconsNeedTheIconReaderOfTheWindowLayer) {
    ASSERT_FALSE(Picture::hasIconDecoder());
    EXPECT_EQ(loadError(writeFile("a.ico", "x")), "Unknown picture file extension (.ico)");
    Picture picture;
    EXPECT_THROW(picture.loadFromBytes(PictureFormat::Icon, "x"), Error);
}

TEST_F(PictureFiles, MissingFileCannotBeOpened) {
    EXPECT_EQ(loadError(path("missing.bmp")), "Cannot open file " + path("missing.bmp"));
    // The extension is checked first.
    EXPECT_EQ(loadError(path("missing.txt")), "Unknown picture file extension (.txt)");
}

TEST_F(PictureFiles, ContentThatDoesNotMatchTheExtensionFailsWithTheReadersMessage) {
    const std::string gif = encodeGif(smallGif());
    EXPECT_EQ(loadError(writeFile("gif.bmp", gif)), "Bitmap image is not valid");
    EXPECT_EQ(loadError(writeFile("bmp.gif", writeBmp(smallBitmap()))), "Invalid GIF signature");
    EXPECT_EQ(loadError(writeFile("gif.jpg", gif)), "Not a JPEG file: starts with 0x47 0x49");
}

TEST_F(PictureFiles, AFailedLoadLeavesTheHolderEmpty) {
    Picture picture;
    picture.loadFromFile(writeFile("good.bmp", writeBmp(smallBitmap())));
    ASSERT_FALSE(picture.empty());
    EXPECT_THROW(picture.loadFromFile(writeFile("bad.bmp", "BM")), Error);
    EXPECT_TRUE(picture.empty());
    EXPECT_EQ(picture.width(), 0);
    EXPECT_EQ(picture.bitmap(), nullptr);
}

// ---- Saving in the picture's own format -----------------------------------------------------

TEST_F(PictureFiles, BitmapIsSavedAsBmpWhateverTheName) {
    Picture picture;
    picture.loadFromFile(writeFile("in.bmp", writeBmp(smallBitmap())));
    picture.saveToFile(path("out.gif"));
    const Bitmap back = readBmp(readWholeFile(path("out.gif")));
    EXPECT_EQ(back.bitsPerPixel(), 8);
    EXPECT_EQ(back.palette, smallBitmap().palette);
    EXPECT_EQ(back.pixels(), smallBitmap().pixels());
}

TEST_F(PictureFiles, GifIsSavedAsGifWhateverTheName) {
    Picture picture;
    picture.loadFromFile(writeFile("in.gif", encodeGif(smallGif())));
    picture.saveToFile(path("out.bmp"));
    const GifImage back = decodeGif(readWholeFile(path("out.bmp")));
    ASSERT_EQ(back.frameCount(), 1);
    EXPECT_EQ(back.frame(0).pixels, smallGif().frame(0).pixels);
}

TEST_F(PictureFiles, JpegIsWrittenBackByteForByte) {
    const std::string original = readWholeFile(kJpeg);
    Picture picture;
    picture.loadFromFile(writeFile("in.JPG", original));
    picture.saveToFile(path("out.bmp"));
    EXPECT_EQ(readWholeFile(path("out.bmp")), original);
    EXPECT_EQ(picture.bitmap()->bitsPerPixel(), 24);
}

// A PNG, WebP or SVG picture is shown from its RGBA pixels and saved as the bytes it was read from.
TEST_F(PictureFiles, NewerKindsAreWrittenBackByteForByte) {
    const std::string svg = test::claimingSvg(12, 10);
    Picture picture;
    picture.loadFromFile(writeFile("in.Svg", svg));
    EXPECT_EQ(picture.format(), PictureFormat::Svg);
    EXPECT_EQ(std::pair(picture.width(), picture.height()), std::pair(12, 10));
    EXPECT_EQ(picture.bitmap()->alpha(11, 9), 0);
    EXPECT_EQ(picture.bitmap()->alpha(0, 0), 255);
    picture.saveToFile(path("out.png"));
    EXPECT_EQ(readWholeFile(path("out.png")), svg);
}

TEST_F(PictureFiles, AnEmptyHolderWritesNothing) {
    Picture().saveToFile(path("new.bmp"));
    EXPECT_FALSE(fs::exists(path("new.bmp")));
    writeFile("old.bmp", "old");
    Picture().saveToFile(path("old.bmp"));
    EXPECT_EQ(readWholeFile(path("old.bmp")), "old");
}

TEST_F(PictureFiles, UnwritableTargetCannotBeCreated) {
    const Picture picture{smallBitmap()};
    const std::string target = path("no-such-folder/out.bmp");
    try {
        picture.saveToFile(target);
        FAIL() << "saved";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + target);
    }
}

TEST(Picture, CopiesShareThePictureAndClearingOneKeepsTheOther) {
    Picture a{smallGif()};
    Picture b = a;
    a.clear();
    EXPECT_TRUE(a.empty());
    ASSERT_EQ(b.format(), PictureFormat::Gif);
    EXPECT_EQ(b.gif()->frameCount(), 1);
    EXPECT_EQ(b.height(), 3);
}

// ---- Sizes from the headers ------------------------------------------------------------------

// A file and what its headers give: a width, a height and the pixels its frames take, or the
// message that refuses it.
struct SizeCase {
    const char* name;
    const char* file;
    std::string bytes;
    PictureFileSize size;
    const char* error = "";
};

void PrintTo(const SizeCase& c, std::ostream* out) {
    *out << c.name;
}

class PictureFileSizes : public PictureFiles, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PictureFileSizes, ComeFromTheHeadersOrTheLoadsOwnMessage) {
    const SizeCase& c = GetParam();
    const std::string file = writeFile(c.file, c.bytes);
    try {
        const PictureFileSize size = readPictureFileSize(file);
        EXPECT_EQ(std::tuple(size.size.width, size.size.height, size.pixels),
                  std::tuple(c.size.size.width, c.size.size.height, c.size.pixels));
        EXPECT_STREQ(c.error, "");
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), c.error);
    }
}

using test::emptyFramesGif;
using test::emptyJpeg;
const std::vector<test::GifFrameSize> kFourLargest(4, {8192, 8192});
const std::int64_t kLargest = 8192 * 8192;

INSTANTIATE_TEST_SUITE_P(
    Files, PictureFileSizes,
    ::testing::Values(
        SizeCase{"GifFramesCountBeyondTheScreen",
                 "a.gif",
                 emptyFramesGif(1, 1, kFourLargest),
                 {{1, 1}, 4 * kLargest}},
        SizeCase{"AnUnreadableFrameEndsTheCount",
                 "a.GIF",
                 emptyFramesGif(9, 9, {{9, 9}}).substr(0, 34) + "!\x99" +
                     emptyFramesGif(9, 9, kFourLargest).substr(19),
                 {{9, 9}, 81}},
        SizeCase{"GifFramesPastTheFileLimit",
                 "a.gif",
                 emptyFramesGif(1, 1, std::vector<test::GifFrameSize>(5, {8192, 8192})),
                 {},
                 "Image too large"},
        SizeCase{"Bmp", "a.bmp", writeBmp(smallBitmap()), {{5, 3}, 15}},
        SizeCase{"DamagedBmp", "a.bmp", "BM\1\2", {}, "Bitmap image is not valid"},
        SizeCase{"NotAJpeg", "a.jpg", "BM", {}, "Not a JPEG file: starts with 0x42 0x4d"},
        SizeCase{
            "JpegPastThePictureLimit", "a.jpg", emptyJpeg(65000, 65000, 1), {}, "Image too large"},
        SizeCase{"Png", "a.PNG", test::claimingPng(5, 3), {{5, 3}, 15}},
        SizeCase{"Svg", "a.svg", test::claimingSvg(30, 20), {{30, 20}, 600}}));

// ---- Type descriptions and dialog filters ---------------------------------------------------

struct FilterCase {
    PictureFormat format;
    const char* filter;
    const char* extension;
};

class PictureSaveFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(PictureSaveFilter, ComesFromTheTypeHeld) {
    EXPECT_EQ(pictureSaveFilter(GetParam().format), GetParam().filter);
    EXPECT_EQ(pictureDefaultExtension(GetParam().format), GetParam().extension);
}

INSTANTIATE_TEST_SUITE_P(
    Types, PictureSaveFilter,
    ::testing::Values(FilterCase{PictureFormat::Gif, "GIF Image (*.gif)|*.gif", "gif"},
                      FilterCase{PictureFormat::Bitmap, "Bitmaps (*.bmp)|*.bmp", "bmp"},
                      FilterCase{PictureFormat::Jpeg, "JPEG Image File (*.jpg)|*.jpg", "jpg"},
                      FilterCase{PictureFormat::Icon, "Icons (*.ico)|*.ico", "ico"},
                      FilterCase{PictureFormat::None, "", ""}));

TEST(PictureTypes, OpenFilterOffersEveryType) {
    EXPECT_EQ(pictureOpenFilter(),
              "All pictures (*.gif;*.bmp;*.jpg;*.jpeg;*.ico;*.png;*.webp;*.svg)"
              "|*.gif;*.bmp;*.jpg;*.jpeg;*.ico;*.png;*.webp;*.svg"
              "|GIF Image (*.gif)|*.gif|Bitmaps (*.bmp)|*.bmp"
              "|JPEG Image File (*.jpg;*.jpeg)|*.jpg;*.jpeg|Icons (*.ico)|*.ico"
              "|PNG Image (*.png)|*.png|WebP Image (*.webp)|*.webp|SVG Image (*.svg)|*.svg");
}

} // namespace
} // namespace kelmor
