#pragma once

#include <QIcon>

namespace kelmor {

// Tool bar pictures the program draws itself, for commands the style has no
// picture of its own for.
enum class DrawnIcon { Copy, Cut, Paste, Options, FilmSettings, PlaySound, Record };

QIcon drawnIcon(DrawnIcon kind);

} // namespace kelmor
