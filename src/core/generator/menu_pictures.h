#pragma once

// The pictures of a site menu's buttons, found beside the ones the Button list names: the
// current state's picture and the 2x pictures, each button's size and its title; and the sprites
// that hold every state of the buttons in one picture.

#include "generator/page_kind_writer.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// Automatic: one sprite for the menu when every picture is a raster one, none otherwise.
enum class MenuSpriteMode { Automatic, Menu, Button, None };

// "menu", "button" or "none"; anything else throws
// Error("'TEXT' is not a sprite mode (menu, button or none)").
MenuSpriteMode menuSpriteModeValue(std::string_view text);

// One state's picture: its path as the project has it (relative to the project's folder, or
// absolute), and the path of its 2x picture beside it ("home@2x.png" for "home.png"), empty when
// there is none.
struct MenuStatePicture {
    std::string path;
    std::string path2x;
};

struct MenuButtonPictures {
    MenuStatePicture normal, over, current;
    int width = 0;
    int height = 0;
    std::string title; // the picture's own title, else the file name read as words
    std::string link;
    std::string frame;
};

// The pictures of every button that has a normal picture, in the Button list's order:
// - over: the mouse-over picture, the normal one when none is named;
// - current: NAME-current.EXT beside the normal picture when it is there, else the over one;
// - each state's 2x picture when NAME@2x.EXT lies beside it;
// - the size: the row's width and height when both are decimal digits, else the normal
//   picture's own (read from its header);
// - the title: the normal picture's own (readPictureTitle), else its file name with '-' and '_'
//   read as blanks, else "Button K".
// `folder` is where relative paths are found. Errors: the picture readers' own, naming the file.
std::vector<MenuButtonPictures> findMenuPictures(const std::string& folder,
                                                 const std::vector<PageButton>& buttons);

// A sprite picture: its path as the pages refer to it from the project's folder, its 2x
// picture's (empty when some state has no 2x picture), and the bytes of both, not yet written.
struct MenuSpriteFile {
    std::string path;
    std::string path2x;
    std::string bytes;
    std::string bytes2x;
    int width = 0;
    int height = 0;
    int rowHeight = 0; // the rows are normal, over, current, each this high
};

// Where a button's states lie: which sprite, and the left edge of its column there.
struct MenuSpritePlace {
    int sprite = -1; // an index into MenuSprites::files; -1 when the button has none
    int x = 0;
};

struct MenuSprites {
    std::vector<MenuSpriteFile> files;
    std::vector<MenuSpritePlace> places; // one per button
};

// The sprites of a mode, made in memory through the PNG writer: Menu, one picture
// "menu-sprite.png" (and "menu-sprite@2x.png") beside the first button's normal picture, a
// column per button; Button, "NAME-sprite.png" beside each normal picture; None (and Automatic
// with an SVG picture among them), nothing.
MenuSprites makeMenuSprites(const std::string& folder,
                            const std::vector<MenuButtonPictures>& pictures, MenuSpriteMode mode);

} // namespace kelmor
