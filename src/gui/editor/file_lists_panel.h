#pragma once

#include "prefs/list_style.h"

#include <QTabWidget>

class QListWidget;
class QListWidgetItem;

namespace kelmor {

// The Html tab's file-list panel: flat inner tabs "Html" and "Text", each
// with a list of the files of its folder (ListView5: "*.html", ListView6:
// "*.txt").
class FileListsPanel : public QTabWidget {
    Q_OBJECT
public:
    enum class Kind { Html, Text };

    explicit FileListsPanel(QWidget* parent = nullptr);

    QListWidget& list(Kind kind) { return kind == Kind::Html ? *htmlList_ : *textList_; }
    // Rebuilds both lists from their folders; an empty folder lists the root.
    void refill(const QString& htmlFolder, const QString& textFolder);
    void setListsStyle(ListStyle style);
    // Switches only the list of the inner tab now shown.
    void setShownListStyle(ListStyle style);

signals:
    // A click on an item of one of the lists; the caption is a file name.
    void fileClicked(FileListsPanel::Kind kind, const QString& caption);

private:
    QListWidget* addList(Kind kind, const char* objectName, const QString& caption);

    QListWidget* htmlList_ = nullptr;
    QListWidget* textList_ = nullptr;
};

} // namespace kelmor
