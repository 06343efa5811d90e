#pragma once

#include "generator/page_kind_writer.h"

namespace kelmor {

// A page of today's HTML that validates, plays its sounds in current browsers and works from
// the keyboard and with screen readers; it is UTF-8, its values are escaped, and a script at
// its end reads the mouse-over pictures and sounds from data-* attributes. A line feed or
// carriage return in a value (project cells may hold them) thus stays inside its attribute,
// element text or CSS string; no value stands in script text or, but for one CSS colour token,
// in CSS outside a string.
//
// A Page Title of blanks only becomes "Untitled", a button whose normal picture cell is empty
// or blank becomes the text link "Button K", and a picture name without readable text gets the
// alternative text "Button K": the page would not be valid otherwise. Mouse-over picture and
// sound cells of blanks only count as empty. A BG Color that is no CSS colour (see isCssColour;
// blanks around it do not count) is left out.
class Html5PageWriter final : public PageKindWriter {
public:
    explicit Html5PageWriter(bool withSounds) : withSounds_(withSounds) {}

    void write(PageSink& out, const std::vector<PageButton>& buttons,
               const PageSettings& settings) const override;
    bool dropsBgColor(const PageSettings& settings) const override;

private:
    void writeScript(PageSink& out) const;

    bool withSounds_;
};

// The parts of the HTML5 page that every page of today's HTML shares. The head from the doctype
// to the <title> (a Page Title of blanks only is "Untitled"), leaving the head open for what the
// page adds to it.
void writeHtml5Head(PageSink& out, const PageSettings& settings);
// The <body> tag, with the BG Image and the BG Color (when it is one CSS colour) as its style.
void writeHtml5Body(PageSink& out, const PageSettings& settings);
// True when writeHtml5Body leaves out the BG Color as it was typed.
bool html5DropsBgColor(const PageSettings& settings);

} // namespace kelmor
