#pragma once

// The comments that mark where a project's menu goes in a page:
//     <!-- kelmor-menu NAME -->
//     ...the menu...
//     <!-- /kelmor-menu -->
// NAME is the project's file name without ".kxq". Blanks inside the comments may vary; the
// name is compared exactly. Pure C++.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// "<!-- kelmor-menu NAME -->", the line a user puts where the menu of NAME goes.
std::string menuBeginMarker(std::string_view name);
inline constexpr std::string_view kMenuEndMarker = "<!-- /kelmor-menu -->";

// The menu name of a project file: its file name without the folder and without ".kxq" (in
// any case); a name without that extension stays whole.
std::string menuNameOf(std::string_view projectPath);

// The bytes between a begin marker's "-->" and its end marker's "<!--".
struct MenuRegion {
    std::size_t begin = 0;
    std::size_t end = 0;
};

enum class MarkerState { NoMarkers, Found, NotClosed };

struct MarkerScan {
    MarkerState state = MarkerState::NoMarkers;
    std::vector<MenuRegion> regions; // in page order; filled when Found
};

// Finds the menus of `name` in a page. A begin marker is closed by the next end marker, whoever's
// menu it opens. NotClosed: a begin marker of `name` without an end marker after it, or a begin
// marker of `name` and another begin marker (of any menu) with no end marker between them.
// Broken markers of other menus are not this menu's concern and are passed over.
MarkerScan findMenuRegions(std::string_view page, std::string_view name);

// "\r\n" when the page's first line ends so, otherwise "\n" (also for a page of one line).
std::string_view lineEndOf(std::string_view page);

// The page with the bytes of every region replaced: a line end, the snippet's lines with the
// page's line end (a final line end added when the snippet lacks one; an empty snippet gives
// the line end alone), then the blanks that stood before the end marker on its line, so the
// markers keep their own lines and indentation. Every other byte stays as it is.
std::string replaceMenuRegions(std::string_view page, const std::vector<MenuRegion>& regions,
                               std::string_view snippet);

} // namespace kelmor
