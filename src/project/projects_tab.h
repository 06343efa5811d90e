#pragma once

#include "ui/services.h"
#include "generator/page_build.h"

#include <QWidget>
#include <memory>

class QAction;
class QToolBar;

namespace kelmor {

class ButtonEditorTabs;
class ButtonListPanel;
class ImagePreviews;
class PictureView;
class Preferences;
class ProjectCommands;
class ProjectListPanel;
enum class ListStyle;

// The "Projects" tab: its tool bar, the editor tabs, the project list, the
// previews and the Button list.
class ProjectsTab : public QWidget {
    Q_OBJECT
public:
    // backgroundPreview: where a picked background picture is shown.
    ProjectsTab(Services& services, PageOutput output, PictureView& backgroundPreview,
                QWidget* parent = nullptr);
    ~ProjectsTab() override;

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
    void buildToolBar();
    QAction* addToolAction(const QIcon& icon, const QString& hint, const char* name);
    void connectCommands();
    PageSource pageSource(PageKind kind) const;
    // Enables the six Save commands: tool bar, File menu (which follows the tool bar) and the
    // grid's pop-up menu.
    void enableSaveCommands();
    void addButton(PageKind kind);
    void StringGrid1DblClick();
    void reloadPreviews(const QString& normal, const QString& mouseOver);

    Services& services_;
    const Preferences* preferences_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* newAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* optionsAction_ = nullptr;
    QAction* soundsAction_ = nullptr;
    QAction* viewInBrowserAction_ = nullptr;
    QAction* popupSaveAction_ = nullptr;
    QAction* popupSaveAsAction_ = nullptr;

    ButtonEditorTabs* editorTabs_ = nullptr;
    ProjectListPanel* projectList_ = nullptr;
    ImagePreviews* previews_ = nullptr;
    ButtonListPanel* buttonList_ = nullptr;
    std::unique_ptr<ProjectCommands> commands_;
    std::unique_ptr<PageBuild> build_;
};

} // namespace kelmor
