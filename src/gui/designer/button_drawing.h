#pragma once

#include "designer/button_menu.h"

#include <QImage>
#include <span>
#include <string>
#include <string_view>

namespace kelmor {

// The designer's drawing, run by the drawing module (kelmor-drawing.so), loaded the first time
// a button is drawn. When it cannot be loaded, every call throws Error "Buttons cannot be
// drawn: REASON"; otherwise the calls are makeButtonMenu and renderSvg with their errors.
// drawSvg gives the picture as a QImage of its own.
ButtonMenu drawButtonMenu(const ButtonStyle& style, std::span<const std::string> texts,
                          ButtonFormat format, bool doubleScale = false,
                          Colour matte = kDefaultMatte);
QImage drawSvg(std::string_view svg);

} // namespace kelmor
