#include "base/error.h"
#include "generator/menu_test_pictures.h"
#include "generator/page_writer.h"
#include "support/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>

namespace kelmor {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// The kinds the Build buttons and the --sound/--html5 aliases must keep reaching by their traits.
struct TraitsCase {
    const char* name;
    PageTraits traits;
};

class PageKindLookupTest : public ::testing::TestWithParam<TraitsCase> {};

TEST_P(PageKindLookupTest, NameAndTraitsFindTheSameKind) {
    const TraitsCase& c = GetParam();
    const PageKind kind = pageKindNamed(c.name);
    EXPECT_EQ(kind.name(), c.name);
    EXPECT_EQ(kind.traits(), c.traits);
    EXPECT_EQ(pageKindWith(c.traits), kind);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PageKindLookupTest,
                         ::testing::Values(TraitsCase{"plain", {false, false}},
                                           TraitsCase{"sound", {true, false}},
                                           TraitsCase{"html5", {false, true}},
                                           TraitsCase{"html5-sound", {true, true}}),
                         [](const auto& param) {
                             std::string name = param.param.name;
                             std::erase(name, '-');
                             return name;
                         });

TEST(PageKindTableTest, NamesAreUniqueAndEveryKindHasACaption) {
    std::set<std::string_view> names;
    for (PageKind kind : pageKinds()) {
        EXPECT_TRUE(names.insert(kind.name()).second) << kind.name();
        EXPECT_FALSE(kind.caption().empty()) << kind.name();
    }
}

TEST(PageKindTableTest, UnknownNameThrowsWithTheNamesOfEveryKind) {
    for (const char* name : {"", "Plain", "menus", "html5 ", "sound\x1B"}) {
        try {
            pageKindNamed(name);
            ADD_FAILURE() << "no error for '" << name << "'";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(),
                      "'" + shownValue(name) +
                          "' is not a page kind (plain, sound, html5, html5-sound or menu)");
        }
    }
}

// Every writer against its row: the traits that pick a kind must tell what its page is. The
// buttons' pictures lie in the folder the settings name, where the menu page measures them.
class PageKindWriterTest : public test::TempFolderTest,
                           public ::testing::WithParamInterface<PageKind> {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        for (int seed = 0; const char* name : {"n1.png", "o1.png", "n2.png", "o2.png"})
            test::writePatternPng(path(name), 6, 4, ++seed);
    }
    static std::vector<PageButton> buttons() {
        return {{"n1.png", "o1.png", "l1.html", "_top", "s1.wav"},
                {"n2.png", "o2.png", "l2.html", "", "s2.wav"}};
    }
    PageSettings inFolder(PageSettings settings) const {
        settings.folder = folder_.string();
        return settings;
    }
};

TEST_P(PageKindWriterTest, WritesThePageItsTraitsName) {
    const PageKind kind = GetParam();
    const std::string text = pageText(kind, buttons(), inFolder({"T", "#FFFFFF", "", "<br>"}));
    EXPECT_THAT(text, kind.traits().html5 ? StartsWith("<!DOCTYPE html>\r\n")
                                          : StartsWith("<!-- Created using Kelmor 1.0 !-->\r\n"));
    EXPECT_EQ(text.find("s2.wav") != std::string::npos, kind.traits().sounds);
    EXPECT_THAT(text, HasSubstr("l2.html"));
    EXPECT_EQ(dropsBgColor(kind, {"T", "red; x", "", ""}), kind.traits().html5);
    EXPECT_FALSE(dropsBgColor(kind, {"T", "#FFFFFF", "", ""}));
}

// A line end typed into a value stays inside its line: the lines are the page's own, not its
// text cut at every CR LF.
TEST_P(PageKindWriterTest, LinesKeepALineEndInsideAValue) {
    const PageKind kind = GetParam();
    const PageSettings plain = inFolder({"Title", "", "", "<br>"});
    const PageSettings broken = inFolder({"Ti\r\ntle", "", "", "<br>\r\n"});
    const std::vector<std::string> lines = pageLines(kind, buttons(), broken);
    EXPECT_EQ(lines.size(), pageLines(kind, buttons(), plain).size());
    std::string joined;
    for (const std::string& line : lines)
        joined += line + "\r\n";
    EXPECT_EQ(joined, pageText(kind, buttons(), broken));
    EXPECT_THAT(lines, ::testing::Contains(HasSubstr("Ti\r\ntle")));
}

INSTANTIATE_TEST_SUITE_P(Table, PageKindWriterTest, ::testing::ValuesIn(pageKinds()),
                         [](const auto& param) {
                             std::string name(param.param.name());
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
} // namespace kelmor
