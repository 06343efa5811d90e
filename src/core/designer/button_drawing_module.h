#pragma once

// The button drawing (button_picture.h, with Pango, cairo and librsvg behind it) as a module of
// its own, kelmor-drawing.so, which the window loads the first time it draws a button: its start
// then loads none of those libraries. kelmor-cli links the drawing itself.

#include "designer/button_menu.h"
#include "imaging/rgba_image.h"

#include <span>
#include <string>
#include <string_view>

namespace kelmor {

inline constexpr const char* kDrawingModuleFile = "kelmor-drawing.so";
inline constexpr const char* kDrawingModuleEntry = "kelmor_drawing_module";

// The module's table. Failures cross its boundary as messages, not exceptions: each function
// returns false with the message in `error`.
struct ButtonDrawingModule {
    // makeButtonMenu.
    bool (*makeMenu)(const ButtonStyle& style, std::span<const std::string> texts,
                     ButtonFormat format, bool doubleScale, Colour matte, ButtonMenu& menu,
                     std::string& error);
    // renderSvg, for a document the program made.
    bool (*renderSvg)(std::string_view svg, RgbaImage& image, std::string& error);
};

} // namespace kelmor
