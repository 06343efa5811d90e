#pragma once

// How a message shows a value the user gave (a file name, a cell, a button text): control
// characters can hide or reorder what a terminal or a message box shows, and a long value would
// bury the message. Pure C++.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelmor {

// The most characters of a value a message shows.
inline constexpr std::size_t kShownValueCharacters = 200;

// True when `text` holds a control character: a byte below 0x20 (NUL, tab, line ends, escape)
// or DEL (0x7F).
bool hasControlCharacter(std::string_view text);

// True for the UTF-8 sequence of a bidirectional control: U+061C, U+200E, U+200F, U+202A to
// U+202E and U+2066 to U+2069. They reorder the text around them without showing themselves.
bool isBidiControl(std::string_view sequence);

// The value as a message shows it: its first 200 characters (UTF-8 sequences; a byte that
// starts none counts as one) followed by "..." when it holds more, every byte of a control
// character or a bidirectional control written as \xNN ("index.html\x00x", "\xE2\x80\xAEgpj").
// Other bytes stay as they are.
std::string shownValue(std::string_view value);

} // namespace kelmor
