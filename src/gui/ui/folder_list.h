#pragma once

#include "prefs/list_style.h"

#include <QIcon>
#include <QListWidget>
#include <QString>
#include <span>

namespace kelmor {

// Fills a file list: stops redrawing, empties it, one item per entry of folder matching pattern,
// captioned with the entry's name (cut at the first occurrence of `cutAt` when it is not empty,
// e.g. ".kxq"), with `icon`; sorted by caption with QCollator (locale-aware); redraws once.
void fillFileList(QListWidget& list, const QString& folder, const QString& pattern,
                  const QIcon& icon, const QString& cutAt = {});

// One kind of entry a list shows: the wildcard its names match and the icon its items carry.
struct FilePattern {
    QString pattern;
    QIcon icon;
};
// The same over several patterns: the entries matching any of them, each with the icon of the
// first pattern it matches, sorted together.
void fillFileList(QListWidget& list, const QString& folder, std::span<const FilePattern> patterns,
                  const QString& cutAt = {});
// Large: icon mode, 32-pixel icons, arranged from the left. Small: list mode, 16-pixel icons.
// Thumbnails: icon mode, 128-pixel icons in rows that wrap, the caption under each.
void applyListStyle(QListWidget& list, ListStyle style);

} // namespace kelmor
