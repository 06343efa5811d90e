#pragma once

#include <QColor>
#include <QIcon>

namespace kelmor {

// The file-type icons shared by the main window's file lists, each with a
// 16-pixel and a 32-pixel picture for the small- and large-icon views. Picture files take
// theirs from their kind (pictureFileIcon in picture_kinds.h).
enum class FileIcon { Html, Text };

QIcon fileIcon(FileIcon kind);
// A sheet with a band of the colour, the type written on the band of the large picture.
QIcon fileIcon(const QColor& band, const char* label);

} // namespace kelmor
