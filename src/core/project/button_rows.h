#pragma once

// Rows that tools add to the Button list: where they go and the cells of their pictures.

#include "project/string_grid.h"

#include <array>
#include <string>

namespace kelmor {

// The row after the last row below the header that holds any text; 1 when none does.
int rowAfterLastFilled(const StringGrid& grid);

struct ButtonCell {
    int column;
    std::string text;
};

// The six picture cells of a button whose normal and mouse-over pictures share one size: both
// names, widths and heights.
std::array<ButtonCell, 6> pictureCells(const std::string& normal, const std::string& mouseOver,
                                       int width, int height);

} // namespace kelmor
