#pragma once

#include "ui/drawn_icons.h"

class QPainter;

namespace kelmor {

// The side of the square grid every picture is drawn on; the icon engine
// scales the painter to the size asked for.
inline constexpr double kDrawingGrid = 22.0;

// Draws one picture on the grid, with the painter's pen and brush its own.
void drawPicture(QPainter& painter, DrawnIcon kind);

} // namespace kelmor
