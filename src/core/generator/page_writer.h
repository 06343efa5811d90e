#pragma once

#include "generator/page_kinds.h"
#include "project/string_grid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// The page's lines without line ends, for 1 to 10 buttons; any other count throws
// kelmor::Error("A page holds 1 to 10 buttons; the Button list has N."). What each kind writes
// is told by its writer (legacy_page_writer.h, html5_page_writer.h).
std::vector<std::string> pageLines(PageKind kind, const std::vector<PageButton>& buttons,
                                   const PageSettings& settings);

// True when the page of that kind leaves out the BG Color as typed: the HTML5 pages do when it
// is no single CSS colour.
bool dropsBgColor(PageKind kind, const PageSettings& settings);

// The page missingPictures looks the pictures up from: `page` itself, or index.html in the
// settings' folder for a kind that writes every path relative to the page's folder.
std::string pictureLookupPage(PageKind kind, const PageSettings& settings, const std::string& page);

// Throws that same Error unless 1 <= count <= 10.
void checkPageButtonCount(long long count);

// The page file's bytes: every line followed by CR LF, the last one too.
std::string pageText(PageKind kind, const std::vector<PageButton>& buttons,
                     const PageSettings& settings);

// The count Build reads from the button count label: "1".."10" exactly (text comparison),
// otherwise nullopt.
std::optional<int> pageButtonCount(std::string_view labelText);

// Buttons 1..count of a Button list grid (rows 1..count; cells outside read empty).
std::vector<PageButton> pageButtons(const StringGrid& grid, int count);

} // namespace kelmor
