// What every kelmor-cli command does with its files: "-" writes to standard output, an output
// never overwrites an input, and hostile pictures are refused before they cost time or memory.
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <vector>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out, err;
};

using Files = std::vector<std::pair<std::string, std::string>>;

// A GIF with a two-colour global table whose screen and `frames` frames each claim width x
// height pixels, every frame holding `data` (LZW code size and sub-blocks).
std::string claimingGif(int width, int height, int frames, const std::string& data) {
    const auto le16 = [](int v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    std::string gif = "GIF89a" + le16(width) + le16(height) + std::string("\x80\0\0", 3) +
                      std::string("\0\0\0\xff\xff\xff", 6);
    for (int i = 0; i < frames; ++i)
        gif += "," + le16(0) + le16(0) + le16(width) + le16(height) + '\0' + data;
    return gif + ";";
}

// Clear code, index 1, end code: one pixel.
const std::string kOnePixel("\x02\x02\x4c\x01\x00", 5);
// A code size past 12 bits: the decoder refuses it as soon as it starts on the frame.
const std::string kUndecodable("\x0c\x00", 2);

const std::string kTiny = claimingGif(4, 4, 1, kOnePixel);
const std::string kProject =
    "13,2\r\n0,1,n1.gif\r\n4,1,p1.html\r\n5,1,o1.gif\r\n12,1,page.html\r\n";

class CliFiles : public test::TempFolderTest {
protected:
    // Runs kelmor-cli in the test folder; `redirect` is where its standard output goes.
    CliRun run(const std::string& arguments, const std::string& redirect = ">stdout") const {
        const std::string command = "cd '" + folder_.string() + "' && " + KELMOR_CLI + " " +
                                    arguments + " 2>stderr " + redirect;
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile("stdout"), readFile("stderr")};
    }
    void make(const Files& files) const {
        for (const auto& [name, bytes] : files)
            writeFile(name, bytes);
    }
};

// One command with an output: its input file and its arguments, OUT standing for the output.
struct OutputCase {
    const char* name;
    const char* input;
    const char* arguments;
};

void PrintTo(const OutputCase& c, std::ostream* out) {
    *out << c.name;
}

class CliOutput : public CliFiles, public testing::WithParamInterface<OutputCase> {
protected:
    std::string withOutput(const std::string& output) const {
        std::string arguments = GetParam().arguments;
        return arguments.replace(arguments.find("OUT"), 3, output);
    }
};

TEST_P(CliOutput, DashIsStandardOutputAndNoInputIsOverwritten) {
    const std::string input = GetParam().input;
    // The project's pictures are there, so a page reports nothing missing.
    make({{"in.gif", kTiny}, {"p.kxq", kProject}, {"n1.gif", kTiny}, {"o1.gif", kTiny}});
    const std::string before = readFile(input);
    ASSERT_EQ(run(withOutput("file.out")).status, 0);

    const CliRun piped = run(withOutput("-"), "| cat >stdout");
    EXPECT_EQ(piped.out, readFile("file.out"));
    EXPECT_EQ(piped.err, "");

    fs::create_symlink(input, path("link"));
    const std::string refused =
        "The output would overwrite the input " + input + "; nothing was written\n";
    const std::pair<std::string, std::string> sameFiles[] = {
        {input, ">stdout"}, {"link", ">stdout"}, {"-", ">>" + input}};
    for (const auto& [output, redirect] : sameFiles) {
        const CliRun same = run(withOutput(output), redirect);
        EXPECT_EQ(same.status, 1) << output << redirect;
        EXPECT_EQ(same.err, refused) << output << redirect;
        EXPECT_EQ(readFile(input), before) << output << redirect;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliOutput,
    testing::Values(OutputCase{"Resave", "in.gif", "resave in.gif OUT"},
                    OutputCase{"Convert", "in.gif", "convert gif2bmp in.gif OUT"},
                    OutputCase{"Page", "p.kxq", "page p.kxq OUT"},
                    OutputCase{"Animate", "in.gif", "animate --delay 5 -o OUT in.gif"}),
    [](const auto& param) { return std::string(param.param.name); });

// A command on hostile or damaged pictures and what it must answer: its standard error, or for
// a command that succeeds (no error) a text its output holds.
struct LimitCase {
    const char* name;
    const char* arguments;
    const char* err;
    const char* outHolds = "";
};

void PrintTo(const LimitCase& c, std::ostream* out) {
    *out << c.name;
}

// Undecodable frame data shows whether a frame was decoded before the answer. 8192 x 8192 is
// the largest square frame (64 Mi pixels): four of them fill the total of 256 Mi that one file
// may hold. An assembly also holds every picture and the frames it makes: one frame of that size
// passes its memory budget, two of 2048 x 2048 (s1.gif, s2.gif) stay well within it.
const LimitCase kLimitCases[] = {
    {"FramesClaimingMoreThanTheTotal", "info five.gif", "five.gif: Image too large\n"},
    {"TwentyFrameBomb", "resave twenty.gif out.gif", "twenty.gif: Image too large\n"},
    {"FramesWithinTheTotalAreDecoded", "info four.gif", "four.gif: Invalid GIF data\n"},
    {"FrameDataEndingEarlyWarns", "info tiny.gif", "",
     "warning: Image data ended early: 15 pixels missing\n"},
    {"AssemblyPastTheBudget", "animate -o out.gif s1.gif f1.gif", "f1.gif: Image too large\n"},
    {"AssemblyWithinTheBudget", "animate -o out.gif s1.gif s2.gif", "s1.gif: Invalid GIF data\n"},
    {"UnreadableHeaderIsRefused", "animate -o out.gif s1.gif s2.gif no.gif",
     "Cannot open file no.gif\n"},
    {"AssemblyScreenPastTheFrameLimit", "animate -o out.gif tall.gif wide.gif",
     "wide.gif: Image too large\n"},
    {"AssemblyScreenWithinTheBudget", "animate -o out.gif tall2k.gif wide2k.gif", ""},
};

class CliLimits : public CliFiles, public testing::WithParamInterface<LimitCase> {};

TEST_P(CliLimits, AnswerBeforeDecodingWhatCannotFit) {
    const LimitCase& c = GetParam();
    make({{"five.gif", claimingGif(8192, 8192, 5, kUndecodable)},
          {"twenty.gif", claimingGif(8192, 8192, 20, kUndecodable)},
          {"four.gif", claimingGif(8192, 8192, 4, kUndecodable)},
          {"tiny.gif", kTiny},
          {"tall.gif", claimingGif(1, 65535, 1, kOnePixel)},
          {"wide.gif", claimingGif(65535, 1, 1, kOnePixel)},
          {"tall2k.gif", claimingGif(1, 2048, 1, kOnePixel)},
          {"wide2k.gif", claimingGif(2048, 1, 1, kOnePixel)},
          {"f1.gif", claimingGif(8192, 8192, 1, kUndecodable)}});
    for (const char* name : {"s1.gif", "s2.gif"})
        writeFile(name, claimingGif(2048, 2048, 1, kUndecodable));
    const CliRun result = run(c.arguments);
    EXPECT_EQ(result.status, *c.err ? 1 : 0);
    EXPECT_EQ(result.err, c.err);
    EXPECT_NE(result.out.find(c.outHolds), std::string::npos) << result.out;
    if (*c.err) {
        EXPECT_FALSE(fs::exists(path("out.gif")));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, CliLimits, testing::ValuesIn(kLimitCases),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace kelmor
