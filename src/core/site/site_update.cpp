#include "site/site_update.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "base/shown_value.h"
#include "base/utf8.h"
#include "site/menu_markers.h"

#include <string_view>
#include <unordered_set>

namespace kelmor {
namespace {

std::size_t hashOf(std::string_view bytes) {
    return std::hash<std::string_view>{}(bytes);
}

PlannedPage refused(const SitePage& page, std::string message) {
    return {page, {page.relativePath, PageStatus::Refused, std::move(message)}, {}, 0, 0};
}

// The page's bytes, or the line that refuses it.
struct PageBytes {
    std::string bytes;
    std::string problem;
};

PageBytes readPage(const SitePage& page) {
    try {
        return {readWholeFile(page.path, kMaxSitePageBytes), {}};
    } catch (const FileTooLarge&) {
        return {{}, format(msg::kSitePageTooLarge, page.relativePath)};
    } catch (const Error&) {
        return {{}, format(msg::kSitePageUnreadable, page.relativePath)};
    }
}

PlannedPage planPage(const SiteEntry& entry, const MenuUpdate& update) {
    const SitePage& page = entry.page;
    if (!entry.problem.empty())
        return refused(page, entry.problem);
    PageBytes read = readPage(page);
    if (!read.problem.empty())
        return refused(page, std::move(read.problem));
    if (!isValidUtf8(read.bytes))
        return refused(page, format(msg::kSitePageNotUtf8, page.relativePath));
    const MarkerScan scan = findMenuRegions(read.bytes, update.menuName);
    if (scan.state == MarkerState::NotClosed)
        return refused(page, format(msg::kMenuMarkersNotClosed, page.relativePath));
    PlannedPage planned{.page = page,
                        .outcome = {page.relativePath, PageStatus::NoMarkers, {}},
                        .newText = {},
                        .oldSize = read.bytes.size(),
                        .oldHash = hashOf(read.bytes)};
    if (scan.state == MarkerState::NoMarkers)
        return planned;
    std::string snippet;
    try {
        snippet = update.writeSnippet(page);
    } catch (const Error& error) {
        return refused(page, shownValue(page.relativePath) + ": " + error.what());
    }
    planned.newText = replaceMenuRegions(read.bytes, scan.regions, snippet);
    planned.outcome.status =
        planned.newText == read.bytes ? PageStatus::Unchanged : PageStatus::Updated;
    if (planned.outcome.status == PageStatus::Unchanged)
        planned.newText.clear();
    return planned;
}

// Writes an Updated page; with `checkUnchanged`, only when its bytes are still those the plan
// read.
PageOutcome writePlanned(const PlannedPage& planned, bool checkUnchanged) {
    const SitePage& page = planned.page;
    if (planned.outcome.status != PageStatus::Updated)
        return planned.outcome;
    if (checkUnchanged) {
        const PageBytes now = readPage(page);
        if (!now.problem.empty())
            return {page.relativePath, PageStatus::Refused, now.problem};
        if (now.bytes.size() != planned.oldSize || hashOf(now.bytes) != planned.oldHash)
            return {page.relativePath, PageStatus::Refused,
                    format(msg::kSitePageChanged, page.relativePath)};
    }
    try {
        writeFileReplacing(page.path, planned.newText);
    } catch (const Error&) {
        return {page.relativePath, PageStatus::Refused,
                format(msg::kSitePageNotWritten, page.relativePath)};
    }
    return planned.outcome;
}

} // namespace

std::vector<PlannedPage> planMenuUpdate(const MenuUpdate& update) {
    std::vector<PlannedPage> plan;
    for (const SiteEntry& entry : walkSite(update.site))
        plan.push_back(planPage(entry, update));
    return plan;
}

std::vector<PageOutcome> applyMenuPlan(std::span<const PlannedPage> plan,
                                       std::span<const std::string> chosen) {
    const std::unordered_set<std::string> names(chosen.begin(), chosen.end());
    std::vector<PageOutcome> outcomes;
    for (const PlannedPage& planned : plan)
        if (names.contains(planned.page.relativePath))
            outcomes.push_back(writePlanned(planned, true));
    return outcomes;
}

std::vector<PageOutcome> outcomesOf(std::span<const PlannedPage> plan) {
    std::vector<PageOutcome> outcomes;
    outcomes.reserve(plan.size());
    for (const PlannedPage& planned : plan)
        outcomes.push_back(planned.outcome);
    return outcomes;
}

std::vector<PageOutcome> updateSiteMenu(const MenuUpdate& update, UpdateMode mode) {
    std::vector<PageOutcome> outcomes;
    for (const SiteEntry& entry : walkSite(update.site)) {
        const PlannedPage planned = planPage(entry, update);
        outcomes.push_back(mode == UpdateMode::DryRun ? planned.outcome
                                                      : writePlanned(planned, false));
    }
    return outcomes;
}

} // namespace kelmor
