#pragma once

#include "ui/drawn_icons.h"

#include <QPainterPath>

class QPainter;
class QRectF;

namespace kelmor {

// The side of the square grid every picture is drawn on; the icon engine
// scales the painter to the size asked for.
inline constexpr double kDrawingGrid = 22.0;

// Draws one picture on the grid, with the painter's pen and brush its own.
void drawPicture(QPainter& painter, DrawnIcon kind);

// The outline of a sheet of paper whose top right corner, `fold` wide, is folded over.
QPainterPath foldedPage(const QRectF& page, qreal fold);

} // namespace kelmor
