#pragma once

// Letter case of ASCII text, whatever the locale: file keys, extensions and CSS words compare
// this way, and other bytes (UTF-8 included) stay as they are.

#include <algorithm>
#include <string>
#include <string_view>

namespace kelmor {

inline char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(), [](char c) { return lowerAscii(c); });
    return lower;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

} // namespace kelmor
