// kelmor-cli info and resave, run as the built program.
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"
#include "imaging/hostile_pictures.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

// The check value of CRC-32 (zlib polynomial): the CRC of "123456789".
constexpr const char* kCrcOf123456789 = "cbf43926";
// CRC-32 of the 64 grey entries (4i, 4i, 4i), computed with Python's zlib.crc32.
constexpr const char* kCrcOfGreyTable = "0d88fe7b";

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class CliPictures : public test::TempFolderTest {
protected:
    CliRun run(const std::string& arguments) const {
        const std::string err = path("stderr.txt");
        const std::string command = std::string(KELMOR_CLI) + " " + arguments + " 2>" + err;
        FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        const int status = ::pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, readWholeFile(err)};
    }
};

// Three rows "123", "456", "789": the rows top first, without padding, are "123456789".
Bitmap digitRows() {
    Bitmap b(3, 3, 8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            b.setIndex(x, y, static_cast<unsigned>('1' + y * 3 + x));
    b.palette.assign(60, Rgb{});
    return b;
}

// A 1 x 9 interlaced frame of the digits with a transparent graphic control
// extension and a loop extension, then a frame without pixels.
GifImage digitAnimation() {
    GifImage image;
    image.header().width = 1;
    image.header().height = 9;
    for (int i = 0; i < 64; ++i)
        image.header().colorTable.colors.push_back(Rgb{static_cast<std::uint8_t>(i * 4),
                                                       static_cast<std::uint8_t>(i * 4),
                                                       static_cast<std::uint8_t>(i * 4)});
    GifFrame frame;
    frame.hasImage = true;
    frame.width = 1;
    frame.height = 9;
    frame.packed = 0x40;
    frame.pixels = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    GifLoopExtension loop;
    loop.loopCount = 3;
    frame.extensions.emplace_back(loop);
    GifGraphicControlExtension control;
    control.delayTime = 25;
    control.setDisposal(2);
    control.setTransparent(true);
    control.transparentColorIndex = 7;
    frame.extensions.emplace_back(control);
    image.frames().push_back(frame);
    GifFrame comment;
    comment.extensions.emplace_back(GifCommentExtension{{"hello"}});
    image.frames().push_back(comment);
    return image;
}

TEST_F(CliPictures, InfoOfABmp) {
    writeFileReplacing(path("digits.bmp"), writeBmp(digitRows()));
    const CliRun info = run("info " + path("digits.bmp"));
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, std::string("format: BMP\nsize: 3x3\nbits-per-pixel: 8\n"
                                    "compression: 0 (BI_RGB)\npalette: 60\ncrc: pixels=") +
                            kCrcOf123456789 + "\n");
    EXPECT_EQ(info.err, "");
}

TEST_F(CliPictures, InfoOfAGifWithItsFramesWarningsAndChecksums) {
    // In place of the trailer, a zero and a byte that starts no block: the
    // reading ends there with warnings, which are printed as the reader gives them.
    std::string bytes = encodeGif(digitAnimation());
    ASSERT_EQ(bytes.back(), '\x3B');
    bytes.back() = '\0';
    bytes += '\x99';
    writeFileReplacing(path("digits.gif"), bytes);
    std::string warnings;
    GifDecodeOptions options;
    options.warn = [&](const std::string& w) { warnings += "warning: " + w + "\n"; };
    decodeGif(bytes, options);
    EXPECT_NE(warnings.find("warning: Unknown GIF block type\n"), std::string::npos);

    const CliRun info = run("info " + path("digits.gif"));
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "format: GIF\nversion: 89a\nscreen: 1x9\nbackground: 0\naspect: 0\n"
                        "global-table: 64 sorted=no\nframes: 2\n"
                        "frame 0: left=0 top=0 width=1 height=9 interlaced=yes local-table=0 "
                        "transparent=yes index=7 delay=25 disposal=2 loop=3\n"
                        "frame 1: image=none transparent=- index=- delay=- disposal=-\n" +
                            warnings + "crc 0: pixels=" + kCrcOf123456789 +
                            " table=" + kCrcOfGreyTable + "\n");
}

