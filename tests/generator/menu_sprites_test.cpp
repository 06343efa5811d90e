// The sprites of a menu: every state picture of every button found again, pixel for pixel, at
// the button's column and the state's row, at 1x and at 2x.
#include "base/read_file.h"
#include "generator/menu_pictures.h"
#include "imaging/png.h"
#include "imaging/tool_pictures.h"
#include "menu_test_pictures.h"
#include "support/temp_folder.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

// The part of `image` at (left, top), `width` x `height`.
RgbaImage cropped(const RgbaImage& image, int left, int top, int width, int height) {
    RgbaImage part = RgbaImage::blank(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(part.row(y), image.row(top + y) + std::size_t(left) * 4,
                    std::size_t(width) * 4);
    return part;
}

// Two buttons of different heights: "a" with its own over and current pictures, "b" whose
// normal picture stands for every state; every picture with its 2x one unless `without2x`.
class MenuSpritesTest : public test::TempFolderTest,
                        public ::testing::WithParamInterface<MenuSpriteMode> {
protected:
    std::vector<MenuButtonPictures> makeButtons(const std::string& without2x = {}) {
        std::filesystem::create_directory(path("pics"));
        int seed = 0;
        for (const auto& [name, width, height] :
             {std::tuple{"a", 4, 3}, {"a-over", 4, 3}, {"a-current", 3, 2}, {"b", 5, 6}}) {
            ++seed;
            test::writePatternPng(path("pics/") + name + ".png", width, height, seed);
            if (name != without2x)
                test::writePatternPng(path("pics/") + name + "@2x.png", width * 2, height * 2,
                                      seed + 10);
        }
        return findMenuPictures(folder_.string(), {test::buttonRow("pics/a.png", "pics/a-over.png"),
                                                   test::buttonRow("pics/b.png")});
    }

    // Checks every state of every button in its sprite's cell, the rest of the cell clear.
    void expectCells(const MenuSprites& sprites, const std::vector<MenuButtonPictures>& buttons,
                     int scale) {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            const MenuSpriteFile& file = sprites.files.at(std::size_t(sprites.places[i].sprite));
            const RgbaImage sprite = decodePng(scale == 1 ? file.bytes : file.bytes2x);
            ASSERT_EQ(sprite.width, file.width * scale);
            ASSERT_EQ(sprite.height, file.rowHeight * 3 * scale);
            const MenuStatePicture* states[] = {&buttons[i].normal, &buttons[i].over,
                                                &buttons[i].current};
            for (int row = 0; row < 3; ++row) {
                const std::string& state = scale == 1 ? states[row]->path : states[row]->path2x;
                const RgbaImage picture = decodePng(readWholeFile(path(state)));
                const int left = sprites.places[i].x * scale;
                const int top = row * file.rowHeight * scale;
                EXPECT_EQ(cropped(sprite, left, top, picture.width, picture.height), picture)
                    << state << " at " << left << "," << top;
                const int cellHeight = file.rowHeight * scale;
                if (picture.height < cellHeight) {
                    EXPECT_EQ(
                        cropped(sprite, left, top + picture.height, buttons[i].width * scale,
                                cellHeight - picture.height),
                        RgbaImage::blank(buttons[i].width * scale, cellHeight - picture.height))
                        << state;
                }
            }
        }
    }
};

TEST_P(MenuSpritesTest, HoldsEveryStateAtItsButtonsPlace) {
    const std::vector<MenuButtonPictures> buttons = makeButtons();
    const MenuSprites sprites = makeMenuSprites(folder_.string(), buttons, GetParam());
    ASSERT_EQ(sprites.places.size(), 2u);
    if (GetParam() == MenuSpriteMode::Button) {
        ASSERT_EQ(sprites.files.size(), 2u);
        EXPECT_EQ(sprites.files[1].path, "pics/b-sprite.png");
        EXPECT_EQ(sprites.files[1].path2x, "pics/b-sprite@2x.png");
        EXPECT_EQ(sprites.places[1].x, 0);
        EXPECT_EQ(sprites.files[0].rowHeight, 3);
    } else {
        ASSERT_EQ(sprites.files.size(), 1u);
        EXPECT_EQ(sprites.files[0].path, "pics/menu-sprite.png");
        EXPECT_EQ(sprites.files[0].path2x, "pics/menu-sprite@2x.png");
        EXPECT_EQ(sprites.files[0].width, 9);
        EXPECT_EQ(sprites.files[0].rowHeight, 6);
        EXPECT_EQ(sprites.places[1].x, 4);
    }
    expectCells(sprites, buttons, 1);
    expectCells(sprites, buttons, 2);
}

INSTANTIATE_TEST_SUITE_P(Modes, MenuSpritesTest,
                         ::testing::Values(MenuSpriteMode::Menu, MenuSpriteMode::Button,
                                           MenuSpriteMode::Automatic));

TEST_F(MenuSpritesTest, AMissing2xPictureLeavesOnlyThatSpriteAt1x) {
    const std::vector<MenuButtonPictures> buttons = makeButtons("a-current");
    const MenuSprites perButton =
        makeMenuSprites(folder_.string(), buttons, MenuSpriteMode::Button);
    EXPECT_EQ(perButton.files.at(0).path2x, "");
    EXPECT_EQ(perButton.files.at(0).bytes2x, "");
    EXPECT_EQ(perButton.files.at(1).path2x, "pics/b-sprite@2x.png");
    EXPECT_EQ(makeMenuSprites(folder_.string(), buttons, MenuSpriteMode::Menu).files.at(0).path2x,
              "");
}

TEST_F(MenuSpritesTest, AutomaticMakesNoneWithAnSvgPicture) {
    std::vector<MenuButtonPictures> buttons = makeButtons();
    buttons[1].over.path = "pics/b-over.svg";
    const MenuSprites sprites =
        makeMenuSprites(folder_.string(), buttons, MenuSpriteMode::Automatic);
    EXPECT_TRUE(sprites.files.empty());
    ASSERT_EQ(sprites.places.size(), 2u);
    EXPECT_EQ(sprites.places[0].sprite, -1);
    EXPECT_TRUE(makeMenuSprites(folder_.string(), buttons, MenuSpriteMode::None).files.empty());
}

TEST_F(MenuSpritesTest, ASpritePastThePictureLimitsIsRefusedBeforeItsPixels) {
    std::vector<MenuButtonPictures> buttons = makeButtons();
    buttons[0].width = 40000;
    buttons[0].height = 1000;
    for (const MenuSpriteMode mode : {MenuSpriteMode::Menu, MenuSpriteMode::Button})
        EXPECT_EQ(test::errorOf([&] { makeMenuSprites(folder_.string(), buttons, mode); }),
                  "Image too large");
}

} // namespace
} // namespace kelmor
