// kelmor-cli animate, run as the built program, against the model of the assembly.
#include "animation/assembly.h"
#include "animation/assembly_reference.h"
#include "base/atomic_file.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_encode.h"
#include "imaging/hostile_pictures.h"
#include "support/temp_folder.h"

#include <array>
#include <filesystem>
#include <sys/wait.h>

namespace kelmor {
namespace {

Bitmap stripes(int bits, int shift) {
    Bitmap bitmap(10, 8, bits);
    for (int i = 0; i < 3; ++i)
        bitmap.palette.push_back(Rgb{std::uint8_t(40 * i), std::uint8_t(255 - 30 * i), 90});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const unsigned index = unsigned((x + shift) / 3 % 3);
            if (bits <= 8)
                bitmap.setIndex(x, y, index);
            else
                bitmap.setColor(x, y, Rgb{std::uint8_t(60 * index), 200, std::uint8_t(y * 30)});
        }
    return bitmap;
}

class CliAnimate : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        writeFileReplacing(path("one.bmp"), writeBmp(frames_[0]));
        writeFileReplacing(path("two.BMP"), writeBmp(frames_[1]));
        saveGif(path("three.gif"), gifFromBitmap(frames_[2]));
        files_ = " " + path("one.bmp") + " " + path("two.BMP") + " " + path("three.gif");
    }
    // Runs kelmor-cli animate; returns the exit status and stderr.
    std::pair<int, std::string> animate(const std::string& arguments) const {
        const std::string command =
            std::string(KELMOR_CLI) + " animate " + arguments + " 2>" + path("stderr.txt");
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile("stderr.txt")};
    }

    const std::vector<Bitmap> frames_{stripes(4, 0), stripes(24, 1), stripes(8, 0)};
    std::string files_;
};

TEST_F(CliAnimate, DefaultsAndOptionsReachTheAssembly) {
    const std::pair<std::string, test::ReferenceOptions> cases[] = {
        {"", {0, 30}}, // loop for ever, thirty hundredths
        {"--loop 2 --delay 7 --merge --crop --palette ", {2, 7, true, true, true}},
        {"--loop 65535 --delay 0x0 ", {65535, 0}}}; // the whole 16-bit range, hexadecimal too
    for (const auto& [options, reference] : cases) {
        SCOPED_TRACE(options);
        EXPECT_EQ(animate(options + "-o " + path("out.gif") + files_),
                  (std::pair<int, std::string>{0, ""}));
        EXPECT_EQ(readFile("out.gif"), test::referenceAnimation(frames_, reference));
    }
}

// OUT.webp: the Gifs tab's animated WebP of the same pictures, of every kind, with the options.
TEST_F(CliAnimate, WebpOutputIsTheTabsAnimatedWebp) {
    const std::string svg = writeFile("four.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                                  "width=\"6\" height=\"9\"><rect width=\"4\" "
                                                  "height=\"5\" fill=\"#09c\"/></svg>");
    EXPECT_EQ(animate("--loop 3 --delay 12 -o " + path("out.webp") + files_ + " " + svg),
              (std::pair<int, std::string>{0, ""}));
    std::vector<Picture> slots(4);
    for (int i = 0; i < 4; ++i)
        slots[std::size_t(i)].loadFromFile(
            path(std::array{"one.bmp", "two.BMP", "three.gif", "four.svg"}[std::size_t(i)]));
    FixedAnimationSettings settings;
    settings.loop = "3";
    settings.speed = "12";
    EXPECT_EQ(readFile("out.webp"), assembleWebpAnimation(slots, 4, settings));
}

TEST_F(CliAnimate, FailuresGoToStandardErrorAndWriteNothing) {
    const std::string out = " -o " + path("out.gif");
    const auto times = [this](int count, const std::string& name) {
        std::string list;
        for (int i = 0; i < count; ++i)
            list += " " + path(name);
        return list;
    };
    const std::string twentyOne = times(21, "one.bmp");
    // A GIF counts at least its screen, which the assembly turns into a frame: two of 4096 x 4096
    // pictures, with their frames, come near the memory budget, and a third picture passes it.
    writeFile("screen.gif", test::emptyFramesGif(4096, 4096, {{1, 1}}));
    writeFile("bad.jpg", "BM");
    const std::string pastTheBudget = path("one.bmp") + ": Image too large\n";
    const std::pair<std::string, std::string> cases[] = {
        {"--loop -1" + out + files_, "--loop: '-1' is not a valid value (0 to 65535)\n"},
        {"--loop often" + out + files_, "--loop: 'often' is not a valid integer value\n"},
        {"--loop 65536" + out + files_, "--loop: '65536' is not a valid value (0 to 65535)\n"},
        {"--delay 1.5" + out + files_, "--delay: '1.5' is not a valid integer value\n"},
        {"--delay -3" + out + files_, "--delay: '-3' is not a valid value (0 to 65535)\n"},
        {out + " " + path("missing.bmp"), "Cannot open file " + path("missing.bmp") + "\n"},
        {out + " " + path("one.tiff"),
         path("one.tiff") + ": Unknown picture file extension (.tiff)\n"},
        {"-o " + path("no/such/folder.gif") + files_,
         "Cannot create file " + path("no/such/folder.gif") + "\n"},
        {out + times(2, "screen.gif") + times(1, "one.bmp"), pastTheBudget},
        {out + times(1, "bad.jpg") + files_,
         path("bad.jpg") + ": Not a JPEG file: starts with 0x42 0x4d\n"},
        // After -- every argument is a picture.
        {out + " -- --loop.gif", "Cannot open file --loop.gif\n"},
        // Usage errors: 21 frames, none, no output, an unknown option.
        {out + twentyOne, "Usage:"},
        {out, "Usage:"},
        {files_, "Usage:"},
        {"--fast" + out + files_, "Usage:"},
    };
    for (const auto& [arguments, message] : cases) {
        const auto [status, err] = animate(arguments);
        EXPECT_EQ(status, 1) << arguments;
        if (message == "Usage:")
            EXPECT_NE(err.find(message), std::string::npos) << arguments;
        else
            EXPECT_EQ(err, message) << arguments;
        EXPECT_FALSE(std::filesystem::exists(path("out.gif")));
    }
}

} // namespace
} // namespace kelmor
