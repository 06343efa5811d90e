#pragma once

// A button style: the named set of values that the button designer turns into the normal,
// mouse-over and current-page pictures of a menu, its style files and the styles Kelmor ships.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

struct Colour {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

// "#RRGGBB", either letter case; anything else gives nothing.
std::optional<Colour> parseColour(std::string_view text);
// "#RRGGBB" in upper case.
std::string colourText(Colour colour);
// Each channel moved `amount` (0..1) of its way to white.
Colour lighter(Colour colour, double amount);
// Each channel moved `amount` (0..1) of its way to black.
Colour darker(Colour colour, double amount);

enum class ButtonShape { Rectangle, Rounded, Pill };
// A button's pictures: normal, under the mouse, and on the page the button leads to.
enum class ButtonState { Normal, MouseOver, Current };

// One colour, or a top-to-bottom gradient from `top` to `bottom`; or no fill at all (`none`),
// the page showing through, as a style file's "none" says.
struct ButtonFill {
    Colour top;
    std::optional<Colour> bottom;
    bool none = false;
    friend bool operator==(const ButtonFill&, const ButtonFill&) = default;
};

// "#RRGGBB" or "none" for a fill; anything else throws Error.
ButtonFill fillValue(std::string_view text);

// Sizes are whole pixels, the font size points at 96 pixels per inch. A width or height of 0
// is taken from the text: every button of a menu then gets the widest text's width and the
// tallest text's height. The mouse-over values left empty follow the normal state: the fill
// 20% lighter, the text and border colours unchanged. So do the current page's values: the fill
// 25% darker, the text and border colours unchanged. A derived fill on which the text would fall
// below the contrast its size asks for moves the other way by the same amount when that reads
// better.
struct ButtonStyle {
    std::string font = "Sans";
    int fontSize = 12;
    bool bold = false;
    bool italic = false;
    Colour color{0xFF, 0xFF, 0xFF};
    int padding = 8;
    int width = 0;
    int height = 0;
    ButtonShape shape = ButtonShape::Rounded;
    int radius = 6;
    ButtonFill fill{{0x33, 0x66, 0x99}, std::nullopt};
    int borderWidth = 1;
    Colour borderColor{0x22, 0x44, 0x66};
    bool shadow = false;
    std::optional<ButtonFill> overFill;
    std::optional<Colour> overColor;
    std::optional<Colour> overBorderColor;
    std::optional<ButtonFill> currentFill;
    std::optional<Colour> currentColor;
    std::optional<Colour> currentBorderColor;

    ButtonFill mouseOverFill() const;
    Colour mouseOverColor() const { return overColor.value_or(color); }
    Colour mouseOverBorderColor() const { return overBorderColor.value_or(borderColor); }
    ButtonFill currentPageFill() const;
    Colour currentPageColor() const { return currentColor.value_or(color); }
    Colour currentPageBorderColor() const { return currentBorderColor.value_or(borderColor); }
    ButtonFill stateFill(ButtonState state) const;
    Colour stateColour(ButtonState state) const;
    friend bool operator==(const ButtonStyle&, const ButtonStyle&) = default;
};

// The largest side of a button picture, and the limits of the values.
inline constexpr int kMaxButtonPixels = 2000;
// The most characters (code points) of one button's text, far more than a menu button holds.
inline constexpr int kMaxButtonTextCharacters = 1000;
inline constexpr int kMinFontPoints = 4;
inline constexpr int kMaxFontPoints = 200;

// The keys of a style file's "STYLE" section, each value as the file holds it.
namespace styleKey {
inline constexpr const char* kSection = "STYLE";
inline constexpr const char* kFont = "Font";
inline constexpr const char* kSize = "Size";
inline constexpr const char* kBold = "Bold";
inline constexpr const char* kItalic = "Italic";
inline constexpr const char* kColor = "Color";
inline constexpr const char* kPadding = "Padding";
inline constexpr const char* kWidth = "Width";
inline constexpr const char* kHeight = "Height";
inline constexpr const char* kShape = "Shape";
inline constexpr const char* kRadius = "Radius";
inline constexpr const char* kFill = "Fill";
inline constexpr const char* kFill2 = "Fill2";
inline constexpr const char* kBorderWidth = "BorderWidth";
inline constexpr const char* kBorderColor = "BorderColor";
inline constexpr const char* kShadow = "Shadow";
inline constexpr const char* kOverFill = "OverFill";
inline constexpr const char* kOverFill2 = "OverFill2";
inline constexpr const char* kOverColor = "OverColor";
inline constexpr const char* kOverBorderColor = "OverBorderColor";
inline constexpr const char* kCurrentFill = "CurrentFill";
inline constexpr const char* kCurrentFill2 = "CurrentFill2";
inline constexpr const char* kCurrentColor = "CurrentColor";
inline constexpr const char* kCurrentBorderColor = "CurrentBorderColor";
} // namespace styleKey

// The checked readings of single values, each throwing Error with the value in its message;
// the caller puts the option or key it came from in front.
Colour colourValue(std::string_view text);
// A size in pixels, 1 to 2000; `allowZero` also takes 0 (no padding, square corners, no border).
int pixelValue(std::string_view text, bool allowZero);
int fontSizeValue(std::string_view text);
ButtonShape shapeValue(std::string_view text);
std::string_view shapeName(ButtonShape shape);

// The folder of the user's styles inside the config folder ($XDG_CONFIG_HOME/kelmor).
std::string stylesFolder(const std::string& configDir);
// Puts every shipped style whose NAME.ini the styles folder lacks into it, so that a shipped
// name always works, even in a folder the user made; a user's file is never replaced.
void installShippedStyles(const std::string& folder);
// The names of the styles in the folder (its NAME.ini files), sorted without regard to case.
std::vector<std::string> listStyles(const std::string& folder);
// The file of a style given as a NAME (in the folder) or as a path to a file: a text holding
// a "/" or ending in ".ini" is a path.
std::string styleFile(const std::string& folder, const std::string& nameOrFile);

// Reads a style file. A missing file gives "Style file PATH not found"; one that cannot be
// read, has no "STYLE" section or holds a value that is not valid gives
// "Style file PATH is damaged: " and the key and its problem. A key the file lacks keeps the
// default.
ButtonStyle loadStyle(const std::string& path);
// Writes every value into the file's "STYLE" section in one rewrite through the safe writer.
void saveStyle(const std::string& path, const ButtonStyle& style);

// The file name a button text gives: ASCII letters in lower case, blanks as "-", characters
// that a file name or an HTML attribute cannot hold dropped ("/", "\", quotes, "<", ">", "&",
// control characters), bidirectional controls and leading dots dropped, other letters kept as
// they are. A text giving nothing is refused.
std::string fileSafeName(std::string_view text);
// The page a button links to until its own link is given: NAME.html, NAME as above.
std::string defaultButtonLink(std::string_view text);

} // namespace kelmor
