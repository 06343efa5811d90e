#include "base/error.h"
#include "base/read_file.h"
#include "site/site_report.h"
#include "site/site_update.h"
#include "support/temp_folder.h"

#include <chrono>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelmor {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

const std::string kMenuPage = "<p>\n<!-- kelmor-menu menu -->\n<!-- /kelmor-menu -->\n</p>\n";

// A page of kMenuPage after the update: its menu is "<nav>PAGE</nav>".
std::string updated(const std::string& relative) {
    return "<p>\n<!-- kelmor-menu menu -->\n<nav>" + relative +
           "</nav>\n<!-- /kelmor-menu -->\n</p>\n";
}

const fs::file_time_type kLongAgo = fs::file_time_type::clock::now() - std::chrono::hours(48);

// A site under the temporary folder ("site/"), whose pages get the menu "<nav>PAGE</nav>".
class SiteUpdateTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directory(folder_ / "site");
        site_ = path("site");
    }
    fs::path sitePath(const std::string& relative) const { return folder_ / "site" / relative; }
    void page(const std::string& relative, const std::string& bytes) const {
        fs::create_directories(sitePath(relative).parent_path());
        writeFile("site/" + relative, bytes);
    }
    std::string siteFile(const std::string& relative) const {
        return readWholeFile(sitePath(relative));
    }
    MenuUpdate menu() const {
        return {site_, "menu",
                [](const SitePage& page) { return "<nav>" + page.relativePath + "</nav>\n"; }};
    }
    std::vector<std::string> run(UpdateMode mode = UpdateMode::Write) const {
        return reportLines(updateSiteMenu(menu(), mode));
    }
    std::string site_;
};

TEST_F(SiteUpdateTest, EveryWebPageAtAnyDepthIsUpdatedInTheOrderOfItsPath) {
    for (const char* name : {"x.html/inner.htm", "a.html", "b.HTM", "deep/er/g.html", "c.xhtml",
                             "d.Shtml", "e.php", "f.html.bak", ".html"})
        page(name, kMenuPage);
    EXPECT_THAT(run(), ElementsAre("a.html: updated", "b.HTM: updated", "c.xhtml: updated",
                                   "d.Shtml: updated", "deep/er/g.html: updated",
                                   "x.html/inner.htm: updated",
                                   "6 updated, 0 unchanged, 0 without markers, 0 refused"));
    EXPECT_EQ(siteFile("deep/er/g.html"), updated("deep/er/g.html"));
    for (const char* name : {"e.php", "f.html.bak", ".html"})
        EXPECT_EQ(siteFile(name), kMenuPage) << name;
}

TEST_F(SiteUpdateTest, ADryRunWritesNothingAndReportsWhatTheUpdateDoes) {
    page("a.html", kMenuPage);
    page("b.html", "<p>no menu</p>\n");
    page("blog/c.html", "<!-- kelmor-menu menu -->\n");
    for (const char* name : {"a.html", "b.html", "blog/c.html"})
        fs::last_write_time(sitePath(name), kLongAgo);

    const std::vector<std::string> dry = run(UpdateMode::DryRun);

    EXPECT_THAT(dry, ElementsAre("a.html: updated", "b.html: no markers",
                                 "blog/c.html: menu markers not closed",
                                 "1 updated, 0 unchanged, 1 without markers, 1 refused"));
    EXPECT_EQ(siteFile("a.html"), kMenuPage);
    for (const char* name : {"a.html", "b.html", "blog/c.html"})
        EXPECT_EQ(fs::last_write_time(sitePath(name)), kLongAgo) << name;
    EXPECT_EQ(run(), dry);
    EXPECT_EQ(siteFile("a.html"), updated("a.html"));
}

TEST_F(SiteUpdateTest, APageThatWouldNotChangeIsNotWritten) {
    page("a.html", kMenuPage);
    run();
    fs::last_write_time(sitePath("a.html"), kLongAgo);
    EXPECT_THAT(run(), ElementsAre("a.html: unchanged",
                                   "0 updated, 1 unchanged, 0 without markers, 0 refused"));
    EXPECT_EQ(fs::last_write_time(sitePath("a.html")), kLongAgo);
}

