#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QMimeData;
class QWidget;

namespace kelmor {

// The local files a drag from the file manager carries (text/uri-list), in their order; none
// for any other drag.
QStringList droppedFiles(const QMimeData& data);

// Whether the name ends in the extension of a picture the program reads.
bool isPictureFile(const QString& path);

// Lets `target` take files dropped from the file manager: a drag is taken when `accepts` takes
// its first file, and `dropped` gets all of its files. Such drags no longer reach the target's
// own drop handling, so a line edit never inserts a file:// address as text; other drags do.
void acceptFileDrops(QWidget& target, std::function<bool(const QString&)> accepts,
                     std::function<void(const QStringList&)> dropped);

// The same for every widget of `window`, also those that take drops of their own: for the
// files a whole window takes, wherever they are dropped.
void acceptFileDropsAnywhere(QWidget& window, std::function<bool(const QString&)> accepts,
                             std::function<void(const QStringList&)> dropped);

} // namespace kelmor
