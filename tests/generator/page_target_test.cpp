// Where a page may be written, over a folder of real files, folders and symbolic links.
#include "base/error.h"
#include "generator/page_target.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

enum class Outcome { NotWebPage, IsInput, Inside, Outside };

struct TargetCase {
    const char* name;
    std::string page; // "@" stands for the test's folder
    std::string projectFolder;
    Outcome outcome;
    std::vector<std::string> inputs{};
    std::string shown{}; // how the message shows `page` when not as it stands
};

void PrintTo(const TargetCase& c, std::ostream* out) {
    *out << c.name;
}

// The current folder is site/, the project's folder unless a case names another. Beside it:
// elsewhere/x.html, images/pic.htm (the picture folder), and site/pics/b1.gif with a hard link
// site/hard.html. Links: site/out -> elsewhere, site/leaf.html -> elsewhere/x.html,
// site/dangling.html -> elsewhere/new.html, site/img.html -> images/pic.htm, alias -> site,
// site/top -> the test's folder.
class PageTargetTest : public test::TempFolderTest,
                       public ::testing::WithParamInterface<TargetCase> {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        folder_ = fs::canonical(folder_);
        for (const char* folder : {"site/pics", "elsewhere", "images"})
            fs::create_directories(folder_ / folder);
        for (const char* file :
             {"site/pics/b1.gif", "site/sound.html", "images/pic.htm", "elsewhere/x.html"})
            writeFile(file, "bytes");
        fs::create_hard_link(folder_ / "site/pics/b1.gif", folder_ / "site/hard.html");
        fs::create_directory_symlink(folder_ / "elsewhere", folder_ / "site/out");
        fs::create_symlink(folder_ / "elsewhere/x.html", folder_ / "site/leaf.html");
        fs::create_symlink("../elsewhere/new.html", folder_ / "site/dangling.html");
        fs::create_symlink(folder_ / "images/pic.htm", folder_ / "site/img.html");
        fs::create_directory_symlink(folder_ / "site", folder_ / "alias");
        fs::create_directory_symlink(folder_, folder_ / "site/top");
        previous_ = fs::current_path();
        fs::current_path(folder_ / "site");
    }
    void TearDown() override {
        fs::current_path(previous_);
        TempFolderTest::TearDown();
    }
    std::string here(std::string text) const {
        if (const size_t at = text.find('@'); at != std::string::npos)
            text.replace(at, 1, folder_.string());
        return text;
    }

    fs::path previous_;
};

TEST_P(PageTargetTest, ChecksNameInputsAndPlace) {
    const TargetCase& c = GetParam();
    PageFiles files{here(c.page), here(c.projectFolder), {}, {here("@/images")}};
    for (const std::string& input : c.inputs)
        files.inputs.push_back(here(input));
    try {
        const PagePlace place = checkTargetPage(files);
        EXPECT_EQ(place == PagePlace::InsideProject ? Outcome::Inside : Outcome::Outside,
                  c.outcome);
    } catch (const Error& error) {
        const std::string expected =
            c.outcome == Outcome::NotWebPage
                ? "Target page is not a web page: " + (c.shown.empty() ? files.page : c.shown)
                : "Target page " + files.page +
                      " is one of the project's pictures or sounds; nothing was written";
        EXPECT_NE(c.outcome, Outcome::Inside);
        EXPECT_NE(c.outcome, Outcome::Outside);
        EXPECT_EQ(error.what(), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageTargetTest,
    ::testing::Values(
        TargetCase{"Plain", "menu.html", "", Outcome::Inside},
        TargetCase{"AnyCase", "MENU.HtM", "", Outcome::Inside},
        TargetCase{"Php", "a.PHP", "", Outcome::Inside},
        TargetCase{"Text", "menu.txt", "", Outcome::NotWebPage},
        TargetCase{"NoExtension", "menu", "", Outcome::NotWebPage},
        TargetCase{"Empty", "", "", Outcome::NotWebPage},
        TargetCase{"DotNameOnly", ".html", "", Outcome::NotWebPage},
        TargetCase{"WebThenPicture", "menu.html.gif", "", Outcome::NotWebPage},
        TargetCase{"FolderOfThatName", "menu.html/", "", Outcome::NotWebPage},
        TargetCase{"SshKeys", "@/.ssh/authorized_keys", "", Outcome::NotWebPage},
        // Control characters are refused before the name is looked at: the system would stop
        // at a NUL and write another file, and the message shows them escaped.
        TargetCase{"NulBeforeWebExtension",
                   std::string("sound.html\0.html", 16),
                   "",
                   Outcome::NotWebPage,
                   {},
                   "sound.html\\x00.html"},
        TargetCase{"LineEnd", "a\nb.html", "", Outcome::NotWebPage, {}, "a\\x0Ab.html"},
        TargetCase{"Delete", "menu\x7F.html", "", Outcome::NotWebPage, {}, "menu\\x7F.html"},
        TargetCase{"NewSubfolder", "new/menu.html", "", Outcome::Inside},
        TargetCase{"UpAndBack", "../site/menu.html", "", Outcome::Inside},
        TargetCase{"Up", "../elsewhere/x.html", "", Outcome::Outside},
        TargetCase{"AbsoluteElsewhere", "@/elsewhere/x.html", "@/site", Outcome::Outside},
        TargetCase{"AbsoluteInside", "@/site/menu.html", "@/site/", Outcome::Inside},
        TargetCase{"TheFolderItself", "@/site.html/..", "@", Outcome::NotWebPage},
        TargetCase{"FolderLinkLeadingOut", "out/menu.html", "", Outcome::Outside},
        TargetCase{"UpAfterFolderLink", "out/../menu.html", "", Outcome::Outside},
        TargetCase{"LinkLeadingOut", "leaf.html", "", Outcome::Outside},
        TargetCase{"DanglingLinkLeadingOut", "dangling.html", "", Outcome::Outside},
        TargetCase{"ProjectThroughLink", "@/alias/menu.html", "@/alias", Outcome::Inside},
        TargetCase{"ProjectFolderLinkToAbove", "@/elsewhere/x.html", "@/site/top",
                   Outcome::Outside},
        TargetCase{"ProjectInSubfolder", "menu.html", "@/site/pics", Outcome::Outside},
        TargetCase{"NamedSound", "sound.html", "", Outcome::IsInput, {"sound.html"}},
        TargetCase{"PictureBesideThePage", "../elsewhere/x.html", "", Outcome::IsInput, {"x.html"}},
        TargetCase{"PictureInPictureFolder", "img.html", "", Outcome::IsInput, {"pic.htm"}},
        TargetCase{"HardLinkToPicture", "hard.html", "", Outcome::IsInput, {"pics/b1.gif"}},
        TargetCase{"LinkToPicture", "out/x.html", "", Outcome::IsInput, {"@/elsewhere/x.html"}},
        TargetCase{"InputNotThereYet", "new.html", "", Outcome::Inside, {"new.html"}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace kelmor
