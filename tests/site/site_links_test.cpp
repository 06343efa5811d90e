#include "site/site_links.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

// A project folder "project" holding a real folder blog/, inside a fresh temporary folder. In a
// case, "@P@" stands for the project folder's absolute path.
class ProjectFolder : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(folder_ / "project" / "blog");
        project_ = path("project");
    }
    std::string expand(std::string text) const {
        if (const auto at = text.find("@P@"); at != std::string::npos)
            text.replace(at, 3, project_);
        return text;
    }
    std::string project_;
};

struct NamesCase {
    const char* link;
    const char* page; // relative to the project's folder
    bool names;
};

void PrintTo(const NamesCase& c, std::ostream* os) {
    *os << '"' << c.link << "\" vs " << c.page;
}

class LinkNamesPageTest : public ProjectFolder, public ::testing::WithParamInterface<NamesCase> {};

TEST_P(LinkNamesPageTest, TellsWhetherTheLinkLeadsToThePage) {
    const NamesCase& c = GetParam();
    EXPECT_EQ(linkNamesPage(expand(c.link), project_, project_ + "/" + c.page), c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkNamesPageTest,
    ::testing::Values(
        NamesCase{"index.html", "index.html", true}, NamesCase{"./index.html", "index.html", true},
        NamesCase{"blog/../index.html", "index.html", true},
        NamesCase{"../project/index.html", "index.html", true},
        NamesCase{"index.html?from=menu", "index.html", true},
        NamesCase{"index.html#top", "index.html", true},
        NamesCase{"index.html?a=1#top", "index.html", true},
        NamesCase{"blog/post.html", "blog/post.html", true},
        NamesCase{"blog/post.html", "post.html", false},
        NamesCase{"about.html", "index.html", false}, NamesCase{"Index.html", "index.html", false},
        NamesCase{"my%20page.html", "my page.html", true}, NamesCase{"my%2", "my%2", true},
        // A folder stands for its index.html: by its final '/', or as a folder on disk.
        NamesCase{"blog/", "blog/index.html", true}, NamesCase{"blog", "blog/index.html", true},
        NamesCase{"blog/.", "blog/index.html", true}, NamesCase{"./", "index.html", true},
        NamesCase{"news/", "news/index.html", true}, NamesCase{"news", "news/index.html", false},
        NamesCase{"blog/", "blog/post.html", false},
        NamesCase{"@P@/index.html", "index.html", true},
        NamesCase{"@P@/blog/", "blog/index.html", true},
        // Addresses and empty links name no page.
        NamesCase{"http://example.com/index.html", "index.html", false},
        NamesCase{"HTTPS:index.html", "index.html", false},
        NamesCase{"mailto:me@example.com", "index.html", false},
        NamesCase{"//example.com/index.html", "index.html", false},
        NamesCase{"#index.html", "index.html", false}, NamesCase{"", "index.html", false},
        NamesCase{"?page=index.html", "index.html", false}));

TEST_F(ProjectFolder, ALinkThroughASymbolicLinkNamesTheRealPage) {
    fs::create_directory_symlink(folder_ / "project" / "blog", folder_ / "project" / "latest");
    EXPECT_TRUE(linkNamesPage("latest/post.html", project_, project_ + "/blog/post.html"));
    fs::create_directory_symlink(folder_ / "project", folder_ / "alias");
    EXPECT_TRUE(linkNamesPage("index.html", path("alias"), project_ + "/index.html"));
}

struct RewriteCase {
    const char* link;
    const char* pageFolder; // relative to the project's folder
    const char* expected;
};

void PrintTo(const RewriteCase& c, std::ostream* os) {
    *os << '"' << c.link << "\" from " << c.pageFolder;
}

class LinkFromPageTest : public ProjectFolder, public ::testing::WithParamInterface<RewriteCase> {};

TEST_P(LinkFromPageTest, RewritesTheLinkForThePagesFolder) {
    const RewriteCase& c = GetParam();
    EXPECT_EQ(linkFromPage(expand(c.link), project_, project_ + "/" + c.pageFolder),
              expand(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkFromPageTest,
    ::testing::Values(
        RewriteCase{"images/home.png", "", "images/home.png"},
        RewriteCase{"images/home.png", "blog", "../images/home.png"},
        RewriteCase{"images/home.png", "blog/2024/", "../../images/home.png"},
        RewriteCase{"blog/post.html", "blog", "post.html"},
        RewriteCase{"blog/2024/a.html", "blog", "2024/a.html"},
        RewriteCase{"./images/a.png", "blog", "../images/a.png"},
        RewriteCase{"images/../a.png", "blog", "../a.png"},
        RewriteCase{"../shared/a.png", "blog", "../../shared/a.png"},
        RewriteCase{"images/home.png", "../site/blog", "../../project/images/home.png"},
        RewriteCase{"images/my%20pic.png?v=2#x", "blog", "../images/my%20pic.png?v=2#x"},
        RewriteCase{"blog/post.html#comments", "blog", "post.html#comments"},
        RewriteCase{"blog/", "blog", "./"}, RewriteCase{"news/", "blog", "../news/"},
        RewriteCase{"./", "blog", "../"},
        // Addresses, absolute paths, empty links and bare queries stay as typed.
        RewriteCase{"http://example.com/a.png", "blog", "http://example.com/a.png"},
        RewriteCase{"mailto:me@example.com", "blog", "mailto:me@example.com"},
        RewriteCase{"//cdn.example.com/a.png", "blog", "//cdn.example.com/a.png"},
        RewriteCase{"#top", "blog", "#top"}, RewriteCase{"/srv/a.png", "blog", "/srv/a.png"},
        RewriteCase{"@P@/images/a.png", "blog", "@P@/images/a.png"}, RewriteCase{"", "blog", ""},
        RewriteCase{"?page=2", "blog", "?page=2"}));

TEST_F(ProjectFolder, APageFolderReachedThroughALinkGetsTheSamePath) {
    fs::create_directory_symlink(folder_ / "project" / "blog", path("blog-link"));
    EXPECT_EQ(linkFromPage("images/home.png", project_, path("blog-link")), "../images/home.png");
}

} // namespace
} // namespace kelmor
