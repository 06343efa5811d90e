#pragma once

// The web pages of a site's folder, found at any depth. Pure C++.

#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// A page of a site, as the menu's snippet writer is told about it.
struct SitePage {
    std::string path;         // absolute, the site's own symbolic links resolved
    std::string relativePath; // from the site's folder with '/' separators: "blog/post.html"
    std::string folder;       // the absolute folder the page lies in
};

// One thing the walk found: a page to update, or a page or folder it skipped.
struct SiteEntry {
    SitePage page;       // for a skipped folder, relativePath ends with '/'
    std::string problem; // empty for a page; otherwise the whole line saying why it was skipped
};

// True for a file name ending in .html, .htm, .xhtml or .shtml, in any case (".html" alone is
// a hidden file without an extension).
bool isSitePageName(std::string_view name);

// Every page of the site in the order of their relative paths (bytes compared), with the
// entries it skipped in the same order:
// - a symbolic link is never followed. One whose target lies inside the site leads to what the
//   walk reaches under its own path anyway; one leading outside (or round in a loop), when it
//   names a folder or has a page's name, is skipped with "PATH: symbolic link to outside the
//   site, skipped" ("PATH: cannot be read, skipped" for a loop);
// - a folder that cannot be listed, and a page that is no regular file, are skipped with
//   "PATH: cannot be read, skipped".
// Throws Error("Site folder SITE not found") when `site` is no folder, and Error("Cannot read
// the site folder SITE") when it cannot be listed.
std::vector<SiteEntry> walkSite(const std::string& site);

} // namespace kelmor
