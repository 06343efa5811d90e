// kelmor-cli animate, run as the built program, against the model of the assembly.
#include "assembly_reference.h"
#include "base/atomic_file.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/gif_image.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string err;
};

Bitmap stripes(int bits, int colours, int shift) {
    Bitmap bitmap(10, 8, bits);
    for (int i = 0; i < colours; ++i)
        bitmap.palette.push_back(Rgb{std::uint8_t(40 * i), std::uint8_t(255 - 30 * i), 90});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const unsigned index = unsigned((x + shift) / 3 % colours);
            if (bits <= 8)
                bitmap.setIndex(x, y, index);
            else
                bitmap.setColor(x, y, Rgb{std::uint8_t(60 * index), 200, std::uint8_t(y * 30)});
        }
    return bitmap;
}

class CliAnimate : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kelmor-cli-animate-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        frames_ = {stripes(4, 3, 0), stripes(24, 3, 1), stripes(8, 3, 0)};
        writeFileReplacing(path("one.bmp"), writeBmp(frames_[0]));
        writeFileReplacing(path("two.BMP"), writeBmp(frames_[1]));
        GifImage(frames_[2]).saveToFile(path("three.gif"));
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::string frameArguments() const {
        return path("one.bmp") + " " + path("two.BMP") + " " + path("three.gif");
    }

    CliRun run(const std::string& arguments) const {
        const std::string command =
            std::string(KELMOR_CLI) + " animate " + arguments + " 2>" + path("stderr.txt");
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readWholeFile(path("stderr.txt"))};
    }

    fs::path folder_;
    std::vector<Bitmap> frames_;
};

TEST_F(CliAnimate, DefaultsAreLoopForEverAndThirtyHundredths) {
    const CliRun result = run("-o " + path("out.gif") + " " + frameArguments());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readWholeFile(path("out.gif")), test::referenceAnimation(frames_, {0, 30}));
}

TEST_F(CliAnimate, OptionsReachTheAssembly) {
    const CliRun result = run("--loop 2 --delay 7 --merge --crop --palette -o " + path("out.gif") +
                              " " + frameArguments());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readWholeFile(path("out.gif")),
              test::referenceAnimation(frames_, {2, 7, true, true, true}));
}

TEST_F(CliAnimate, FailuresGoToStandardErrorAndWriteNothing) {
    const std::string out = " -o " + path("out.gif") + " ";
    struct Case {
        std::string arguments, message;
    } cases[] = {
        {"--loop -1" + out + frameArguments(), "'-1' is not a valid value (0 to 65535)\n"},
        {"--delay fast" + out + frameArguments(), "'fast' is not a valid integer value\n"},
        {out + path("missing.bmp"), "Cannot open file " + path("missing.bmp") + "\n"},
        {out + path("one.png"), "Unknown picture file extension (.png)\n"},
        {"-o " + path("no/such/folder.gif") + " " + frameArguments(),
         "Cannot create file " + path("no/such/folder.gif") + "\n"},
    };
    for (const Case& c : cases) {
        const CliRun result = run(c.arguments);
        EXPECT_EQ(result.status, 1) << c.arguments;
        EXPECT_EQ(result.err, c.message) << c.arguments;
        EXPECT_FALSE(fs::exists(path("out.gif")));
    }
}

TEST_F(CliAnimate, UsageErrorsName1To20Frames) {
    std::string twentyOne;
    for (int i = 0; i < 21; ++i)
        twentyOne += " " + path("one.bmp");
    for (const std::string& arguments :
         {"-o " + path("out.gif") + twentyOne, "-o " + path("out.gif"), frameArguments(),
          "--fast -o " + path("out.gif") + " " + frameArguments()}) {
        const CliRun result = run(arguments);
        EXPECT_EQ(result.status, 1) << arguments;
        EXPECT_NE(result.err.find("Usage:"), std::string::npos) << arguments;
    }
}

} // namespace
} // namespace kelmor
