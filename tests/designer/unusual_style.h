#pragma once

// A button style with every value away from the default, so that a key or a file reading or
// writing a neighbour's value shows.
#include "designer/button_style.h"

namespace kelmor::test {

inline ButtonStyle unusualStyle() {
    ButtonStyle style;
    style.font = "Serif";
    style.fontSize = 17;
    style.bold = style.italic = style.shadow = true;
    style.color = {1, 2, 3};
    style.padding = 0;
    style.width = 120;
    style.height = 30;
    style.shape = ButtonShape::Pill;
    style.radius = 4;
    style.fill = {{10, 20, 30}, Colour{40, 50, 60}};
    style.borderWidth = 3;
    style.borderColor = {0xAB, 0xCD, 0xEF};
    style.overFill = ButtonFill{{70, 80, 90}, Colour{100, 110, 120}};
    style.overColor = Colour{5, 6, 7};
    style.overBorderColor = Colour{8, 9, 10};
    style.currentFill = ButtonFill{{130, 140, 150}, Colour{160, 170, 180}};
    style.currentColor = Colour{11, 12, 13};
    style.currentBorderColor = Colour{14, 15, 16};
    return style;
}

} // namespace kelmor::test
