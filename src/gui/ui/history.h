#pragma once

#include <QComboBox>

class QAction;

namespace kelmor {

// Appends the box's text to its own list unless an entry equal to it, ignoring
// letter case, is already there. The lists live for the run only.
void historyAdd(QComboBox& box);

// An editable box that names the current file and keeps the files named
// before as its history. Its "History Add" action (the actComboN of each
// window) adds the text shown; typing never adds an entry by itself.
class HistoryBox : public QComboBox {
    Q_OBJECT
public:
    // actionName: the object name of the history action.
    HistoryBox(const char* objectName, const QString& accessibleName, const char* actionName,
               QWidget* parent);

    // Shows the path, adds it to the history and selects its entry, so the
    // arrow keys step through the history from there.
    void showPath(const QString& path);

private:
    QAction* historyAdd_ = nullptr;
};

} // namespace kelmor
