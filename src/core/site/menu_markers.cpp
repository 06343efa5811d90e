#include "site/menu_markers.h"

#include "base/ascii_case.h"

#include <optional>

namespace kelmor {
namespace {

constexpr std::string_view kBlanks = " \t\r\n\f";
constexpr std::string_view kBeginWord = "kelmor-menu";
constexpr std::string_view kEndWord = "/kelmor-menu";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// One marker comment: a begin marker with its menu's name, or an end marker.
struct Marker {
    bool isEnd = false;
    std::string_view name;
    std::size_t start = 0; // where "<!--" stands
    std::size_t after = 0; // just past "-->"
};

// The next marker comment from `from`; other comments are passed over as a whole, as HTML reads
// them, so a marker written inside another comment is no marker.
std::optional<Marker> nextMarker(std::string_view page, std::size_t from) {
    for (;;) {
        const std::size_t open = page.find("<!--", from);
        if (open == std::string_view::npos)
            return std::nullopt;
        const std::size_t close = page.find("-->", open + 4);
        if (close == std::string_view::npos)
            return std::nullopt;
        const std::string_view body = trimmed(page.substr(open + 4, close - open - 4));
        if (body == kEndWord)
            return Marker{true, {}, open, close + 3};
        if (body.starts_with(kBeginWord) && body.size() > kBeginWord.size() &&
            kBlanks.find(body[kBeginWord.size()]) != std::string_view::npos)
            return Marker{false, trimmed(body.substr(kBeginWord.size())), open, close + 3};
        from = close + 3;
    }
}

// The page's line end in place of every line end of the snippet, which ends with one.
std::string snippetLines(std::string_view snippet, std::string_view lineEnd) {
    std::string lines;
    lines.reserve(snippet.size() + snippet.size() / 16 + lineEnd.size());
    for (std::size_t at = 0; at < snippet.size(); ++at) {
        if (snippet[at] == '\n')
            lines += lineEnd;
        else if (snippet[at] != '\r' || at + 1 >= snippet.size() || snippet[at + 1] != '\n')
            lines += snippet[at];
    }
    if (!snippet.empty() && snippet.back() != '\n')
        lines += lineEnd;
    return lines;
}

// The blanks before the end marker on its own line; empty when other text stands there.
std::string_view endMarkerIndent(std::string_view region) {
    const std::size_t lineStart = region.rfind('\n');
    if (lineStart == std::string_view::npos)
        return {};
    const std::string_view indent = region.substr(lineStart + 1);
    return indent.find_first_not_of(" \t") == std::string_view::npos ? indent : std::string_view{};
}

} // namespace

std::string menuBeginMarker(std::string_view name) {
    return "<!-- kelmor-menu " + std::string(name) + " -->";
}

std::string menuNameOf(std::string_view projectPath) {
    const std::size_t slash = projectPath.rfind('/');
    std::string_view name =
        slash == std::string_view::npos ? projectPath : projectPath.substr(slash + 1);
    constexpr std::string_view kExtension = ".kxq";
    if (name.size() > kExtension.size() &&
        equalsIgnoringCase(name.substr(name.size() - kExtension.size()), kExtension))
        name.remove_suffix(kExtension.size());
    return std::string(name);
}

MarkerScan findMenuRegions(std::string_view page, std::string_view name) {
    MarkerScan scan;
    std::optional<Marker> open;
    for (auto marker = nextMarker(page, 0); marker; marker = nextMarker(page, marker->after)) {
        if (marker->isEnd) {
            if (open && open->name == name)
                scan.regions.push_back({open->after, marker->start});
            open.reset();
        } else {
            if (open && (open->name == name || marker->name == name))
                return {MarkerState::NotClosed, {}};
            open = marker;
        }
    }
    if (open && open->name == name)
        return {MarkerState::NotClosed, {}};
    scan.state = scan.regions.empty() ? MarkerState::NoMarkers : MarkerState::Found;
    return scan;
}

std::string_view lineEndOf(std::string_view page) {
    const std::size_t newline = page.find('\n');
    return newline != std::string_view::npos && newline > 0 && page[newline - 1] == '\r'
               ? std::string_view("\r\n")
               : std::string_view("\n");
}

std::string replaceMenuRegions(std::string_view page, const std::vector<MenuRegion>& regions,
                               std::string_view snippet) {
    const std::string_view lineEnd = lineEndOf(page);
    const std::string lines = snippetLines(snippet, lineEnd);
    std::string result;
    result.reserve(page.size() + regions.size() * (lines.size() + lineEnd.size()));
    std::size_t copied = 0;
    for (const MenuRegion& region : regions) {
        result.append(page.substr(copied, region.begin - copied));
        result.append(lineEnd);
        result.append(lines);
        result.append(endMarkerIndent(page.substr(region.begin, region.end - region.begin)));
        copied = region.end;
    }
    result.append(page.substr(copied));
    return result;
}

} // namespace kelmor
