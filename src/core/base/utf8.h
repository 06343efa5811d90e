#pragma once

// Well-formed UTF-8, checked byte by byte; pure C++.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelmor {

// The length of the well-formed UTF-8 sequence that starts `text` (1 for ASCII), or 0 when the
// bytes there form none: overlong forms, surrogates, code points past U+10FFFF and cut
// sequences are no UTF-8. `text` must not be empty.
std::size_t utf8SequenceLength(std::string_view text);

bool isValidUtf8(std::string_view text);

// Latin-1 text (every byte one character) as UTF-8.
std::string utf8FromLatin1(std::string_view text);

} // namespace kelmor