TEST_F(SiteUpdateTest, SymbolicLinksAreNotFollowedOutOfTheSite) {
    fs::create_directory(folder_ / "outside");
    writeFile("outside/page.html", kMenuPage);
    page("real.html", kMenuPage);
    fs::create_symlink("../outside/page.html", sitePath("out.html"));
    fs::create_directory_symlink(folder_ / "outside", sitePath("outdir"));
    fs::create_symlink("/nonexistent/kelmor/page.html", sitePath("dangling.html"));
    fs::create_symlink("../outside/picture.png", sitePath("picture.png"));
    fs::create_symlink("real.html", sitePath("same.html"));
    fs::create_directory_symlink(sitePath(""), sitePath("loop"));
    fs::create_symlink("self.html", sitePath("self.html"));

    EXPECT_THAT(run(), ElementsAre("dangling.html: symbolic link to outside the site, skipped",
                                   "out.html: symbolic link to outside the site, skipped",
                                   "outdir/: symbolic link to outside the site, skipped",
                                   "real.html: updated", "self.html: cannot be read, skipped",
                                   "1 updated, 0 unchanged, 0 without markers, 4 refused"));
    EXPECT_EQ(readWholeFile(path("outside/page.html")), kMenuPage);
    EXPECT_TRUE(fs::is_symlink(sitePath("same.html")));
}

TEST_F(SiteUpdateTest, APageThatIsNotUtf8IsSkippedAndTheOthersUpdated) {
    const std::string latin1 = "<p>caf\xE9</p>\n" + kMenuPage;
    const std::string utf16 = std::string("\xFF\xFE<\0p\0>\0", 8);
    page("latin1.html", latin1);
    page("utf16.html", utf16);
    page("utf8.html", "\xEF\xBB\xBF<p>caf\xC3\xA9</p>\n" + kMenuPage);
    EXPECT_THAT(run(), ElementsAre("latin1.html: not valid UTF-8, skipped",
                                   "utf16.html: not valid UTF-8, skipped", "utf8.html: updated",
                                   "1 updated, 0 unchanged, 0 without markers, 2 refused"));
    EXPECT_EQ(siteFile("latin1.html"), latin1);
    EXPECT_EQ(siteFile("utf16.html"), utf16);
    EXPECT_EQ(siteFile("utf8.html"), "\xEF\xBB\xBF<p>caf\xC3\xA9</p>\n" + updated("utf8.html"));
}

TEST_F(SiteUpdateTest, APageThatIsNoRegularFileIsSkippedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(sitePath("pipe.html").c_str(), 0600), 0);
    page("z.html", kMenuPage);
    EXPECT_THAT(run(), ElementsAre("pipe.html: cannot be read, skipped", "z.html: updated",
                                   "1 updated, 0 unchanged, 0 without markers, 1 refused"));
}

TEST_F(SiteUpdateTest, UnreadablePagesAndFoldersAreSkipped) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    page("locked.html", kMenuPage);
    page("private/inner.html", kMenuPage);
    page("z.html", kMenuPage);
    fs::permissions(sitePath("locked.html"), fs::perms::none);
    fs::permissions(sitePath("private"), fs::perms::none);
    const std::vector<std::string> lines = run();
    fs::permissions(sitePath("private"), fs::perms::owner_all);
    EXPECT_THAT(lines, ElementsAre("locked.html: cannot be read, skipped",
                                   "private/: cannot be read, skipped", "z.html: updated",
                                   "1 updated, 0 unchanged, 0 without markers, 2 refused"));
}

TEST_F(SiteUpdateTest, APageThatCannotBeWrittenIsLeftAsItWas) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes any file";
    page("locked.html", kMenuPage);
    fs::permissions(sitePath("locked.html"), fs::perms::owner_read);
    EXPECT_THAT(run(), ElementsAre("locked.html: cannot be written, left as it was",
                                   "0 updated, 0 unchanged, 0 without markers, 1 refused"));
    EXPECT_EQ(siteFile("locked.html"), kMenuPage);
}

