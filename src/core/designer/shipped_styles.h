#pragma once

// The styles Kelmor ships (data/styles/*.ini), compiled into the program so that the first use
// of the designer can put them into the user's styles folder without any installed data.

#include <span>

namespace kelmor {

struct ShippedStyle {
    const char* name; // the file name without ".ini"
    const char* text; // the file's bytes
};

std::span<const ShippedStyle> shippedStyles();

} // namespace kelmor
