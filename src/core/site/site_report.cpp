#include "site/site_report.h"

#include "base/shown_value.h"

#include <algorithm>

namespace kelmor {

std::string outcomeLine(const PageOutcome& outcome) {
    switch (outcome.status) {
    case PageStatus::Updated:
        return shownValue(outcome.page) + ": updated";
    case PageStatus::Unchanged:
        return shownValue(outcome.page) + ": unchanged";
    case PageStatus::NoMarkers:
        return shownValue(outcome.page) + ": no markers";
    case PageStatus::Refused:
        break;
    }
    return outcome.message;
}

std::string countLine(std::span<const PageOutcome> outcomes) {
    const auto count = [outcomes](PageStatus status) {
        return std::to_string(std::ranges::count(outcomes, status, &PageOutcome::status));
    };
    return count(PageStatus::Updated) + " updated, " + count(PageStatus::Unchanged) +
           " unchanged, " + count(PageStatus::NoMarkers) + " without markers, " +
           count(PageStatus::Refused) + " refused";
}

std::vector<std::string> reportLines(std::span<const PageOutcome> outcomes) {
    std::vector<std::string> lines;
    lines.reserve(outcomes.size() + 1);
    for (const PageOutcome& outcome : outcomes)
        lines.push_back(outcomeLine(outcome));
    lines.push_back(countLine(outcomes));
    return lines;
}

} // namespace kelmor
