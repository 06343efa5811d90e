#include "base/folder_scan.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

struct MatchCase {
    const char* pattern;
    const char* name;
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << '"' << c.pattern << "\" vs \"" << c.name << '"';
}

class WildcardMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(WildcardMatchTest, MatchesLikeTheShellPattern) {
    EXPECT_EQ(wildcardMatch(GetParam().pattern, GetParam().name), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, WildcardMatchTest,
    ::testing::Values(
        MatchCase{"*.html", "index.html", true}, MatchCase{"*.html", "INDEX.HTML", true},
        MatchCase{"*.HTML", "Index.Html", true}, MatchCase{"*.html", "page.htm", false},
        MatchCase{"*.htm", "page.html", false}, MatchCase{"*.html", "page.html.bak", false},
        MatchCase{"*.html", ".html", true}, MatchCase{"*.kxq", "two.kxq.kxq", true},
        MatchCase{"?.txt", "a.txt", true}, MatchCase{"?.txt", "ab.txt", false},
        MatchCase{"?.txt", ".txt", false}, MatchCase{"a*b*c", "aXXbYYc", true},
        MatchCase{"a*b*c", "aXXbYY", false}, MatchCase{"*ab", "aab", true},
        MatchCase{"*", "", true}, MatchCase{"", "", true}, MatchCase{"", "a", false},
        MatchCase{"**.gif", "x.gif", true},
        // A character of several bytes is one character for '?'.
        MatchCase{"?.txt", "\xc3\xa9.txt", true}, MatchCase{"??.txt", "\xc3\xa9.txt", false},
        // Bytes that are not valid UTF-8 still match wildcards.
        MatchCase{"?.txt", "\xff.txt", true}, MatchCase{"*.txt", "\xc3.txt", true}));

TEST(WildcardMatch, IgnoresCaseOfLettersBeyondAscii) {
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr)
        GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_TRUE(wildcardMatch("\xc3\x89t\xc3\xa9*", "\xc3\xa9T\xc3\x89.html"));
    EXPECT_FALSE(wildcardMatch("\xc3\x89*", "e.html"));
    std::setlocale(LC_CTYPE, previous.c_str());
}

TEST(WildcardMatch, ManyStarsAgainstALongNameFinishes) {
    const std::string name(2000, 'a');
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", name));
    EXPECT_TRUE(wildcardMatch("*a*a*a*a*a*a*a*a*", name));
}

class ScanFolderTest : public test::TempFolderTest {
protected:
    void touch(const std::string& name) const { writeFile(name, "x"); }
    std::vector<std::string> scan(const std::string& pattern) const {
        std::vector<std::string> names = scanFolder(folder_.string(), pattern);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ScanFolderTest, ListsFilesFoldersAndHiddenEntriesWhateverTheirCase) {
    for (const char* name :
         {"b.html", "A.HTML", ".hidden.html", "page.htm", "notes.txt", "x.html.bak"})
        touch(name);
    fs::create_directory(folder_ / "sub.html");
    fs::create_directory(folder_ / "other");
    fs::create_symlink(folder_ / "nowhere", folder_ / "broken.html");

    EXPECT_EQ(scan("*.html"), (std::vector<std::string>{".hidden.html", "A.HTML", "b.html",
                                                        "broken.html", "sub.html"}));
    EXPECT_EQ(scan("*.txt"), std::vector<std::string>{"notes.txt"});
}

TEST_F(ScanFolderTest, GivesNamesNotPathsAndSkipsDotEntries) {
    touch("one.gif");
    fs::create_directory(folder_ / "inner");
    touch("inner/two.gif");
    EXPECT_EQ(scan("*"), (std::vector<std::string>{"inner", "one.gif"}));
}

TEST_F(ScanFolderTest, EmptyOrMissingFolderGivesNoNames) {
    EXPECT_TRUE(scan("*").empty());
    EXPECT_TRUE(scanFolder((folder_ / "missing").string(), "*").empty());
    touch("plain-file");
    EXPECT_TRUE(scanFolder((folder_ / "plain-file").string(), "*").empty());
}

TEST(JoinPath, PutsOneSeparatorBetweenFolderAndName) {
    EXPECT_EQ(joinPath("/home/user/pages", "index.html"), "/home/user/pages/index.html");
    EXPECT_EQ(joinPath("pages", "a b.txt"), "pages/a b.txt");
}

TEST(JoinPath, EmptyFolderMeansTheRoot) {
    EXPECT_EQ(joinPath("", "index.html"), "/index.html");
}

} // namespace
} // namespace kelmor
