#pragma once

#include <QIcon>

namespace kelmor {

// The file-type icons shared by the main window's file lists, each with a
// 16-pixel and a 32-pixel picture for the small- and large-icon views.
enum class FileIcon { Gif = 0, Bmp = 1, Jpg = 2, Html = 3, Text = 4, Png = 5, WebP = 6, Svg = 7 };

QIcon fileIcon(FileIcon kind);

} // namespace kelmor
