#include "site/site_links.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSchemeCharacter(char c) {
    return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

bool hasScheme(std::string_view link) {
    if (link.empty() || !isAsciiLetter(link.front()))
        return false;
    std::size_t at = 1;
    while (at < link.size() && isSchemeCharacter(link[at]))
        ++at;
    return at < link.size() && link[at] == ':';
}

// The part of a link before its query or fragment.
std::string_view pathPart(std::string_view link) {
    return link.substr(0, std::min(link.find_first_of("?#"), link.size()));
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes the percent-escapes stand for; a '%' not followed by two hex digits stays.
std::string percentDecoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const int high = text[at] == '%' && at + 2 < text.size() ? hexValue(text[at + 1]) : -1;
        const int low = high >= 0 ? hexValue(text[at + 2]) : -1;
        if (low >= 0) {
            bytes += static_cast<char>(high * 16 + low);
            at += 2;
        } else {
            bytes += text[at];
        }
    }
    return bytes;
}

// The path made absolute and its symbolic links resolved as far as it exists; the rest (and
// all of it when resolving fails) only normalised.
fs::path resolved(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path.empty() ? "." : path, error).lexically_normal();
    const fs::path real = fs::weakly_canonical(absolute, error);
    return error ? absolute : real;
}

} // namespace

bool isLinkAddress(std::string_view link) {
    return hasScheme(link) || link.starts_with("//") || link.starts_with("#");
}

std::optional<std::string> pageNamedBy(std::string_view link, const std::string& projectFolder) {
    if (isLinkAddress(link))
        return std::nullopt;
    const std::string path = percentDecoded(pathPart(link));
    if (path.empty())
        return std::nullopt;
    fs::path target =
        (path.front() == '/' ? fs::path(path) : resolved(projectFolder) / path).lexically_normal();
    std::error_code error;
    if (target.filename().empty() || fs::is_directory(target, error))
        target /= "index.html";
    return resolved(target).string();
}

std::string resolvedPath(const std::string& path) {
    return resolved(path).string();
}

bool linkNamesPage(std::string_view link, const std::string& projectFolder,
                   const std::string& pagePath) {
    return pageNamedBy(link, projectFolder) == resolvedPath(pagePath);
}

PageLinks::PageLinks(const std::string& projectFolder, const std::string& pageFolder)
    : projectFolder_(resolved(projectFolder)), pageFolder_(resolved(pageFolder)) {}

std::string PageLinks::fromPage(std::string_view link) const {
    const std::string_view path = pathPart(link);
    if (path.empty() || path.front() == '/' || isLinkAddress(link))
        return std::string(link);
    const fs::path target = (projectFolder_ / path).lexically_normal();
    const fs::path relative = target.lexically_relative(pageFolder_);
    if (relative.empty())
        return std::string(link);
    std::string rewritten = relative.generic_string();
    if (target.filename().empty() && !rewritten.ends_with('/'))
        rewritten += '/';
    rewritten += link.substr(path.size());
    return rewritten;
}

std::string linkFromPage(std::string_view link, const std::string& projectFolder,
                         const std::string& pageFolder) {
    return PageLinks(projectFolder, pageFolder).fromPage(link);
}

} // namespace kelmor
