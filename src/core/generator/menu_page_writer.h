#pragma once

#include "generator/page_kind_writer.h"

namespace kelmor {

// A page of today's HTML for a quick look at the project's site menu in a browser: the HTML5
// page's head, with the menu's style rules in a <style> element there (a <style> in the body
// would not validate), and a body holding the menu's <nav> on the HTML5 page's background. The
// menu is the one kelmor-cli menu writes with its default options: its pictures are found and
// measured in the settings' folder; the page's links and pictures, the BG Image too, are
// written relative to the folder of the settings' page, and the buttons whose Link names that
// page are current.
//
// Writing the page also writes the sprite pictures it shows (menu-sprite.png beside the first
// button's normal picture, when every picture is a raster one), before its first line.
// Errors: "The menu has no buttons" when no button has a normal picture, and the picture
// readers' own, naming the picture.
class MenuPageWriter final : public PageKindWriter {
public:
    void write(PageSink& out, const std::vector<PageButton>& buttons,
               const PageSettings& settings) const override;
    bool dropsBgColor(const PageSettings& settings) const override;
    bool writesPathsFromItsFolder() const override { return true; }
};

} // namespace kelmor
