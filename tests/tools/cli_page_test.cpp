// Runs the built kelmor-cli on project files and checks its pages, messages and exit status.
#include "generator/page_writer.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

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

class CliPageTest : public test::TempFolderTest {
protected:
    CliResult runCli(const std::vector<std::string>& args) {
        std::string command = shellQuote(KELMOR_CLI) + " page";
        for (const auto& arg : args)
            command += " " + shellQuote(arg);
        command += " >" + shellQuote(path("stdout")) + " 2>" + shellQuote(path("stderr"));
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile("stdout"), readFile("stderr")};
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
};

TEST_F(CliPageTest, WritesTheTargetPageOfRowOne) {
    const CliResult result = runCli({writeFile("site.kxq", project(3, path("menu.html")))});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile("menu.html"), pageText(PageKind::Plain, expectedButtons(3),
                                              {"Home Page", "#FFFFFF", "bg.gif", ""}));
}

TEST_F(CliPageTest, OutReplacesTheTargetAndOptionsChooseKindAndSeparator) {
    const std::string out = writeFile("out.html", "old text that must go");
    const std::string site = writeFile("site.kxq", project(10, path("menu.html")));
    const CliResult result = runCli({"--separator", "&nbsp;  ", "--sound", site, out});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(fs::exists(path("menu.html")));
    EXPECT_EQ(readFile("out.html"), pageText(PageKind::Sound, expectedButtons(10),
                                             {"Home Page", "#FFFFFF", "bg.gif", "&nbsp;  "}));
}

TEST_F(CliPageTest, ButtonCountOutsideOneToTenExitsWithTwo) {
    for (int rows : {0, 11}) {
        const CliResult result = runCli({writeFile("site.kxq", project(rows, path("menu.html")))});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "A page holds 1 to 10 buttons; the Button list has " +
                                  std::to_string(rows) + ".\n");
        EXPECT_FALSE(fs::exists(path("menu.html")));
    }
}

TEST_F(CliPageTest, MissingProjectExitsWithOne) {
    const std::string absent = path("absent.kxq");
    const CliResult result = runCli({absent, path("out.html")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "File " + absent + " not found\n");
    EXPECT_FALSE(fs::exists(path("out.html")));
}

TEST_F(CliPageTest, UnwritableTargetExitsWithOne) {
    const std::string target = path("no-such-folder/menu.html");
    const CliResult result = runCli({writeFile("site.kxq", project(1, target))});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Cannot create file " + target + "\n");
}

// A project names where its page goes: a web page inside the project's folder that is none of
// its pictures or sounds. Anything else is refused before it is written; OUT overrides the place.
TEST_F(CliPageTest, TargetPageMustBeAWebPageInsideTheProjectsFolder) {
    fs::create_directories(path("site"));
    fs::create_directory_symlink(folder_, path("site/up"));
    writeFile("site/s1.html", "a sound named like a page");
    const std::string outside = path("elsewhere.html");
    const std::string outsideMessage = " lies outside the project's folder; nothing was written "
                                       "(name it as OUT to write it there)";
    const std::vector<std::pair<std::string, std::string>> refusals = {
        {path("site/menu.txt"), "Target page is not a web page: " + path("site/menu.txt")},
        {path(".ssh/authorized_keys"),
         "Target page is not a web page: " + path(".ssh/authorized_keys")},
        {outside, "Target page " + outside + outsideMessage},
        {path("site/../elsewhere.html"), "Target page " + outside + outsideMessage},
        {path("site/up/elsewhere.html"),
         "Target page " + path("site/up/elsewhere.html") + outsideMessage},
        {path("site/s1.html"),
         "Target page " + path("site/s1.html") +
             " is one of the project's pictures or sounds; nothing was written"},
    };
    auto withSound = [&](const std::string& target) {
        std::string text = project(1, target);
        text.replace(text.find("s1.wav"), 6, "s1.html");
        return writeFile("site/site.kxq", text);
    };
    for (const auto& [target, message] : refusals) {
        const CliResult result = runCli({withSound(target)});
        EXPECT_EQ(result.status, 1) << target;
        EXPECT_EQ(result.err, message + "\n");
    }
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_EQ(readFile("site/s1.html"), "a sound named like a page");

    const std::string site = withSound(outside);
    const CliResult named = runCli({site, outside});
    EXPECT_EQ(named.status, 0) << named.err;
    std::vector<PageButton> buttons = expectedButtons(1);
    buttons[0].sound = "s1.html";
    EXPECT_EQ(readFile("elsewhere.html"),
              pageText(PageKind::Plain, buttons, {"Home Page", "#FFFFFF", "bg.gif", ""}));
    const CliResult overSound = runCli({site, path("site/s1.html")});
    EXPECT_EQ(overSound.status, 1);
    EXPECT_EQ(overSound.err, "The output would overwrite the input " + path("site/s1.html") +
                                 "; nothing was written\n");
    EXPECT_EQ(readFile("site/s1.html"), "a sound named like a page");
}

TEST_F(CliPageTest, Html5PageLeavesOutABgColorThatIsNoCssColourAndWarns) {
    const std::string typed = "#fff; background-image:url(http://127.0.0.1:9/beacon)";
    std::string text = project(1, path("menu.html"));
    text.replace(text.find("#FFFFFF"), 7, typed);
    const std::string site = writeFile("site.kxq", text);

    const CliResult html5 = runCli({"--html5", site});
    EXPECT_EQ(html5.status, 0);
    EXPECT_EQ(html5.err, "kelmor-cli page: warning: BG Color is not a CSS colour (#rgb, #rrggbb, "
                         "a colour name, rgb() or hsl()); the page has no background colour\n");
    EXPECT_THAT(readFile("menu.html"),
                HasSubstr("\r\n<body style=\"background-image: url(&quot;bg.gif&quot;)\">\r\n"));

    const CliResult legacy = runCli({site});
    EXPECT_EQ(legacy.err, "");
    EXPECT_THAT(readFile("menu.html"), HasSubstr("<body bgcolor=\"" + typed + "\"background="));
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
