#pragma once

#include "generator/page_sink.h"

#include <string>
#include <vector>

namespace kelmor {

// One button of a page, taken from a Button list row: columns 0, 5, 4, 3, 8, 1 and 2.
struct PageButton {
    std::string normal, mouseOver, link, frame, sound;
    // The normal picture's size; only the HTML5 pages write it, when it is decimal digits.
    std::string width{}, height{};
};

// The page's own fields and the text written between two buttons (the Breaks/Spaces text).
// The pages that write every path relative to their own folder (the menu page) also need where
// the paths are typed from and where the page goes; the other kinds never read these two.
struct PageSettings {
    std::string title, bgColor, bgImage, separator;
    // The folder the Button list's paths are typed from (the project's); empty: the current one.
    std::string folder{};
    // The page being written, relative to the current folder or absolute; empty: index.html in
    // `folder`.
    std::string page{};
};

// Writes the page of one page kind. Every kind has one writer, named in the table of page
// kinds (page_kinds.cpp).
class PageKindWriter {
public:
    PageKindWriter() = default;
    PageKindWriter(const PageKindWriter&) = delete;
    PageKindWriter& operator=(const PageKindWriter&) = delete;
    virtual ~PageKindWriter() = default;

    // Writes every line of the page, each closed by endLine; the button count, 1 to 10, is
    // checked before.
    virtual void write(PageSink& out, const std::vector<PageButton>& buttons,
                       const PageSettings& settings) const = 0;
    // True when the page leaves out the BG Color as it was typed, which Build and kelmor-cli
    // page then tell the user. A page that writes every value as typed never does.
    virtual bool dropsBgColor(const PageSettings&) const { return false; }
    // True when the page writes the pictures' paths relative to its own folder, so that they
    // are found from the settings' folder, where they are typed from; false when it writes them
    // as typed, to be found from the page's folder.
    virtual bool writesPathsFromItsFolder() const { return false; }
};

} // namespace kelmor
