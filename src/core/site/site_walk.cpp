#include "site/site_walk.h"

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/messages.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

struct Walk {
    std::string site; // as the caller named it
    std::string root; // canonical
    std::vector<SiteEntry> entries;
};

bool liesInsideRoot(const Walk& walk, const std::string& target) {
    if (walk.root == "/" || target == walk.root)
        return true;
    return target.starts_with(walk.root) && target[walk.root.size()] == '/';
}

void addPage(Walk& walk, const fs::path& path, const std::string& relative) {
    walk.entries.push_back({{path.native(), relative, path.parent_path().native()}, {}});
}

void addSkipped(Walk& walk, const fs::path& path, const std::string& relative,
                const char* pattern) {
    walk.entries.push_back(
        {{path.native(), relative, path.parent_path().native()}, format(pattern, relative)});
}

// Where the link points, the links of the existing part resolved; a link to a missing file is
// judged by the path it names.
fs::path linkTarget(const fs::path& link, std::error_code& error) {
    const fs::path named = fs::read_symlink(link, error);
    if (error)
        return {};
    return fs::weakly_canonical(named.is_absolute() ? named : link.parent_path() / named, error);
}

// A link inside the site is passed over, as the walk reaches what it names under its own path:
// every page is updated once, and a link leading back up cannot make the walk go round.
void visitLink(Walk& walk, const fs::path& link, const std::string& relative) {
    std::error_code error;
    const fs::path target = linkTarget(link, error);
    if (!error && liesInsideRoot(walk, target.native()))
        return;
    std::error_code kindError;
    const bool folder = fs::is_directory(link, kindError);
    if (folder || isSitePageName(link.filename().native()))
        addSkipped(walk, link, folder ? relative + "/" : relative,
                   error ? msg::kSitePageUnreadable : msg::kSiteLinkLeavesSite);
}

void visitFolder(Walk& walk, const fs::path& folder, const std::string& prefix);

void visitEntry(Walk& walk, const fs::directory_entry& entry, const std::string& prefix) {
    const std::string name = entry.path().filename().native();
    const std::string relative = prefix + name;
    std::error_code error;
    const fs::file_status status = entry.symlink_status(error);
    if (error) {
        if (isSitePageName(name))
            addSkipped(walk, entry.path(), relative, msg::kSitePageUnreadable);
    } else if (fs::is_symlink(status)) {
        visitLink(walk, entry.path(), relative);
    } else if (fs::is_directory(status)) {
        visitFolder(walk, entry.path(), relative + "/");
    } else if (isSitePageName(name)) {
        if (fs::is_regular_file(status))
            addPage(walk, entry.path(), relative);
        else
            addSkipped(walk, entry.path(), relative, msg::kSitePageUnreadable);
    }
}

// `prefix` is the folder's path relative to the site with a final '/', empty for the site.
void visitFolder(Walk& walk, const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (const fs::directory_iterator end; !error && it != end; it.increment(error))
        visitEntry(walk, *it, prefix);
    if (error && prefix.empty())
        throw Error(format(msg::kSiteFolderUnreadable, walk.site));
    if (error)
        addSkipped(walk, folder, prefix, msg::kSitePageUnreadable);
}

} // namespace

bool isSitePageName(std::string_view name) {
    static constexpr std::array<std::string_view, 4> kExtensions{"html", "htm", "xhtml", "shtml"};
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    const std::string_view extension = name.substr(dot + 1);
    return std::ranges::any_of(kExtensions, [extension](std::string_view known) {
        return equalsIgnoringCase(extension, known);
    });
}

std::vector<SiteEntry> walkSite(const std::string& site) {
    std::error_code error;
    const fs::path root = fs::canonical(site, error);
    if (error)
        throw Error(format(msg::kSiteFolderNotFound, site));
    if (!fs::is_directory(root, error))
        throw Error(format(msg::kSiteIsNoFolder, site));
    Walk walk{site, root.native(), {}};
    visitFolder(walk, root, "");
    std::ranges::sort(walk.entries, {},
                      [](const SiteEntry& e) -> const std::string& { return e.page.relativePath; });
    return std::move(walk.entries);
}

} // namespace kelmor
