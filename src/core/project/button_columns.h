#pragma once

#include <array>

namespace kelmor {

// The Button list's columns, numbered as the grid and a project file hold them. Every use of
// a column goes through these names; Count is how many there are, the number a project
// file's size line always gives.
struct ButtonColumn {
    enum : int {
        Normal,
        NormalWidth,
        NormalHeight,
        Frame,
        Link,
        MouseOver,
        MouseOverWidth,
        MouseOverHeight,
        Sound,
        BgImage,
        BgColor,
        PageTitle,
        TargetPage,
        Count
    };
};

// The header texts of row 0, column by column.
inline constexpr std::array<const char*, ButtonColumn::Count> kButtonColumnHeaders = {
    "Normal Button", "Width", "Height", "Frame",    "Link",       "Mouse Over", "Width",
    "Height",        "Sound", "BG",     "BG Color", "Page Title", "Target Page"};

} // namespace kelmor
