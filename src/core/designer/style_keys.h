#pragma once

// The table of a button style's keys, in the order of the style file. Every place that reads or
// writes a style's values goes over it: the style file, the button designer's fields and
// kelmor-cli button's options, so a value reads and is checked alike in all of them.

#include "designer/button_style.h"

#include <span>
#include <string>
#include <string_view>

namespace kelmor {

// What a key's text holds, and so the values it takes.
enum class StyleValueKind {
    Text,           // the font family; empty stands for the default
    Flag,           // "1" or "0"
    FontSize,       // points, 4 to 200
    Pixels,         // 0 to 2000
    PixelsOrUnset,  // 1 to 2000, empty for a size taken from the text
    Shape,          // rect, rounded or pill
    Colour,         // #RRGGBB
    OptionalColour, // #RRGGBB, empty for a value that follows the normal state
};

struct StyleKey {
    const char* key; // in the style file's STYLE section
    StyleValueKind kind;
    // kelmor-cli button's option, its value's name and help in the usage. A key without an
    // option takes the part after the comma of the option of the key before it, as
    // "--fill C[,C2]" gives Fill and Fill2.
    const char* option;
    const char* optionValue;
    const char* optionHelp;
    // The value as a file, a field or an option holds it; the default style's text is the
    // default.
    std::string (*text)(const ButtonStyle& style);
    // Checks a text and sets the value; a text that is not valid throws Error with the text in
    // its message, the caller putting the key, field or option in front.
    void (*take)(ButtonStyle& style, std::string_view text);
};

std::span<const StyleKey> styleKeys();
// The row of a style file's key; nothing for a key the table lacks.
const StyleKey* findStyleKey(std::string_view key);

// Takes the value of a kelmor-cli option from the table; a flag is set. A value split between
// two keys needs its comma unless the second part may be left empty. Throws Error unlabelled.
// False when no key has the option.
bool takeStyleOption(ButtonStyle& style, std::string_view option, std::string_view value);

} // namespace kelmor
