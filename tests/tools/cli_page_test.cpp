// Runs the built kelmor-cli on project files and checks its pages, messages and exit status.
#include "generator/page_writer.h"
#include "imaging/png.h"
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
    // None of the pictures is there: the page is written all the same, and says so.
    EXPECT_EQ(result.err, "kelmor-cli page: 7 pictures not found: n1.gif, o1.gif, n2.gif, "
                          "o2.gif, n3.gif, o3.gif, bg.gif\n");
    EXPECT_EQ(readFile("menu.html"), pageText(pageKindNamed("plain"), expectedButtons(3),
                                              {"Home Page", "#FFFFFF", "bg.gif", ""}));
}

// Names from the project reach the terminal with their control characters escaped; web
// addresses and the pictures that are there are not listed.
TEST_F(CliPageTest, MissingPicturesAreNamedSafelyAndThePageIsWrittenAllTheSame) {
    writeFile("n1.gif", "GIF89a");
    const CliResult result = runCli(
        {writeFile("site.kxq", "13,3\r\n0,1,n1.gif\r\n5,1,http://example.org/o.gif\r\n12,1," +
                                   path("menu.html") + "\r\n0,2,\x1b[2Jx.gif\r\n")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "kelmor-cli page: 1 picture not found: \\x1B[2Jx.gif\n");
    EXPECT_FALSE(readFile("menu.html").empty());
}

TEST_F(CliPageTest, OutReplacesTheTargetAndOptionsChooseKindAndSeparator) {
    const std::string out = writeFile("out.html", "old text that must go");
    const std::string site = writeFile("site.kxq", project(10, path("menu.html")));
    const CliResult result = runCli({"--separator", "&nbsp;  ", "--sound", site, out});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(fs::exists(path("menu.html")));
    EXPECT_EQ(readFile("out.html"), pageText(pageKindNamed("sound"), expectedButtons(10),
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

// A page outside the project's folder is written only when named as OUT; OUT is never one of
// the project's sounds. The rule itself is checked in the core; the hostile corpus refuses the
// other planted targets end to end.
TEST_F(CliPageTest, OutWritesAPageOutsideTheProjectsFolderButNeverOverItsSound) {
    fs::create_directories(path("site"));
    writeFile("site/s1.html", "a sound named like a page");
    const std::string outside = path("elsewhere.html");
    std::string text = project(1, outside);
    text.replace(text.find("s1.wav"), 6, "s1.html");
    const std::string site = writeFile("site/site.kxq", text);

    const CliResult refused = runCli({site});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Target page " + outside +
                               " lies outside the project's folder; nothing was written (name it "
                               "as OUT to write it there)\n");
    EXPECT_FALSE(fs::exists(outside));

    const CliResult named = runCli({site, outside});
    EXPECT_EQ(named.status, 0) << named.err;
    std::vector<PageButton> buttons = expectedButtons(1);
    buttons[0].sound = "s1.html";
    EXPECT_EQ(readFile("elsewhere.html"),
              pageText(pageKindNamed("plain"), buttons, {"Home Page", "#FFFFFF", "bg.gif", ""}));
    const CliResult overSound = runCli({site, path("site/s1.html")});
    EXPECT_EQ(overSound.status, 1);
    EXPECT_EQ(overSound.err, "The output would overwrite the input " + path("site/s1.html") +
                                 "; nothing was written\n");
    EXPECT_EQ(readFile("site/s1.html"), "a sound named like a page");
}

// --kind NAME writes the page of that kind, the same bytes as the aliases that ask for it.
struct KindCase {
    const char* name;
    std::vector<std::string> aliases;
};

class CliPageKindTest : public CliPageTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(CliPageKindTest, KindWritesThePageOfThatKindAsItsAliasesDo) {
    const std::string site = writeFile("site.kxq", project(2, path("menu.html")));
    const PageKind kind = pageKindNamed(GetParam().name);
    const std::string expected =
        pageText(kind, expectedButtons(2), {"Home Page", "#FFFFFF", "bg.gif", "<br>"});

    const CliResult named = runCli({"--kind", GetParam().name, "--separator", "<br>", site});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(readFile("menu.html"), expected);

    std::vector<std::string> args = GetParam().aliases;
    args.insert(args.end(), {"--separator", "<br>", site, path("alias.html")});
    const CliResult aliased = runCli(args);
    EXPECT_EQ(aliased.status, 0) << aliased.err;
    EXPECT_EQ(readFile("alias.html"), expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CliPageKindTest,
                         ::testing::Values(KindCase{"plain", {}}, KindCase{"sound", {"--sound"}},
                                           KindCase{"html5", {"--html5"}},
                                           KindCase{"html5-sound", {"--sound", "--html5"}}),
                         [](const auto& param) {
                             std::string name = param.param.name;
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(CliPageTest, UnknownKindOrKindBesideAnAliasWritesNothing) {
    const std::string site = writeFile("site.kxq", project(1, path("menu.html")));
    const CliResult unknown = runCli({"--kind", "menus", site});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err,
              "--kind: 'menus' is not a page kind (plain, sound, html5, html5-sound or menu)\n");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--kind", "sound", "--sound", site},
          {"--html5", "--kind", "html5", site},
          {site, "--kind"}}) {
        const CliResult result = runCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_THAT(result.err, HasSubstr("Usage:"));
    }
    EXPECT_FALSE(fs::exists(path("menu.html")));
}

// The menu page of a project, written below the project's folder: every path from the page's
// folder, the BG Image's too, the page's own button current, the second row left out for its
// want of a picture, the rules in the head; the sprite is written beside the first picture, and
// no picture is reported missing, each being found from the project's folder.
TEST_F(CliPageTest, MenuKindWritesTheMenuPageFromItsFolderAndTheSprite) {
    fs::create_directories(path("images"));
    fs::create_directories(path("blog"));
    for (const char* name : {"home", "home-over", "news", "news-over", "news-current", "mail"})
        writeFile(std::string("images/") + name + ".png", encodePng(RgbaImage::blank(40, 20)));
    writeFile("back.png", encodePng(RgbaImage::blank(2, 2)));
    const std::string site = writeFile(
        "site.kxq", "13,5\r\n0,1,images/home.png\r\n4,1,index.html\r\n5,1,images/home-over.png\r\n"
                    "9,1,back.png\r\n10,1,#203040\r\n11,1,Tom & \"Jerry\"\r\n12,1,index.html\r\n"
                    "4,2,left-out.html\r\n"
                    "0,3,images/news.png\r\n3,3,_top\r\n4,3,blog/news.html?at=top\r\n"
                    "5,3,images/news-over.png\r\n"
                    "0,4,images/mail.png\r\n1,4,32\r\n2,4,16\r\n4,4,mailto:me@example.com\r\n");
    // Its Target Page, index.html of the current folder, lies outside the project's folder: the
    // page is refused, and no sprite is written for it.
    EXPECT_EQ(runCli({"--kind", "menu", site}).status, 1);
    EXPECT_FALSE(fs::exists(path("images/menu-sprite.png")));

    const CliResult result =
        runCli({"--kind", "menu", "--separator", "&nbsp;  ", site, path("blog/news.html")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile("blog/news.html"),
              test::fileBytes(KELMOR_TEST_DATA "/pages/menu-blog.html"));
    EXPECT_TRUE(readFile("images/menu-sprite.png").starts_with("\x89PNG")) << "no sprite";
}

TEST_F(CliPageTest, MenuKindWithoutPicturesWritesNothing) {
    const std::string site =
        writeFile("site.kxq", "13,3\r\n4,1,index.html\r\n4,2,other.html\r\n12,1,menu.html\r\n");
    const CliResult result = runCli({"--kind", "menu", site, path("menu.html")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "The menu has no buttons\n");
    EXPECT_FALSE(fs::exists(path("menu.html")));
}

TEST_F(CliPageTest, HelpAndUsageErrors) {
    const CliResult help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("kelmor-cli page [--sound] [--separator TEXT]"));
    for (PageKind kind : pageKinds())
        EXPECT_THAT(help.out,
                    HasSubstr(std::string(kind.name()) + ": " + std::string(kind.caption())));

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
