#pragma once

// The text of a site menu: a <nav> of links whose pictures are CSS backgrounds, swapped by
// :hover and :focus-visible to the mouse-over picture and by [aria-current="page"] to the
// current one, with no script. Each link's text is its picture's title, hidden from view and
// read by screen readers. The pictures are backgrounds rather than <img> elements so that one
// sprite can hold every state of every button and image-set() can offer the 2x pictures: the
// first hover then never waits for a picture.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// One picture at both scales, as the page or the style sheet refers to it.
struct MenuPicture {
    std::string url;
    std::string url2x; // empty when there is no 2x picture
};

// A picture holding every state of one or more buttons: a column per button, a row per state
// (normal, mouse-over, current), each row as high as the tallest button.
struct MenuSprite {
    MenuPicture picture;
    int width = 0;
    int height = 0;
    int rowHeight = 0;
};

// One link of the menu, every value as it is to be written (relative where it must be).
struct MenuLink {
    std::string href;
    std::string title;
    std::string target; // the frame it opens in, empty for the menu's own
    MenuPicture normal, over, current;
    int width = 0;
    int height = 0;
    bool isCurrent = false;
    // The sprite that holds the button's states, and the left edge of its column there; the
    // three pictures above are not used then.
    std::optional<MenuSprite> sprite;
    int spriteX = 0;
};

// How the buttons stand: a column, or a row that wraps on narrow screens; the CSS length
// between two of them.
struct MenuLayout {
    bool stacked = false;
    std::string gap = "0";
};

// The layout a Breaks/Spaces separator gives: line breaks stack the buttons, one line of space
// (1.2em) for each break after the first; otherwise a row, a quarter em for each &nbsp; and
// each run of blanks (a browser shows a run as one space).
MenuLayout separatorLayout(std::string_view separator);

struct MenuSnippet {
    std::string label; // the navigation's accessible name
    std::vector<MenuLink> links;
    MenuLayout layout;
    // The page's BG Color as typed: the focus ring is drawn in the colour of more contrast
    // with it, or as a black ring on a white one when it is no #RGB or #RRGGBB colour.
    std::string bgColor;
};

// The style rules of the menu, one per line, LF line ends.
std::string menuCss(const MenuSnippet& menu);

// The menu's markup without its rules, for a page that holds them in its head: the <nav>, the
// list and one line per link. A line end typed into a value stays inside its line.
std::vector<std::string> menuMarkupLines(const MenuSnippet& menu);

// The menu's markup, LF line ends, ending with a line end: with the rules in a <style> element
// of its own, or, when `cssHref` is given, a <link> to the style sheet that holds them.
std::string menuHtml(const MenuSnippet& menu, const std::optional<std::string>& cssHref = {});

} // namespace kelmor
