#pragma once

#include <QIcon>

namespace kelmor {

// Tool bar pictures for the clipboard commands, used when the desktop's icon
// theme has none.
enum class EditIcon { Copy, Cut, Paste, FilmSettings };

QIcon editIcon(EditIcon kind);

} // namespace kelmor
