#include "site/menu_markers.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace kelmor {
namespace {

struct ScanCase {
    const char* name;
    std::string page;
    MarkerState state;
    std::vector<std::string> regions; // the bytes of each region found
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class MarkerScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(MarkerScanTest, FindsTheMenusOfOneName) {
    const ScanCase& c = GetParam();
    const MarkerScan scan = findMenuRegions(c.page, "menu");
    EXPECT_EQ(scan.state, c.state);
    std::vector<std::string> regions;
    for (const MenuRegion& region : scan.regions)
        regions.push_back(c.page.substr(region.begin, region.end - region.begin));
    EXPECT_EQ(regions, c.regions);
}

const std::string kBegin = "<!-- kelmor-menu menu -->";
const std::string kEnd = "<!-- /kelmor-menu -->";
const std::string kOther = "<!-- kelmor-menu shop -->";

INSTANTIATE_TEST_SUITE_P(
    Pages, MarkerScanTest,
    ::testing::Values(
        ScanCase{"Empty", "", MarkerState::NoMarkers, {}},
        ScanCase{"OnePair", "a" + kBegin + "\nold\n" + kEnd + "b", MarkerState::Found, {"\nold\n"}},
        ScanCase{"TwoPairs",
                 kBegin + "1" + kEnd + "x" + kBegin + "2" + kEnd,
                 MarkerState::Found,
                 {"1", "2"}},
        ScanCase{"BeginWithoutEnd", "a" + kBegin + "b", MarkerState::NotClosed, {}},
        ScanCase{"TwoBeginsBeforeAnEnd", kBegin + kBegin + kEnd, MarkerState::NotClosed, {}},
        ScanCase{"ClosedThenOpen", kBegin + kEnd + kBegin, MarkerState::NotClosed, {}},
        ScanCase{"OtherMenuOnly", kOther + "x" + kEnd, MarkerState::NoMarkers, {}},
        ScanCase{"OtherMenuBeside",
                 kOther + "x" + kEnd + kBegin + "y" + kEnd,
                 MarkerState::Found,
                 {"y"}},
        ScanCase{"OtherMenuOpenBeforeOurs", kOther + kBegin + kEnd, MarkerState::NotClosed, {}},
        ScanCase{
            "OtherMenuOpenInsideOurs", kBegin + kOther + kEnd + kEnd, MarkerState::NotClosed, {}},
        ScanCase{"OtherMenuNotClosed", kOther + "x", MarkerState::NoMarkers, {}},
        ScanCase{"StrayEndBeforeAPair", kEnd + kBegin + "y" + kEnd, MarkerState::Found, {"y"}},
        ScanCase{"MarkerInsideAComment",
                 "<!-- was: " + kBegin + " -->" + kEnd,
                 MarkerState::NoMarkers,
                 {}},
        ScanCase{"BlanksLeftOut",
                 "<!--kelmor-menu menu--><!--/kelmor-menu-->",
                 MarkerState::Found,
                 {""}},
        ScanCase{"BlanksAndLineEnds",
                 "<!--\tkelmor-menu  menu \r\n-->x<!-- /kelmor-menu\n-->",
                 MarkerState::Found,
                 {"x"}},
        ScanCase{"LongerName", "<!-- kelmor-menu menus -->" + kEnd, MarkerState::NoMarkers, {}},
        ScanCase{
            "NoBlankBeforeName", "<!-- kelmor-menumenu -->" + kEnd, MarkerState::NoMarkers, {}},
        ScanCase{"NameInOtherCase", "<!-- kelmor-menu Menu -->" + kEnd, MarkerState::NoMarkers, {}},
        ScanCase{"CommentNeverClosed", "<!-- kelmor-menu menu", MarkerState::NoMarkers, {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(MarkerScan, ANameMayHoldBlanks) {
    const std::string page = menuBeginMarker("my site") + "x" + std::string(kMenuEndMarker);
    EXPECT_EQ(findMenuRegions(page, "my site").state, MarkerState::Found);
    EXPECT_EQ(findMenuRegions(page, "my").state, MarkerState::NoMarkers);
}

TEST(MenuMarkers, TheBeginMarkerIsTheLineUsersWrite) {
    EXPECT_EQ(menuBeginMarker("menu"), kBegin);
    EXPECT_EQ(kMenuEndMarker, kEnd);
}

TEST(MenuMarkers, TheNameIsTheProjectFileNameWithoutItsExtension) {
    EXPECT_EQ(menuNameOf("/home/me/My Site.kxq"), "My Site");
    EXPECT_EQ(menuNameOf("menu.KXQ"), "menu");
    EXPECT_EQ(menuNameOf("projects.kxq/menu.kxq"), "menu");
    EXPECT_EQ(menuNameOf("two.kxq.kxq"), "two.kxq");
    EXPECT_EQ(menuNameOf("menu"), "menu");
    EXPECT_EQ(menuNameOf("menu.txt"), "menu.txt");
    EXPECT_EQ(menuNameOf(".kxq"), ".kxq");
}

TEST(MenuMarkers, TheFirstLineEndIsThePages) {
    EXPECT_EQ(lineEndOf("a\r\nb\n"), "\r\n");
    EXPECT_EQ(lineEndOf("a\nb\r\n"), "\n");
    EXPECT_EQ(lineEndOf("\r\n"), "\r\n");
    EXPECT_EQ(lineEndOf("one line"), "\n");
    EXPECT_EQ(lineEndOf("a\rb\n"), "\n");
}

struct ReplaceCase {
    const char* name;
    std::string page;
    std::string snippet;
    std::string expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << c.name;
}

class MenuReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(MenuReplaceTest, ReplacesTheRegionsAndKeepsEverythingElse) {
    const ReplaceCase& c = GetParam();
    const std::string once =
        replaceMenuRegions(c.page, findMenuRegions(c.page, "menu").regions, c.snippet);
    EXPECT_EQ(once, c.expected);
    // The result holds the snippet already: replacing it again changes nothing.
    EXPECT_EQ(replaceMenuRegions(once, findMenuRegions(once, "menu").regions, c.snippet), once);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, MenuReplaceTest,
    ::testing::Values(
        ReplaceCase{"CrLfSnippetIntoCrLfPage", "a\r\n" + kBegin + kEnd, "x\r\ny\r\n",
                    "a\r\n" + kBegin + "\r\nx\r\ny\r\n" + kEnd},
        ReplaceCase{"CrLfSnippetIntoLfPage", kBegin + kEnd, "x\r\ny", kBegin + "\nx\ny\n" + kEnd},
        ReplaceCase{"LoneCarriageReturnKept", kBegin + kEnd, "x\ry", kBegin + "\nx\ry\n" + kEnd},
        ReplaceCase{"FinalLineEndAdded", kBegin + kEnd, "<nav></nav>",
                    kBegin + "\n<nav></nav>\n" + kEnd},
        ReplaceCase{"EmptySnippet", kBegin + "\nold\n" + kEnd, "", kBegin + "\n" + kEnd},
        ReplaceCase{"EndMarkerIndentKept", "  " + kBegin + "\n  old\n\t  " + kEnd, "x\n",
                    "  " + kBegin + "\nx\n\t  " + kEnd},
        ReplaceCase{"TextBeforeEndMarkerIsReplaced", kBegin + "\nold " + kEnd, "x\n",
                    kBegin + "\nx\n" + kEnd},
        ReplaceCase{"NoMarkersNoChange", "\xEF\xBB\xBFpage", "x", "\xEF\xBB\xBFpage"}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace kelmor
