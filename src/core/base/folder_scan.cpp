#include "base/folder_scan.h"

#include <cwctype>
#include <filesystem>
#include <system_error>

namespace kelmor {
namespace {

constexpr char32_t kStrayByte = 0xDC00;

// One character of a UTF-8 name: a code point, or, when the bytes do not form
// a valid sequence (names are bytes, not always valid text), the byte mapped
// into the surrogate range so that it never equals a real character.
char32_t nextChar(std::string_view text, size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 1) {
        ++at;
        return lead;
    }
    if (length == 0 || at + length > text.size()) {
        ++at;
        return kStrayByte + lead;
    }
    char32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kStrayByte + lead;
        }
        code = (code << 6) | (next & 0x3F);
    }
    at += length;
    return code;
}

char32_t foldCase(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    if constexpr (sizeof(wchar_t) >= 4)
        return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c)));
    return c;
}

std::vector<char32_t> foldedChars(std::string_view text) {
    std::vector<char32_t> chars;
    chars.reserve(text.size());
    for (size_t at = 0; at < text.size();)
        chars.push_back(foldCase(nextChar(text, at)));
    return chars;
}

} // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    const std::vector<char32_t> p = foldedChars(pattern);
    const std::vector<char32_t> n = foldedChars(name);
    // Greedy match with backtracking to the last '*': linear in practice, never exponential.
    size_t pi = 0, ni = 0;
    size_t starAt = std::string_view::npos, resumeAt = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == U'*') {
            starAt = pi++;
            resumeAt = ni;
        } else if (starAt != std::string_view::npos) {
            pi = starAt + 1;
            ni = ++resumeAt;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*')
        ++pi;
    return pi == p.size();
}

std::vector<std::string> scanFolder(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder.empty() ? std::string("/") : folder, error);
    for (const std::filesystem::directory_iterator end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().native();
        if (wildcardMatch(pattern, name))
            names.push_back(std::move(name));
    }
    return names;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    path += '/';
    path += name;
    return path;
}

} // namespace kelmor
