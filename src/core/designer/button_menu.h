#pragma once

// A menu's buttons as files: their formats and scales, the names of their picture files and the
// pictures' bytes once made. Nothing here draws: the drawing is in button_picture.h, which the
// window reaches through a module loaded on first use.

#include "designer/button_style.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

enum class ButtonFormat { Svg, Png, Gif };

// "svg", "png" or "gif", either letter case; anything else throws Error.
ButtonFormat buttonFormatValue(std::string_view text);
// The file extension, without the dot.
std::string_view buttonExtension(ButtonFormat format);

inline constexpr ButtonState kButtonStates[] = {ButtonState::Normal, ButtonState::MouseOver,
                                                ButtonState::Current};

// The font family the style's text is drawn with, and whether it stands in for a family that
// is not installed.
struct ButtonFont {
    std::string family;
    bool fellBack = false;
};

struct ButtonSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ButtonSize&, const ButtonSize&) = default;
};

// The colour a GIF button is matted onto when the page gives none.
inline constexpr Colour kDefaultMatte{0xFF, 0xFF, 0xFF};
// The matte of a page's background colour as the Page tab holds it: the colour when it is
// #RRGGBB (blanks around it aside), white when it is empty or anything else.
Colour pageMatte(std::string_view bgColor);

// Whether a menu has pictures at twice the size, for screens of two device pixels a CSS pixel,
// unless the user says otherwise: PNG yes, GIF no. SVG pictures never need them.
bool doubleScaleByDefault(ButtonFormat format);
// The scales "1" or "1,2" given to kelmor-cli button: whether 2 is among them. Anything else
// throws Error.
bool doubleScaleValue(std::string_view text);

// One picture file of a button: its name, its bytes (owned by the MadeButton), its state and its
// scale, 1 or 2.
struct ButtonPicture {
    std::string file;
    const std::string* bytes = nullptr;
    ButtonState state = ButtonState::Normal;
    int scale = 1;
};

// One button of a menu: its file-safe name and its files' bytes.
struct MadeButton {
    std::string text;
    std::string name;
    std::string normal;
    std::string mouseOver;
    std::string current;
    // The same pictures drawn at twice the size, when `doubled`.
    std::string normal2x;
    std::string mouseOver2x;
    std::string current2x;
    bool doubled = false;
    ButtonFormat format = ButtonFormat::Png;
    std::string normalFile() const;    // NAME.EXT
    std::string mouseOverFile() const; // NAME-over.EXT
    std::string currentFile() const;   // NAME-current.EXT
    // NAME, "-over" or "-current" by the state, "@2x" at scale 2, and ".EXT".
    std::string file(ButtonState state, int scale = 1) const;
    const std::string& picture(ButtonState state, int scale = 1) const;
    std::string& picture(ButtonState state, int scale = 1);
    // Every picture in the order it is written: normal, mouse-over, current, then the same at
    // scale 2 when the button has them.
    std::vector<ButtonPicture> pictures() const;
};

// Every button of a menu, all of one size, made in memory so that a caller checks everything
// before it writes a file.
struct ButtonMenu {
    std::vector<MadeButton> buttons;
    ButtonSize size;
    ButtonFont font;
};

} // namespace kelmor
