#pragma once

#include "app/services.h"

#include <QWidget>

class QAction;
class QComboBox;
class QToolBar;

namespace kelmor {

class EditorTextBox;
class Preferences;
enum class ListStyle;

// Where a Build puts the page: the Html tab's editor text box and current file box.
struct PageOutput {
    EditorTextBox& editor;
    QComboBox& currentFileBox;
};

// The "Projects" tab: its tool bar, the editor tabs, the project list, the
// previews and the Button list.
class ProjectsTab : public QWidget {
    Q_OBJECT
public:
    ProjectsTab(Services& services, PageOutput output, QWidget* parent = nullptr);

    void attachPreferences(const Preferences& preferences);

    QToolBar& toolBar() { return *toolBar_; }
    QAction& newAction() { return *newAction_; }
    QAction& openAction() { return *openAction_; }
    QAction& saveAction() { return *saveAction_; }
    QAction& saveAsAction() { return *saveAsAction_; }

    // Show-time steps, run by the main window in its fixed order.
    void setProjectsFolder(const QString& folder);
    void refillProjectList();
    void updateButtonCount();
    void setProjectListStyle(ListStyle style);

signals:
    void optionsRequested();
    void soundsRequested();

private:
    Services& services_;
    PageOutput output_;
    const Preferences* preferences_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* newAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
};

} // namespace kelmor