TEST_F(CliPictures, InfoOfAJpeg) {
    const CliRun info = run("info " + std::string(KELMOR_TEST_DATA) +
                            "/corpora/raster-misc/libjpeg-turbo/testorig.jpg");
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out.substr(0, 29), "format: JPEG\nsize: 227x149\ncr");
}

// A PNG, WebP or SVG file made by other programs, and the command that prints its first picture
// as `dwebp -pam` does: the reference pixels for info's checksum. In both commands, FILE stands
// for the file and DIR for the test folder.
struct ModernInfo {
    const char* name;
    const char* make;      // makes FILE from the test data
    const char* reference; // prints the PAM of FILE's first picture
    const char* format;
    int frames;
};

void PrintTo(const ModernInfo& c, std::ostream* out) {
    *out << c.name;
}

class CliModernInfo : public CliPictures, public ::testing::WithParamInterface<ModernInfo> {
protected:
    // Runs a shell command with FILE and DIR replaced; what it prints.
    std::string shell(std::string command, const std::string& file) const {
        for (const auto& [word, value] : {std::pair{"FILE", file}, {"DIR", path("")}}) {
            for (std::size_t at; (at = command.find(word)) != std::string::npos;)
                command.replace(at, std::string(word).size(), "'" + value + "'");
        }
        FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        EXPECT_EQ(::pclose(pipe), 0) << command;
        return out;
    }
};

TEST_P(CliModernInfo, PrintsTheSizeAndTheChecksumOfThePixelsOtherProgramsDecode) {
    const ModernInfo& c = GetParam();
    const std::string file = path(std::string("picture.") + c.format);
    shell(c.make, file);
    const std::string pam = shell(c.reference, file);
    const std::size_t pixels = pam.find("ENDHDR\n") + 7;
    ASSERT_GT(pixels, 7u);
    int width = 0, height = 0;
    ASSERT_EQ(std::sscanf(pam.c_str(), "P7\nWIDTH %d\nHEIGHT %d", &width, &height), 2);
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08lx",
                  ::crc32(0, reinterpret_cast<const Bytef*>(pam.data() + pixels),
                          static_cast<uInt>(pam.size() - pixels)));
    std::string format = c.format == std::string("png")   ? "PNG"
                         : c.format == std::string("svg") ? "SVG"
                                                          : "WebP";
    std::string expected = "format: " + format + "\nsize: " + std::to_string(width) + "x" +
                           std::to_string(height) + "\n";
    if (c.frames > 1)
        expected += "frames: " + std::to_string(c.frames) + "\n";
    const CliRun info = run("info " + file);
    EXPECT_EQ(info.out, expected + "crc: pixels=" + crc + "\n");
    EXPECT_EQ(info.status, 0);
}

#define KELMOR_RGBA_PNG KELMOR_TEST_DATA "/corpora/bmpsuite/html/rgba32.png"
#define KELMOR_PAL_PNG KELMOR_TEST_DATA "/corpora/bmpsuite/html/pal8.png"
// An SVG of 24 x 16 pixels (0.25 in by 12 pt) with shapes on whole pixels, half transparent.
#define KELMOR_SVG                                                                                 \
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"0.25in\" height=\"12pt\">"                  \
    "<rect x=\"2\" y=\"3\" width=\"10\" height=\"8\" fill=\"#3a7\"/>"                              \
    "<rect x=\"6\" y=\"1\" width=\"12\" height=\"12\" fill=\"#c24\" fill-opacity=\"0.5\"/></svg>"
#define KELMOR_TO_PAM                                                                              \
    " && cwebp -quiet -lossless -exact DIR/ref.png -o DIR/ref.webp && dwebp -quiet -pam "          \
    "DIR/ref.webp -o -"

