#pragma once

#include "generator/page_kind_writer.h"

#include <string_view>
#include <vector>

namespace kelmor {

// What picks a page kind where no name does: the Build of the "Sound But" tab and kelmor-cli
// page --sound ask for a page that plays the buttons' sounds, the "HTML5 page" box and --html5
// for a page of today's HTML.
struct PageTraits {
    bool sounds = false;
    bool html5 = false;
    friend bool operator==(const PageTraits&, const PageTraits&) = default;
};

struct PageKindRow;

// One kind of page: a row of the table of page kinds (page_kinds.cpp), cheap to copy.
class PageKind {
public:
    explicit PageKind(const PageKindRow& row) : row_(&row) {}

    // What kelmor-cli page --kind takes.
    std::string_view name() const;
    // What the page is, for kelmor-cli's usage text.
    std::string_view caption() const;
    PageTraits traits() const;
    const PageKindWriter& writer() const;

    friend bool operator==(PageKind a, PageKind b) { return a.row_ == b.row_; }

private:
    const PageKindRow* row_;
};

// Every kind, in the table's order.
const std::vector<PageKind>& pageKinds();
// The kind of that name; any other name throws
// kelmor::Error("'NAME' is not a page kind (plain, sound, html5, html5-sound or menu)").
PageKind pageKindNamed(std::string_view name);
// The first kind in the table with these traits (the menu page, of today's HTML without
// sounds, is reached by its name only).
PageKind pageKindWith(PageTraits traits);

} // namespace kelmor
