// The pictures of a menu's buttons found in a folder: the current state's and the 2x pictures
// beside the named ones, each button's size and title.
#include "base/error.h"
#include "generator/menu_pictures.h"
#include "menu_test_pictures.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace kelmor {
namespace {

std::string described(const MenuButtonPictures& b) {
    std::ostringstream out;
    out << b.normal.path << " [" << b.normal.path2x << "] | " << b.over.path << " ["
        << b.over.path2x << "] | " << b.current.path << " [" << b.current.path2x << "] | "
        << b.width << "x" << b.height << " | " << b.title << " | " << b.link << " | " << b.frame;
    return out.str();
}

class MenuPicturesTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        std::filesystem::create_directory(path("pics"));
        for (const char* name : {"home", "home@2x", "home-over", "home-current", "home-current@2x",
                                 "__", "plain-over@2x"})
            test::writePatternPng(path("pics/") + name + ".png", 4, 3, 1,
                                  std::string(name) == "home"
                                      ? std::vector<PngText>{{"Title", "Start & go"}}
                                      : std::vector<PngText>{});
        test::writePatternPng(path("pics/my_cool-page.png"), 6, 2, 2);
        test::writePatternPng(path("pics/plain-over.png"), 6, 2, 2);
    }
};

TEST_F(MenuPicturesTest, FindsTheStatesTheir2xPicturesSizesAndTitles) {
    const std::string absolute = path("pics/my_cool-page.png");
    std::vector<PageButton> buttons = {
        test::buttonRow("pics/home.png", "pics/home-over.png", "index.html"),
        test::buttonRow("", "pics/home.png", "skipped.html"),
        test::buttonRow(absolute, "", "a.html"),
        test::buttonRow("pics/__.png", "pics/plain-over.png"),
    };
    buttons[2].frame = "main";
    buttons[2].width = "7";
    buttons[2].height = "9";
    buttons[3].width = "5";
    buttons[3].height = "x";
    const std::vector<MenuButtonPictures> found = findMenuPictures(folder_.string(), buttons);
    const std::vector<std::string> expected = {
        "pics/home.png [pics/home@2x.png] | pics/home-over.png [] | pics/home-current.png "
        "[pics/home-current@2x.png] | 4x3 | Start & go | index.html | ",
        absolute + " [] | " + absolute + " [] | " + absolute +
            " [] | 7x9 | my cool page | a.html | main",
        "pics/__.png [] | pics/plain-over.png [pics/plain-over@2x.png] | pics/plain-over.png "
        "[pics/plain-over@2x.png] | 4x3 | Button 4 |  | ",
    };
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ(described(found[i]), expected[i]) << "button " << i;
}

TEST_F(MenuPicturesTest, AnUnreadablePictureIsNamed) {
    std::ofstream(path("pics/broken.png")) << "not a picture";
    const std::vector<PageButton> buttons = {test::buttonRow("pics/broken.png")};
    try {
        findMenuPictures(folder_.string(), buttons);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_TRUE(std::string(error.what()).starts_with("Button picture pics/broken.png: "))
            << error.what();
    }
}

TEST(MenuSpriteModeTest, ReadsTheThreeNamesOnly) {
    EXPECT_EQ(menuSpriteModeValue("menu"), MenuSpriteMode::Menu);
    EXPECT_EQ(menuSpriteModeValue("button"), MenuSpriteMode::Button);
    EXPECT_EQ(menuSpriteModeValue("none"), MenuSpriteMode::None);
    for (const char* wrong : {"", "Menu", "automatic", "menus"})
        EXPECT_THROW(
            {
                try {
                    menuSpriteModeValue(wrong);
                } catch (const Error& error) {
                    EXPECT_EQ(std::string(error.what()),
                              "'" + std::string(wrong) +
                                  "' is not a sprite mode (menu, button or none)");
                    throw;
                }
            },
            Error);
}

} // namespace
} // namespace kelmor
