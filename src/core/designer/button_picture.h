#pragma once

// The pictures of buttons: a style and a text made into SVG markup, the text as outlines laid
// out by Pango, and that markup rendered into PNG or GIF by the SVG reader. The window and
// kelmor-cli call the same functions, so they give the same pixels.

#include "designer/button_menu.h"

#include <span>
#include <string>
#include <string_view>

namespace kelmor {

// The font family the style's text is drawn with. A family that is not installed gives the
// desktop's sans-serif font, `fellBack` telling the caller so. Generic names ("Sans", "Serif",
// "Monospace" and their CSS forms) are always there.
ButtonFont resolveButtonFont(const ButtonStyle& style);

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

// The file of a button's SVG document in the format: the markup itself, or its rendering as a
// PNG file or as a GIF file. A GIF has one transparent colour and no half-transparent pixels: its
// rendering is put onto the `matte`, the page's background colour, so that soft edges and the
// shadow blend into the page, only pixels of alpha 0 staying transparent; its colours are the
// rendering's own when they fit in the table, else a median-cut palette with error diffusion. A
// PNG holds the `title` in a text chunk "Title" (tEXt when ASCII, else iTXt), a GIF in a comment
// extension (as UTF-8); an SVG has its own <title>.
std::string buttonFile(std::string_view svg, ButtonFormat format, std::string_view title = {},
                       Colour matte = kDefaultMatte);

// Makes the pictures of every text, with `doubleScale` also each state's picture at twice the
// size, the same SVG drawing rendered at scale 2 (not for SVG, which scales by itself). Besides the
// errors of menuButtonSize and fileSafeName, two buttons writing one file, of any state, are
// refused before any picture is made ("Buttons 'A' and 'A over' would both write a-over.png").
// GIF pictures are put onto the `matte` as buttonFile says.
ButtonMenu makeButtonMenu(const ButtonStyle& style, std::span<const std::string> texts,
                          ButtonFormat format, bool doubleScale = false,
                          Colour matte = kDefaultMatte);

} // namespace kelmor
