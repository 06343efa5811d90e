#pragma once

#include "prefs/preference_store.h"
#include "project/page_build.h"
#include "ui/services.h"
#include "ui/tab_links.h"
#include "ui/tab_page.h"

#include <array>
#include <memory>

class QAction;
class QToolBar;

namespace kelmor {

class ButtonEditorTabs;
class ButtonListPanel;
class ImagePreviews;
class ProjectCommands;
class ProjectListPanel;

// The "Projects" tab: its tool bar, the editor tabs, the project list, the
// previews and the Button list.
class ProjectsTab : public TabPage {
    Q_OBJECT
public:
    // builtPages: where Build puts a page; pictureBrowser: where a picked background
    // picture is shown.
    ProjectsTab(Services& services, const PreferenceStore& preferences, BuiltPageView& builtPages,
                PictureBrowser& pictureBrowser, QWidget* parent = nullptr);
    ~ProjectsTab() override;

    // The tool bar, shown and hidden by "&ToolBar".
    QWidget* togglablePart() override;
    void refillLists() override;
    void setListsStyle(ListStyle style) override;

    QToolBar& toolBar() { return *toolBar_; }

    // Opens a project file as "&Open..." does once its dialog is confirmed.
    void openProject(const QString& path);

    // Show-time steps, run by the main window in its fixed order.
    void setProjectsFolder(const QString& folder);
    void updateButtonCount();

signals:
    void soundsRequested();

private:
    void connectCommands();
    void NewButtonClick();
    void OpenClick();
    void SaveClick();
    void SaveAsClick();
    void SoundsClick();
    void ViewInBrowserClick();
    void ExitClick();
    // The Save and Save As commands of the tool bar (which the File menu shares) and of the
    // grid's pop-up menu.
    std::array<QAction*, 4> saveCommands() const;
    PageSource pageSource(PageKind kind) const;
    // Enables every Save command.
    void enableSaveCommands();
    void addButton(PageKind kind);
    void StringGrid1DblClick();
    void reloadPreviews(const QString& normal, const QString& mouseOver);

    Services& services_;
    const PreferenceStore& preferences_;
    QToolBar* toolBar_ = nullptr;
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
