// kelmor-cli convert, run as the built program: the same files as the core conversion, the
// default output names in the working directory, errors on stderr with exit status 1.
#include "base/atomic_file.h"
#include "base/read_file.h"
#include "pictures/conversion.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpora = fs::path(KELMOR_TEST_DATA) / "corpora";

struct CliRun {
    int status;
    std::string err;
};

class CliConvert : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kelmor-cli-convert-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "work");
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // Runs kelmor-cli in the folder "work".
    CliRun run(const std::string& arguments) const {
        const std::string command = "cd '" + path("work") + "' && " + KELMOR_CLI + " " + arguments +
                                    " 2>'" + path("stderr.txt") + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readWholeFile(path("stderr.txt"))};
    }

    fs::path folder_;
};

struct Direction {
    const char* name;
    ConversionDirection direction;
    const char* source;
    const char* defaultOutput;
};

void PrintTo(const Direction& d, std::ostream* out) {
    *out << d.name;
}

class CliConvertDirection : public CliConvert, public ::testing::WithParamInterface<Direction> {};

TEST_P(CliConvertDirection, WritesWhatTheWindowsConversionWrites) {
    const Direction& d = GetParam();
    const std::string source = (kCorpora / d.source).string();
    convertPicture(d.direction, source, path("core"));

    const CliRun defaulted = run(std::string("convert ") + d.name + " '" + source + "'");
    EXPECT_EQ(defaulted.status, 0);
    EXPECT_EQ(defaulted.err, "");
    EXPECT_EQ(readWholeFile(path(std::string("work/") + d.defaultOutput)),
              readWholeFile(path("core")));

    const CliRun named = run(std::string("convert ") + d.name + " '" + source + "' ../named");
    EXPECT_EQ(named.status, 0);
    EXPECT_EQ(readWholeFile(path("named")), readWholeFile(path("core")));
}

INSTANTIATE_TEST_SUITE_P(
    Both, CliConvertDirection,
    ::testing::Values(Direction{"gif2bmp", ConversionDirection::GifToBmp,
                                "blink-images-resources/animated-gif-with-offsets.gif",
                                "newimage.bmp"},
                      Direction{"bmp2gif", ConversionDirection::BmpToGif, "bmpsuite/g/rgb24.bmp",
                                "newimage.gif"}));

TEST_F(CliConvert, FailuresGoToStderrWithStatusOneAndWriteNothing) {
    const std::string gif = (kCorpora / "golang-image-testdata/video-001.gif").string();
    const std::pair<std::string, std::string> cases[] = {
        {"gif2bmp missing.gif", "Cannot open file missing.gif\n"},
        {"bmp2gif '" + gif + "'", "Bitmap image is not valid\n"},
        {"gif2bmp '" + gif + "' no/out.bmp", "Cannot create file no/out.bmp\n"},
        {"gif2png x.gif", "kelmor-cli convert: gif2bmp or bmp2gif, IN and an optional OUT"},
        {"gif2bmp a b c", "kelmor-cli convert: gif2bmp or bmp2gif, IN and an optional OUT"}};
    for (const auto& [arguments, message] : cases) {
        const CliRun failed = run("convert " + arguments);
        EXPECT_EQ(failed.status, 1) << arguments;
        EXPECT_EQ(failed.err.substr(0, message.size()), message) << arguments;
    }
    EXPECT_TRUE(fs::is_empty(path("work")));
}

} // namespace
} // namespace kelmor
