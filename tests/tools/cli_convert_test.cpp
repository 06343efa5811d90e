// kelmor-cli convert, run as the built program: the same files as the core conversion, the
// default output names in the working directory, errors on stderr with exit status 1.
#include "base/error.h"
#include "base/read_file.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"
#include "pictures/conversion.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <sys/wait.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

const std::string kCorpora = KELMOR_TEST_DATA "/corpora/";

class CliConvert : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directory(path("work"));
    }
    // Runs kelmor-cli convert in the folder "work"; returns the exit status and stderr.
    std::pair<int, std::string> convert(const std::string& arguments) const {
        const std::string command = "cd '" + path("work") + "' && " + KELMOR_CLI + " convert " +
                                    arguments + " 2>'" + path("stderr.txt") + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readWholeFile(path("stderr.txt"))};
    }
};

TEST_F(CliConvert, WritesWhatTheWindowsConversionWritesUnderTheDefaultOrGivenName) {
    const struct {
        const char* name;
        ConversionDirection direction;
        std::string source;
        const char* defaultOutput;
    } directions[] = {{"gif2bmp", ConversionDirection::GifToBmp,
                       kCorpora + "blink-images-resources/animated-gif-with-offsets.gif",
                       "work/newimage.bmp"},
                      {"bmp2gif", ConversionDirection::BmpToGif, kCorpora + "bmpsuite/g/rgb24.bmp",
                       "work/newimage.gif"}};
    for (const auto& d : directions) {
        SCOPED_TRACE(d.name);
        convertPicture(d.direction, d.source, path("core"));
        EXPECT_EQ(convert(std::string(d.name) + " '" + d.source + "'"),
                  (std::pair<int, std::string>{0, ""}));
        EXPECT_EQ(readFile(d.defaultOutput), readFile("core"));
        EXPECT_EQ(convert(std::string(d.name) + " '" + d.source + "' ../named").first, 0);
        EXPECT_EQ(readFile("named"), readFile("core"));
    }
}

// Without a direction: the kind of OUT's extension, or of --to, as the Pics tab's "Picture -> ..."
// commands write it; standard output with --to.
TEST_F(CliConvert, AnyPictureToTheKindItsOutputNames) {
    const std::string png = kCorpora + "bmpsuite/html/rgba32.png";
    Picture picture;
    picture.loadFromFile(png);
    for (const auto& [extension, target] : {std::pair{"png", PictureTarget::Png},
                                            {"WEBP", PictureTarget::WebP},
                                            {"gif", PictureTarget::Gif},
                                            {"bmp", PictureTarget::Bmp}}) {
        SCOPED_TRACE(extension);
        const std::string out = std::string("out.") + extension;
        EXPECT_EQ(convert("'" + png + "' ../" + out), (std::pair<int, std::string>{0, ""}));
        EXPECT_EQ(readFile(out), convertedPicture(target, picture));
        EXPECT_EQ(convert("--to " + std::string(extension) + " '" + png + "' - >../stdout"),
                  (std::pair<int, std::string>{0, ""}));
        EXPECT_EQ(readFile("stdout"), readFile(out));
    }
}

TEST_F(CliConvert, FailuresGoToStderrWithStatusOneAndWriteNothing) {
    const std::string gif = kCorpora + "golang-image-testdata/video-001.gif";
    const std::string usage = "kelmor-cli convert: gif2bmp or bmp2gif, IN and an optional OUT";
    const std::string bmp = kCorpora + "bmpsuite/g/pal8.bmp";
    Bitmap pixel(1, 1, 8);
    pixel.palette = {{0, 0, 0}};
    GifImage huge = gifFromBitmap(pixel);
    huge.header().width = huge.header().height = 20000;
    saveGif(path("huge.gif"), huge);
    const std::pair<std::string, std::string> cases[] = {
        {"gif2bmp missing.gif", "Cannot open file missing.gif\n"},
        {"bmp2gif missing.bmp", "Cannot open file missing.bmp\n"},
        {"bmp2gif .", "Cannot open file .\n"},
        {"gif2bmp '" + bmp + "'", bmp + ": Invalid GIF signature\n"},
        {"bmp2gif '" + gif + "'", gif + ": Bitmap image is not valid\n"},
        {"bmp2gif '" + kCorpora + "bmpsuite/b/shortfile.bmp'",
         kCorpora + "bmpsuite/b/shortfile.bmp: Bitmap image is not valid\n"},
        {"gif2bmp '" + path("huge.gif") + "'", path("huge.gif") + ": Image too large\n"},
        {"bmp2gif '" + bmp + "' no/out.gif", "Cannot create file no/out.gif\n"},
        {"gif2bmp a b c", usage},
        // Without a direction: any picture to the kind --to or OUT's extension names.
        {"'" + bmp + "' ../out.tiff", "../out.tiff: Unknown picture file extension (.tiff)\n"},
        {"'" + bmp + "' -", "kelmor-cli convert: OUT - needs --to"},
        {"--to jpg '" + bmp + "' ../out.jpg", "kelmor-cli convert: --to needs gif, bmp, png or"},
        {"'" + bmp + "'", "kelmor-cli convert: IN and OUT are needed"},
        {"a.tiff ../out.png", "a.tiff: Unknown picture file extension (.tiff)\n"}};
    for (const auto& [arguments, message] : cases) {
        const auto [status, err] = convert(arguments);
        EXPECT_EQ(status, 1) << arguments;
        EXPECT_EQ(err.substr(0, message.size()), message) << arguments;
    }
    EXPECT_TRUE(fs::is_empty(path("work")));
}

// gif2bmp reads no further than the first frame with an image: what follows is not judged.
TEST_F(CliConvert, Gif2BmpReadsNoFurtherThanTheFirstPicture) {
    Bitmap pixels(2, 2, 8);
    pixels.palette = {{0, 0, 0}, {255, 255, 255}};
    pixels.setIndex(1, 1, 1);
    const std::string gif = encodeGif(gifFromBitmap(pixels));
    writeFile("one.gif", gif);
    const std::string more = gif.substr(0, gif.size() - 1) + std::string("!\x99\0;", 4);
    writeFile("more.gif", more);
    EXPECT_THROW(decodeGif(more), Error);
    EXPECT_EQ(convert("gif2bmp '" + path("more.gif") + "' ../more.bmp"),
              (std::pair<int, std::string>{0, ""}));
    EXPECT_EQ(readWholeFile(path("more.bmp")),
              convertedPicture(ConversionDirection::GifToBmp, path("one.gif")));
}

} // namespace
} // namespace kelmor
