// The golden site: tests/data/site/input/ updated with the menu of "menu" must give the bytes of
// tests/data/site/expected/, file for file, and the report below.

#include "site/site_links.h"
#include "site/site_report.h"
#include "site/site_update.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

namespace kelmor {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

const fs::path kGolden = fs::path(KELMOR_TEST_DATA) / "site";

struct Button {
    const char* text;
    const char* link;
    const char* picture;
};

// A menu written the way a menu writer would: each button's link and picture as the page's own
// folder reaches them, the button of the page itself marked.
std::string goldenSnippet(const SitePage& page, const std::string& projectFolder) {
    static const Button kButtons[] = {{"Home", "index.html", "images/home.png"},
                                      {"About", "./about.htm", "images/about.png"},
                                      {"Blog", "blog/post.html?from=menu#top", "images/blog.png"},
                                      {"Mail", "mailto:me@example.com", "images/mail%20me.png"}};
    std::string snippet = "<nav data-page=\"" + page.relativePath + "\">\n";
    for (const Button& button : kButtons) {
        snippet += "<a href=\"" + linkFromPage(button.link, projectFolder, page.folder) + "\"";
        if (linkNamesPage(button.link, projectFolder, page.path))
            snippet += " aria-current=\"page\"";
        snippet += "><img src=\"" + linkFromPage(button.picture, projectFolder, page.folder) +
                   "\" alt=\"" + button.text + "\"></a>\n";
    }
    return snippet + "</nav>\n";
}

class SiteGoldenTest : public test::TempFolderTest {};

TEST_F(SiteGoldenTest, TheUpdatedSiteMatchesTheExpectedBytes) {
    fs::copy(kGolden / "input", folder_ / "site", fs::copy_options::recursive);
    const std::string site = path("site");
    const MenuUpdate update{site, "menu",
                            [&site](const SitePage& page) { return goldenSnippet(page, site); }};

    const std::vector<PageOutcome> outcomes = updateSiteMenu(update, UpdateMode::Write);

    EXPECT_THAT(reportLines(outcomes),
                ElementsAre("about.htm: updated", "blog/Old.HTML: no markers",
                            "blog/last.html: updated", "blog/post.html: updated",
                            "blog/shop.html: updated", "contact.html: menu markers not closed",
                            "index.html: updated", "news.html: unchanged",
                            "5 updated, 1 unchanged, 1 without markers, 1 refused"));
    const auto written = test::filesUnder(folder_ / "site");
    const auto expected = test::filesUnder(kGolden / "expected");
    ASSERT_EQ(written.size(), expected.size());
    for (const auto& [name, bytes] : expected) {
        ASSERT_TRUE(written.contains(name)) << name;
        EXPECT_EQ(written.at(name), bytes) << name;
    }
}

} // namespace
} // namespace kelmor
