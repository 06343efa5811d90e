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
        FailingInfo{"UnknownExtension", "a.tiff", "x", "%s: Unknown picture file extension (.tiff)"},
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
