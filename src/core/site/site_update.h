#pragma once

// Puts a project's menu into every page of a site that holds its markers (menu_markers.h), each
// page getting the snippet written for it. A page is read whole, checked, and written through
// writeFileReplacing only when its bytes change; outside the markers every byte stays. One
// page's failure is that page's line in the outcome, and the other pages are still updated.
// Pure C++.

#include "site/site_walk.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace kelmor {

// The most bytes a page may hold: larger files are no hand-written pages.
inline constexpr std::size_t kMaxSitePageBytes = std::size_t{64} << 20;

enum class PageStatus { Updated, Unchanged, NoMarkers, Refused };

// One page's outcome, a line of the report (site_report.h).
struct PageOutcome {
    std::string page; // relative to the site
    PageStatus status = PageStatus::NoMarkers;
    std::string message; // Refused only: the whole line, "blog/a.html: menu markers not closed"
};

// Writes the menu's HTML for one page, lines ending in "\n"; the page's own line end replaces
// them. An Error it throws refuses that page with "PAGE: " and the Error's message.
using SnippetWriter = std::function<std::string(const SitePage&)>;

struct MenuUpdate {
    std::string site;     // the site's folder
    std::string menuName; // the NAME of the markers (menuNameOf the project file)
    SnippetWriter writeSnippet;
};

// What a page would become.
struct PlannedPage {
    SitePage page;
    PageOutcome outcome;     // Updated: the page would change
    std::string newText;     // the page's new bytes, when Updated
    std::size_t oldSize = 0; // the bytes read, to tell an edit made since
    std::size_t oldHash = 0;
};

// Reads every page of the site (walkSite) and works out its outcome; nothing is written.
// Throws walkSite's Errors for a site that is no folder or cannot be listed.
std::vector<PlannedPage> planMenuUpdate(const MenuUpdate& update);

// Writes the pages of the plan that `chosen` names (by relative path) and that would change,
// in plan order, and gives the outcomes of the chosen pages. A page whose bytes changed after
// the plan read them is left as it is: "PAGE: changed since it was read, left as it was"; one
// that cannot be written: "PAGE: cannot be written, left as it was".
std::vector<PageOutcome> applyMenuPlan(std::span<const PlannedPage> plan,
                                       std::span<const std::string> chosen);

// The outcomes of the whole plan, as a dry run reports them.
std::vector<PageOutcome> outcomesOf(std::span<const PlannedPage> plan);

enum class UpdateMode { Write, DryRun };

// The plan and its application in one pass, page by page (no page's new bytes wait for the
// others): what `kelmor-cli menu --update` does. DryRun writes nothing and gives the same
// outcomes.
std::vector<PageOutcome> updateSiteMenu(const MenuUpdate& update, UpdateMode mode);

} // namespace kelmor