TEST_F(SiteUpdateTest, ThePlanWritesNothingAndTheChosenPagesAreApplied) {
    page("a.html", kMenuPage);
    page("b.html", kMenuPage);
    page("c.html", "<p>no menu</p>\n");
    const std::vector<PlannedPage> plan = planMenuUpdate(menu());
    ASSERT_EQ(plan.size(), 3U);
    EXPECT_EQ(plan[0].newText, updated("a.html"));
    EXPECT_EQ(plan[0].page.folder, fs::canonical(site_).native());
    EXPECT_THAT(reportLines(outcomesOf(plan)),
                ElementsAre("a.html: updated", "b.html: updated", "c.html: no markers",
                            "2 updated, 0 unchanged, 1 without markers, 0 refused"));
    EXPECT_EQ(siteFile("a.html"), kMenuPage);

    const std::vector<std::string> chosen{"b.html", "c.html"};
    EXPECT_THAT(reportLines(applyMenuPlan(plan, chosen)),
                ElementsAre("b.html: updated", "c.html: no markers",
                            "1 updated, 0 unchanged, 1 without markers, 0 refused"));
    EXPECT_EQ(siteFile("a.html"), kMenuPage);
    EXPECT_EQ(siteFile("b.html"), updated("b.html"));
}

TEST_F(SiteUpdateTest, APageEditedAfterThePlanIsLeftAsItWas) {
    page("a.html", kMenuPage);
    const std::vector<PlannedPage> plan = planMenuUpdate(menu());
    page("a.html", kMenuPage + "<p>added</p>\n");
    const std::vector<std::string> chosen{"a.html"};
    EXPECT_THAT(reportLines(applyMenuPlan(plan, chosen)),
                ElementsAre("a.html: changed since it was read, left as it was",
                            "0 updated, 0 unchanged, 0 without markers, 1 refused"));
    EXPECT_EQ(siteFile("a.html"), kMenuPage + "<p>added</p>\n");
}

TEST_F(SiteUpdateTest, ASnippetWriterErrorRefusesThatPageOnly) {
    page("a.html", kMenuPage);
    page("b.html", kMenuPage);
    MenuUpdate update = menu();
    update.writeSnippet = [](const SitePage& page) -> std::string {
        if (page.relativePath == "a.html")
            throw Error("No button links to this page");
        return "<nav></nav>";
    };
    EXPECT_THAT(reportLines(updateSiteMenu(update, UpdateMode::Write)),
                ElementsAre("a.html: No button links to this page", "b.html: updated",
                            "1 updated, 0 unchanged, 0 without markers, 1 refused"));
    EXPECT_EQ(siteFile("a.html"), kMenuPage);
}

TEST_F(SiteUpdateTest, ASiteThatIsNoFolderIsAnError) {
    writeFile("file", "x");
    for (const auto& [site, problem] :
         {std::pair{path("missing"), " not found"}, std::pair{path("file"), " is not a folder"}}) {
        MenuUpdate update = menu();
        update.site = site;
        try {
            updateSiteMenu(update, UpdateMode::DryRun);
            ADD_FAILURE() << site;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Site folder " + site + problem);
        }
    }
}

TEST(SiteReport, ControlCharactersOfANameAreShownEscaped) {
    const std::vector<PageOutcome> outcomes{{"a\x1B[2J.html", PageStatus::Updated, {}},
                                            {"b.html", PageStatus::Unchanged, {}}};
    EXPECT_THAT(reportLines(outcomes),
                ElementsAre("a\\x1B[2J.html: updated", "b.html: unchanged",
                            "1 updated, 1 unchanged, 0 without markers, 0 refused"));
    EXPECT_EQ(countLine({}), "0 updated, 0 unchanged, 0 without markers, 0 refused");
}

} // namespace
} // namespace kelmor
