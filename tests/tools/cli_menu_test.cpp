// Runs the built kelmor-cli menu on small sites: the menu on its own, and put into the site's
// pages, each with its own button current and its paths from its own folder.
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
using ::testing::Not;

class CliMenuTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(path("images"));
        fs::create_directories(path("blog"));
        for (const char* name : {"home", "home-over", "blog", "blog-over", "blog-current"})
            writeFile(std::string("images/") + name + ".png", encodePng(RgbaImage::blank(40, 20)));
        writeFile("menu.kxq", "13,3\r\n0,1,images/home.png\r\n4,1,index.html\r\n"
                              "5,1,images/home-over.png\r\n11,1,Site\r\n"
                              "0,2,images/blog.png\r\n4,2,blog/post.html\r\n"
                              "5,2,images/blog-over.png\r\n");
    }

    struct Result {
        int status;
        std::string out, err;
    };
    Result run(const std::string& args, const std::filesystem::path& in = ".") {
        const std::string command = "cd '" + in.string() + "' && " + KELMOR_CLI + " menu " + args +
                                    " >" + path("stdout") + " 2>" + path("stderr");
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile("stdout"), readFile("stderr")};
    }
    static std::string page(const std::string& menu) {
        return "<!doctype html>\r\n<p>before</p>\r\n<!-- kelmor-menu menu -->\r\n" + menu +
               "<!-- /kelmor-menu -->\r\n<p>after</p>";
    }
};

TEST_F(CliMenuTest, UpdatesEveryPageWithItsOwnButtonCurrent) {
    writeFile("index.html", page(""));
    writeFile("blog/post.html", page("old menu\r\n"));
    writeFile("blog/other.html", "<p>no menu here</p>\n");
    const Result first = run("--sprite none --update " + folder_.string() + " " + path("menu.kxq"));
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "blog/other.html: no markers\nblog/post.html: updated\n"
                         "index.html: updated\n2 updated, 0 unchanged, 1 without markers, "
                         "0 refused\n");

    const std::string post = readFile("blog/post.html");
    EXPECT_THAT(post, HasSubstr("<nav class=\"kelmor-menu\" aria-label=\"Site\">"));
    EXPECT_THAT(post, HasSubstr("href=\"../index.html\"><span"));
    EXPECT_THAT(post, HasSubstr("href=\"post.html\" aria-current=\"page\">"));
    EXPECT_THAT(post, HasSubstr("url(\"../images/blog-current.png\")"));
    EXPECT_THAT(post, HasSubstr("<span class=\"kelmor-menu-text\">home</span>"));
    EXPECT_THAT(post, Not(HasSubstr("old menu")));
    EXPECT_TRUE(post.starts_with("<!doctype html>\r\n<p>before</p>\r\n<!-- kelmor-menu menu -->"));
    EXPECT_TRUE(post.ends_with("<!-- /kelmor-menu -->\r\n<p>after</p>"));
    EXPECT_THAT(post, Not(HasSubstr(">\n")));
    const std::string index = readFile("index.html");
    EXPECT_THAT(index, HasSubstr("href=\"index.html\" aria-current=\"page\">"));
    // The current picture of a button without one is its mouse-over picture.
    EXPECT_THAT(index, HasSubstr("url(\"images/home-over.png\")}"));

    const Result again =
        run("--sprite none --update " + folder_.string() + " " + path("menu.kxq") + " --dry-run");
    EXPECT_EQ(again.status, 0);
    EXPECT_THAT(again.out, HasSubstr("0 updated, 2 unchanged, 1 without markers, 0 refused"));
}

// The golden site: pages at three depths, CRLF and LF, one without a final newline, an indented
// pair of markers, another project's markers, one page without markers, one with broken markers
// and one already up to date; its sprites written beside the first button's pictures.
TEST_F(CliMenuTest, TheUpdatedGoldenSiteMatchesTheExpectedBytes) {
    const fs::path golden = fs::path(KELMOR_TEST_DATA) / "site-menu";
    fs::copy(golden / "input", path("site"), fs::copy_options::recursive);
    const Result result = run("--update site site/menu.kxq", folder_);
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out, "about.html: no markers\nblog/2026/first.html: updated\n"
                          "blog/index.html: updated\nbroken.html: menu markers not closed\n"
                          "index.html: updated\nnews.html: unchanged\n"
                          "3 updated, 1 unchanged, 1 without markers, 1 refused\n");
    const auto written = test::filesUnder(path("site"));
    const auto expected = test::filesUnder(golden / "expected");
    EXPECT_EQ(written.size(), expected.size());
    for (const auto& [name, bytes] : expected) {
        ASSERT_TRUE(written.contains(name)) << name;
        EXPECT_EQ(written.at(name), bytes) << name;
    }
}

TEST_F(CliMenuTest, BrokenMarkersAreRefusedAndTheOtherPagesUpdated) {
    writeFile("index.html", "<!-- kelmor-menu menu -->\n<p>no end</p>\n");
    writeFile("blog/post.html", page(""));
    const Result result = run("--update " + folder_.string() + " " + path("menu.kxq"));
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.out, HasSubstr("index.html: menu markers not closed\n"));
    EXPECT_THAT(result.out, HasSubstr("1 updated, 0 unchanged, 0 without markers, 1 refused"));
    EXPECT_EQ(readFile("index.html"), "<!-- kelmor-menu menu -->\n<p>no end</p>\n");
    // Every state of both buttons comes from one sprite beside the first button's picture.
    EXPECT_THAT(readFile("blog/post.html"), HasSubstr("url(\"../images/menu-sprite.png\")"));
    // Put into the site again, the same sprite is not written again.
    const fs::file_time_type written = fs::last_write_time(path("images/menu-sprite.png"));
    EXPECT_EQ(run("--update " + folder_.string() + " " + path("menu.kxq")).status, 1);
    EXPECT_EQ(fs::last_write_time(path("images/menu-sprite.png")), written);
}

TEST_F(CliMenuTest, WritesTheMenuAloneAndRefusesAMenuWithoutPictures) {
    // A project named from the folder it lies in.
    const Result alone = run("--separator '<br>' menu.kxq", folder_);
    EXPECT_EQ(alone.status, 0) << alone.err;
    EXPECT_TRUE(
        alone.out.starts_with("<nav class=\"kelmor-menu\" aria-label=\"Site\">\n<style>\n"));
    EXPECT_THAT(alone.out, HasSubstr("flex-direction:column"));

    writeFile("empty.kxq", "13,2\r\n4,1,index.html\r\n");
    const Result empty = run(path("empty.kxq"));
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "The menu has no buttons\n");
}

} // namespace
} // namespace kelmor
