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
struct PageSettings {
    std::string title, bgColor, bgImage, separator;
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
};

} // namespace kelmor
