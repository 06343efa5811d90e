#pragma once

// The links a menu writes into each page of a site. A button's pictures and Link are typed
// relative to the project's folder (or absolute); a page elsewhere in the site reaches them
// through a path relative to its own folder. Pure C++.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelmor {

// True when `link` starts with a scheme ("http:", "mailto:", ...), with "//" (another host)
// or with "#" (a place in the page that holds it): a link no page file answers to.
bool isLinkAddress(std::string_view link);

// True when a button's Link names the page `pagePath`: the link taken from `projectFolder`
// (unless absolute), its query ("?...") and fragment ("#...") left out, percent-escapes read,
// "." and ".." worked out as a browser does; a link to a folder (ending in '/', or a folder on
// disk) names its index.html. Symbolic links on the way are resolved on both sides. An empty
// link, an address (isLinkAddress) or a bare query names no page.
bool linkNamesPage(std::string_view link, const std::string& projectFolder,
                   const std::string& pagePath);

// The page a button's Link names, as linkNamesPage finds it, resolved; nothing for a Link that
// names no page. A menu finds each button's page once and compares it with every page's
// resolvedPath.
std::optional<std::string> pageNamedBy(std::string_view link, const std::string& projectFolder);

// The path made absolute, "." and ".." worked out and its symbolic links resolved as far as it
// exists.
std::string resolvedPath(const std::string& path);

// `link`, typed relative to `projectFolder`, as a page in `pageFolder` must write it: a path
// relative to that folder with '/' separators ("images/home.png" from blog/ gives
// "../images/home.png"), "." and ".." worked out, a final '/' kept. Its percent-escapes, query
// and fragment are kept as typed. An address, an absolute path, an empty link and a bare query
// stay as they are.
std::string linkFromPage(std::string_view link, const std::string& projectFolder,
                         const std::string& pageFolder);

// linkFromPage for the many links of one page: both folders resolved once.
class PageLinks {
public:
    PageLinks(const std::string& projectFolder, const std::string& pageFolder);
    std::string fromPage(std::string_view link) const;

private:
    std::filesystem::path projectFolder_;
    std::filesystem::path pageFolder_;
};

} // namespace kelmor
