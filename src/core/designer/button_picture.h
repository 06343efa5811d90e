#pragma once

// The pictures of buttons: a style and a text made into SVG markup, the text as outlines laid
// out by Pango, and that markup rendered into PNG or GIF by the SVG reader. The window and
// kelmor-cli call the same functions, so they give the same pixels.

#include "designer/button_style.h"

#include <span>
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

// The font family the style's text is drawn with. A family that is not installed gives the
// desktop's sans-serif font, `fellBack` telling the caller so. Generic names ("Sans", "Serif",
// "Monospace" and their CSS forms) are always there.
struct ButtonFont {
    std::string family;
    bool fellBack = false;
};
ButtonFont resolveButtonFont(const ButtonStyle& style);

struct ButtonSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ButtonSize&, const ButtonSize&) = default;
};

// The one size of every button of a menu, every state: the style's width and height where it
// fixes them, otherwise room for the widest and the tallest text with the padding, the border,
// the round ends of a pill and the shadow. An empty text gives Error "A button text is empty",
// one that is not UTF-8 "A button text is not valid UTF-8", one of more than 1000 characters
// "A button text is longer than 1000 characters" (before it is laid out), a button larger than
// 2000 pixels "The button 'TEXT' would be larger than 2000 pixels".
ButtonSize menuButtonSize(const ButtonStyle& style, std::span<const std::string> texts);

// The SVG document of one button in one state, of the given size: the shape (rectangle, rounded
// corners, pill) on whole pixels, so that a border of whole pixels lies on whole pixels, its
// fill (one colour or a top-to-bottom gradient), border and soft shadow, and the text centred as
// path outlines. It holds no text element, so it looks the same whatever fonts a visitor has;
// the text is its <title>, the first child of <svg>.
std::string buttonSvg(const ButtonStyle& style, std::string_view text, ButtonSize size,
                      ButtonState state);

// The colour a GIF button is matted onto when the page gives none.
inline constexpr Colour kDefaultMatte{0xFF, 0xFF, 0xFF};
// The matte of a page's background colour as the Page tab holds it: the colour when it is
// #RRGGBB (blanks around it aside), white when it is empty or anything else.
Colour pageMatte(std::string_view bgColor);

// The file of a button's SVG document in the format: the markup itself, or its rendering as a
// PNG file or as a GIF file. A GIF has one transparent colour and no half-transparent pixels: its
// rendering is put onto the `matte`, the page's background colour, so that soft edges and the
// shadow blend into the page, only pixels of alpha 0 staying transparent; its colours are the
// rendering's own when they fit in the table, else a median-cut palette with error diffusion. A
// PNG holds the `title` in a text chunk "Title" (tEXt when ASCII, else iTXt), a GIF in a comment
// extension (as UTF-8); an SVG has its own <title>.
std::string buttonFile(std::string_view svg, ButtonFormat format, std::string_view title = {},
                       Colour matte = kDefaultMatte);

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

// Makes the pictures of every text, with `doubleScale` also each state's picture at twice the
// size, the same SVG drawing rendered at scale 2 (not for SVG, which scales by itself). Besides the
// errors of menuButtonSize and fileSafeName, two buttons writing one file, of any state, are
// refused before any picture is made ("Buttons 'A' and 'A over' would both write a-over.png").
// GIF pictures are put onto the `matte` as buttonFile says.
ButtonMenu makeButtonMenu(const ButtonStyle& style, std::span<const std::string> texts,
                          ButtonFormat format, bool doubleScale = false,
                          Colour matte = kDefaultMatte);

} // namespace kelmor
