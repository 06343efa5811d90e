#include "base/error.h"
#include "imaging/png.h"
#include "imaging/png_files.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>

namespace kelmor {
namespace {

using test::KnownPngCase;
using test::pngChunk;

template <class Step> std::string errorOf(Step step) {
    try {
        step();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

class PngKnownPixels : public ::testing::TestWithParam<KnownPngCase> {};

TEST_P(PngKnownPixels, DecodeToTheStoredValuesWithoutGamma) {
    const test::KnownPng known = test::knownPng(GetParam().layout, GetParam().transparency);
    const RgbaImage image = decodePng(known.file);
    EXPECT_EQ(image.width, known.pixels.width);
    EXPECT_EQ(image.height, known.pixels.height);
    EXPECT_EQ(image.pixels, known.pixels.pixels);
    EXPECT_EQ(measurePng(known.file).size.width, known.pixels.width);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, PngKnownPixels, ::testing::ValuesIn(test::everyPngLayout()));

// ---- Damaged files ---------------------------------------------------------------------------

const std::string& goodFile() {
    static const std::string file = test::knownPng({2, 8}, false).file;
    return file;
}

std::string withByteFlipped(std::string file, std::size_t at) {
    file[at] = char(file[at] ^ 0x40);
    return file;
}

std::string withFilter(int filter) {
    return test::pngFile(4, 4, {0, 8}, std::vector<int>(16, 9), "", filter);
}

struct Damage {
    const char* name;
    std::string file;
    bool inStructure = true; // seen without decoding a pixel
};

void PrintTo(const Damage& d, std::ostream* out) {
    *out << d.name;
}

class PngDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(PngDamage, GivesTheReadersMessage) {
    const std::string message = errorOf([] { decodePng(GetParam().file); });
    EXPECT_EQ(message.rfind("PNG image is not valid: ", 0), 0u) << message;
    // The check before a file is written again as it is sees damage to its chunks, and lets
    // damaged pixel data pass.
    const std::string structure = errorOf([] { checkPngStructure(GetParam().file); });
    if (GetParam().inStructure)
        EXPECT_EQ(structure.rfind("PNG image is not valid: ", 0), 0u) << structure;
    else
        EXPECT_EQ(structure, "no error");
}

INSTANTIATE_TEST_SUITE_P(
    Files, PngDamage,
    ::testing::Values(Damage{"empty", ""}, Damage{"not a PNG", "GIF89a......"},
                      Damage{"IHDR CRC", withByteFlipped(goodFile(), 29)},
                      Damage{"IDAT data", withByteFlipped(goodFile(), goodFile().size() - 30)},
                      Damage{"IDAT CRC", withByteFlipped(goodFile(), goodFile().size() - 14)},
                      Damage{"cut in IDAT", goodFile().substr(0, goodFile().size() - 40)},
                      Damage{"cut in IHDR", goodFile().substr(0, 20)},
                      Damage{"cut before IEND", goodFile().substr(0, goodFile().size() - 12)},
                      Damage{"filter type 5", withFilter(5), false},
                      Damage{"filter type 255", withFilter(255), false},
                      Damage{"no IDAT", goodFile().substr(0, 33) + pngChunk("IEND", "")}));

// A 1 x 1 RGBA file whose header claims another size and depth.
std::string claiming(const char* size, char depth) {
    const std::string small = test::pngFile(1, 1, {6, 8}, {1, 2, 3, 4});
    const std::string header =
        std::string(small, 16, 13).replace(0, 9, size, 8).insert(8, 1, depth);
    return small.substr(0, 8) + pngChunk("IHDR", header) + small.substr(33);
}

TEST(PngLimits, AHugeHeaderIsRefusedBeforeAnyPixel) {
    const auto start = std::chrono::steady_clock::now();
    // 100000 x 100000; 10000000 x 1 at 16 bits, whose rows alone would take 80 MB each.
    for (const std::string& file : {claiming("\x00\x01\x86\xA0\x00\x01\x86\xA0", 8),
                                    claiming("\x00\x98\x96\x80\x00\x00\x00\x01", 16)}) {
        EXPECT_EQ(errorOf([&] { decodePng(file); }), "Image too large");
        EXPECT_EQ(errorOf([&] { measurePng(file); }), "Image too large");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

TEST(PngLimits, ACallersLowerLimitApplies) {
    const std::string& file = goodFile(); // 10 x 7
    EXPECT_NO_THROW(decodePng(file, {70, 70}));
    EXPECT_EQ(errorOf([&] { decodePng(file, {69, 69}); }), "Image too large");
}

TEST(PngLimits, MetadataPastTheChunkLimitsIsSkipped) {
    const test::KnownPng known = test::knownPng({3, 4}, true);
    std::string text =
        pngChunk("tEXt", "Comment" + std::string(1, '\0') + std::string(900000, 'x'));
    std::string bulky = known.file.substr(0, 33);
    for (int i = 0; i < 8; ++i)
        bulky += text; // 7 MB: past the cache limit
    bulky += pngChunk("iTXt", "Big" + std::string(3000000, '\0')) + known.file.substr(33);
    EXPECT_EQ(decodePng(bulky).pixels, known.pixels.pixels);
}

// ---- Writing ---------------------------------------------------------------------------------

RgbaImage picture(int width, int height, const std::function<std::uint32_t(int x, int y)>& rgba) {
    RgbaImage image = RgbaImage::blank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = rgba(x, y);
            std::uint8_t* p = image.row(y) + 4 * x;
            for (int i = 0; i < 4; ++i)
                p[i] = std::uint8_t(c >> (24 - 8 * i));
        }
    }
    return image;
}

std::uint32_t grey(int v, int alpha = 255) {
    return std::uint32_t(v) * 0x01010100u | std::uint32_t(alpha);
}

std::uint32_t noise(int x, int y) {
    return std::uint32_t(std::minstd_rand(std::uint32_t(y * 1000 + x + 1))()) | 0xFF;
}

struct Written {
    const char* name;
    std::function<std::uint32_t(int x, int y)> rgba;
    int colourType;
    int depth;
};

void PrintTo(const Written& w, std::ostream* out) {
    *out << w.name;
}

// The picture's colours that are not opaque: the entries a palette's tRNS holds.
std::size_t translucentColours(const RgbaImage& image) {
    std::set<std::uint32_t> translucent;
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        if (image.pixels[i + 3] != 255)
            translucent.insert(std::uint32_t(image.pixels[i]) << 24 | image.pixels[i + 1] << 16 |
                               image.pixels[i + 2] << 8 | image.pixels[i + 3]);
    }
    return translucent.size();
}

class PngWrite : public ::testing::TestWithParam<Written> {};

// Both writers that search for the smallest file: the one for any picture and the one for drawn
// pictures, which tries fewer filters in the same layouts.
TEST_P(PngWrite, ReadsBackExactlyInTheSmallestLayout) {
    // Larger than a picture for which the next layout is tried as well.
    const RgbaImage image = picture(300, 240, GetParam().rgba);
    for (const std::string& file : {encodePng(image), encodeDrawnPng(image)}) {
        EXPECT_EQ(int(file.at(25)), GetParam().colourType);
        EXPECT_EQ(int(file.at(24)), GetParam().depth);
        EXPECT_EQ(decodePng(file), image);
        if (GetParam().colourType == 0 || GetParam().colourType == 2) {
            EXPECT_EQ(test::pngChunkData(file, "tRNS").empty(), image.opaque());
        }
        if (GetParam().colourType == 3) {
            EXPECT_EQ(test::pngChunkData(file, "tRNS").size(), translucentColours(image));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PngWrite,
    ::testing::Values(
        Written{"black and white", [](int x, int y) { return grey((x ^ y) & 4 ? 255 : 0); }, 0, 1},
        Written{"four greys", [](int x, int) { return grey(x % 4 * 85); }, 0, 2},
        Written{"sixteen greys", [](int x, int y) { return grey((x + y) % 16 * 17); }, 0, 4},
        Written{"all greys", [](int x, int y) { return grey((x * y) % 256); }, 0, 8},
        Written{"greys, one transparent",
                [](int x, int y) { return x < 10 ? grey(7, 0) : grey((x * y) % 256 | 8); }, 0, 8},
        Written{"greys and alphas", [](int x, int y) { return grey((x * y) % 256, (x + y) % 256); },
                4, 8},
        Written{"three colours", [](int x, int) { return 0x10203040u << (x % 3); }, 3, 2},
        Written{"sixteen colours, some translucent",
                [](int x, int y) {
                    const auto k = std::uint32_t((x + y) % 16);
                    return k * 0x0F0A0300u | (k < 4 ? 99 : 255);
                },
                3, 4},
        Written{"two hundred colours",
                [](int x, int y) {
                    const auto k = std::uint32_t((x * 7 + y) % 200);
                    return k * 0x01030500u | (k < 20 ? 0 : 255);
                },
                3, 8},
        Written{"photograph", noise, 2, 8},
        Written{"photograph, one transparent colour",
                [](int x, int y) { return y == 5 ? 0x12345600u : noise(x, y); }, 2, 8},
        Written{"photograph, varied alpha",
                [](int x, int y) { return noise(x, y) & ~std::uint32_t((x + y) % 256); }, 6, 8}));

// Past a few megapixels the writer makes one quick pass, a row at a time: still exact, in the
// smallest layout.
TEST(PngWrite, LargePictureReadsBackExactlyInItsOneQuickPass) {
    for (const auto& [colours, colourType] :
         {std::pair{std::function<std::uint32_t(int, int)>(
                        [](int x, int y) { return 0x10203000u * ((x / 7 + y) % 5) | 0xFF; }),
                    3},
          std::pair{std::function<std::uint32_t(int, int)>(
                        [](int x, int y) { return noise(x, y) & ~std::uint32_t(x % 256); }),
                    6}}) {
        const RgbaImage image = picture(2100, 2100, colours);
        const std::string file = encodePng(image);
        EXPECT_EQ(int(file.at(25)), colourType);
        EXPECT_EQ(decodePng(file), image);
    }
}

TEST(PngWrite, SmallPictureWithoutAPaletteWhenThatIsSmaller) {
    // Eight colours in 4 x 2 pixels: a 24-byte PLTE costs more than 24-bit pixels.
    const RgbaImage image =
        picture(4, 2, [](int x, int y) { return 0x10000000u * (x + 4 * y) | 0xFF; });
    const std::string file = encodePng(image);
    EXPECT_EQ(int(file.at(25)), 2);
    EXPECT_EQ(decodePng(file), image);
}

} // namespace
} // namespace kelmor
