// Runs the built kelmor-cli on project files and checks its pages, messages and exit status.
#include "generator/page_writer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct CliResult {
    int status;
    std::string out, err;
};

class CliPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kelmor-cli-page-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    CliResult runCli(const std::vector<std::string>& args) {
        std::string command = shellQuote(KELMOR_CLI) + " page";
        for (const auto& arg : args)
            command += " " + shellQuote(arg);
        command += " >" + shellQuote((dir_ / "stdout").string()) + " 2>" +
                   shellQuote((dir_ / "stderr").string());
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(dir_ / "stdout"),
                readFile(dir_ / "stderr")};
    }

    // A project with `rows` data rows; row k links to "pk.html" and plays "sk.wav".
    std::string project(int rows, const std::string& target) {
        std::string text = "13," + std::to_string(rows + 1) + "\r\n";
        for (int k = 1; k <= rows; ++k) {
            const std::string r = std::to_string(k);
            text += "0," + r + ",n" + r + ".gif\r\n3," + r + ",_top\r\n4," + r + ",p" + r +
                    ".html\r\n5," + r + ",o" + r + ".gif\r\n8," + r + ",s" + r + ".wav\r\n";
        }
        text += "9,1,bg.gif\r\n10,1,#FFFFFF\r\n11,1,Home Page\r\n12,1," + target + "\r\n";
        return text;
    }

    static std::vector<PageButton> expectedButtons(int rows) {
        std::vector<PageButton> buttons;
        for (int k = 1; k <= rows; ++k) {
            const std::string r = std::to_string(k);
            buttons.push_back(
                {"n" + r + ".gif", "o" + r + ".gif", "p" + r + ".html", "_top", "s" + r + ".wav"});
        }
        return buttons;
    }

    fs::path dir_;
};

TEST_F(CliPageTest, WritesTheTargetPageOfRowOne) {
    const fs::path target = dir_ / "menu.html";
    writeFile(dir_ / "site.kxq", project(3, target.string()));
    const CliResult result = runCli({(dir_ / "site.kxq").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile(target), pageText(PageKind::Plain, expectedButtons(3),
                                         {"Home Page", "#FFFFFF", "bg.gif", ""}));
}

TEST_F(CliPageTest, OutReplacesTheTargetAndOptionsChooseKindAndSeparator) {
    const fs::path target = dir_ / "menu.html";
    const fs::path out = dir_ / "out.html";
    writeFile(out, "old text that must go");
    writeFile(dir_ / "site.kxq", project(10, target.string()));
    const CliResult result =
        runCli({"--separator", "&nbsp;  ", "--sound", (dir_ / "site.kxq").string(), out.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(readFile(out), pageText(PageKind::Sound, expectedButtons(10),
                                      {"Home Page", "#FFFFFF", "bg.gif", "&nbsp;  "}));
}

TEST_F(CliPageTest, ButtonCountOutsideOneToTenExitsWithTwo) {
    const fs::path target = dir_ / "menu.html";
    for (int rows : {0, 11}) {
        writeFile(dir_ / "site.kxq", project(rows, target.string()));
        const CliResult result = runCli({(dir_ / "site.kxq").string()});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "A page holds 1 to 10 buttons; the Button list has " +
                                  std::to_string(rows) + ".\n");
        EXPECT_FALSE(fs::exists(target));
    }
}

TEST_F(CliPageTest, MissingProjectExitsWithOne) {
    const std::string path = (dir_ / "absent.kxq").string();
    const CliResult result = runCli({path, (dir_ / "out.html").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "File " + path + " not found\n");
    EXPECT_FALSE(fs::exists(dir_ / "out.html"));
}

TEST_F(CliPageTest, UnwritableTargetExitsWithOne) {
    writeFile(dir_ / "site.kxq", project(1, (dir_ / "no-such-folder" / "menu.html").string()));
    const CliResult result = runCli({(dir_ / "site.kxq").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "Cannot create file " + (dir_ / "no-such-folder" / "menu.html").string() + "\n");
}

TEST_F(CliPageTest, HelpAndUsageErrors) {
    const CliResult help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("kelmor-cli page [--sound] [--separator TEXT]"));

    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"--bogus", "x.kxq"},
                                                 {"x.kxq", "--separator"},
                                                 {"a.kxq", "b.html", "c.html"}}) {
        const CliResult result = runCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_THAT(result.err, HasSubstr("Usage:"));
    }
}

} // namespace
} // namespace kelmor
