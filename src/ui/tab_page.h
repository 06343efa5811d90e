#pragma once

#include "ui/list_style.h"

#include <QWidget>

namespace kelmor {

// One tab of the main window. The main window runs the steps every tab shares
// through this interface; each tab keeps its own tool bar, lists and handlers.
class TabPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Rebuilds the tab's file lists from their folders.
    virtual void refillLists() {}
    // Switches the tab's file lists between large and small icons.
    virtual void setListsStyle(ListStyle) {}
    // The part of the tab that its "&Views" menu shows and hides; nullptr when none.
    virtual QWidget* togglablePart() { return nullptr; }

signals:
    // The tab's "Options..." command: the main window shows the Options dialog.
    void optionsRequested();
};

} // namespace kelmor
