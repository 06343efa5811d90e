#pragma once

#include "project/string_grid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

enum class PageKind { Plain, Sound };

// Legacy: the script-driven pages of the program's first version, every value written as typed
// and in the bytes it came in. Html5: a page of today's HTML that validates, plays its sounds in
// current browsers and works from the keyboard and with screen readers; it is UTF-8, its values
// are escaped, and a script at its end reads the mouse-over pictures and sounds from data-*
// attributes. A line feed or carriage return in a value (project cells may hold them) thus stays
// inside its attribute, element text or CSS string; no value stands in script text or, but for
// one CSS colour token, in CSS outside a string.
enum class PageFormat { Legacy, Html5 };

// One button of a page, taken from a Button list row: columns 0, 5, 4, 3, 8, 1 and 2.
struct PageButton {
    std::string normal, mouseOver, link, frame, sound;
    // The normal picture's size; only the HTML5 page writes it, when it is decimal digits.
    std::string width{}, height{};
};

// The page's own fields and the text written between two buttons (the Breaks/Spaces text).
struct PageSettings {
    std::string title, bgColor, bgImage, separator;
};

// The page's lines without line ends, for 1 to 10 buttons; any other count throws
// kelmor::Error("A page holds 1 to 10 buttons; the Button list has N.").
//
// In the HTML5 page a Page Title of blanks only becomes "Untitled", a button whose normal
// picture cell is empty or blank becomes the text link "Button K", and a picture name without
// readable text gets the alternative text "Button K": the page would not be valid otherwise.
// Mouse-over picture and sound cells of blanks only count as empty. A BG Color that is no CSS
// colour is left out (dropsBgColor).
std::vector<std::string> pageLines(PageKind kind, const std::vector<PageButton>& buttons,
                                   const PageSettings& settings,
                                   PageFormat format = PageFormat::Legacy);

// True when the HTML5 page leaves out the BG Color because it is no single CSS colour (see
// isCssColour; blanks around it do not count). The legacy pages write it as typed.
bool dropsBgColor(const PageSettings& settings, PageFormat format);

// Throws that same Error unless 1 <= count <= 10.
void checkPageButtonCount(long long count);

// The page file's bytes: every line followed by CR LF, the last one too.
std::string pageText(PageKind kind, const std::vector<PageButton>& buttons,
                     const PageSettings& settings, PageFormat format = PageFormat::Legacy);

// The count Build reads from the button count label: "1".."10" exactly (text comparison),
// otherwise nullopt.
std::optional<int> pageButtonCount(std::string_view labelText);

// Buttons 1..count of a Button list grid (rows 1..count; cells outside read empty).
std::vector<PageButton> pageButtons(const StringGrid& grid, int count);

} // namespace kelmor