INSTANTIATE_TEST_SUITE_P(
    Files, CliModernInfo,
    ::testing::Values(
        ModernInfo{"Png", "cp " KELMOR_RGBA_PNG " FILE", "cp FILE DIR/ref.png" KELMOR_TO_PAM, "png",
                   1},
        ModernInfo{"LosslessWebp", "cwebp -quiet -lossless -exact " KELMOR_RGBA_PNG " -o FILE",
                   "dwebp -quiet -pam FILE -o -", "webp", 1},
        ModernInfo{
            "AnimatedWebp",
            "img2webp -lossless " KELMOR_PAL_PNG " " KELMOR_RGBA_PNG " -o FILE >/dev/null",
            "webpmux -get frame 1 FILE -o DIR/first.webp && dwebp -quiet -pam DIR/first.webp -o -",
            "webp", 2},
        ModernInfo{"Svg", "printf '%s' '" KELMOR_SVG "' > FILE",
                   "rsvg-convert FILE -o DIR/ref.png" KELMOR_TO_PAM, "svg", 1}),
    [](const auto& param) { return std::string(param.param.name); });

struct FailingInfo {
    const char* name;
    const char* file; // written into the test folder unless empty
    std::string contents;
    const char* message; // "%s" stands for the file's path
};

void PrintTo(const FailingInfo& c, std::ostream* out) {
    *out << c.name;
}

class CliInfoFailure : public CliPictures, public ::testing::WithParamInterface<FailingInfo> {};

TEST_P(CliInfoFailure, PrintsTheMessageOnStderrAndExitsWithOne) {
    const FailingInfo& c = GetParam();
    if (!c.contents.empty())
        writeFileReplacing(path(c.file), c.contents);
    const CliRun info = run("info " + path(c.file));
    EXPECT_EQ(info.status, 1);
    EXPECT_EQ(info.out, "");
    EXPECT_EQ(info.err, format(c.message, path(c.file)) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliInfoFailure,
    ::testing::Values(
        FailingInfo{"Missing", "missing.gif", "", "Cannot open file %s"},
        FailingInfo{"UnknownExtension", "a.tiff", "x",
                    "%s: Unknown picture file extension (.tiff)"},
        FailingInfo{"DamagedBmp", "bad.bmp", "BM\1\2", "%s: Bitmap image is not valid"},
        FailingInfo{"NotAGif", "bad.gif", "PNG....", "%s: Invalid GIF signature"},
        FailingInfo{"NotAJpeg", "bad.jpg", "BM", "%s: Not a JPEG file: starts with 0x42 0x4d"},
        FailingInfo{"JpegScanBomb", "scans.jpg", test::emptyProgressiveJpeg(8, 8, 1, 10000),
                    "%s: JPEG picture has more than 500 scans"}));

TEST_F(CliPictures, UsageErrorsExitWithOne) {
    EXPECT_EQ(run("info").status, 1);
    EXPECT_EQ(run("info a.bmp b.bmp").status, 1);
    EXPECT_EQ(run("resave a.bmp").status, 1);
    const CliRun help = run("info --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("kelmor-cli info FILE"), std::string::npos);
}

TEST_F(CliPictures, ResaveWritesThePicturesOwnFormatWhateverTheName) {
    writeFileReplacing(path("in.bmp"), writeBmp(digitRows()));
    ASSERT_EQ(run("resave " + path("in.bmp") + " " + path("out.gif")).status, 0);
    EXPECT_EQ(readWholeFile(path("out.gif")), writeBmp(digitRows()));

    writeFileReplacing(path("in.gif"), encodeGif(digitAnimation()));
    ASSERT_EQ(run("resave " + path("in.gif") + " " + path("out.bmp")).status, 0);
    EXPECT_EQ(readWholeFile(path("out.bmp")), encodeGif(digitAnimation()));

    const std::string jpeg =
        std::string(KELMOR_TEST_DATA) + "/corpora/raster-misc/golang/video-001.jpeg";
    ASSERT_EQ(run("resave " + jpeg + " " + path("copy.gif")).status, 0);
    EXPECT_EQ(readWholeFile(path("copy.gif")), readWholeFile(jpeg));
}

TEST_F(CliPictures, ResaveFailuresWriteNothing) {
    CliRun r = run("resave " + path("missing.bmp") + " " + path("out.bmp"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot open file " + path("missing.bmp") + "\n");
    EXPECT_FALSE(fs::exists(path("out.bmp")));

    writeFileReplacing(path("in.bmp"), writeBmp(digitRows()));
    r = run("resave " + path("in.bmp") + " " + path("no/such/folder.bmp"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot create file " + path("no/such/folder.bmp") + "\n");
}

} // namespace
} // namespace kelmor
