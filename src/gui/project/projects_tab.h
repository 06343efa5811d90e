#pragma once

#include "prefs/preference_store.h"
#include "project/button_editor_tabs.h"
#include "project/page_build.h"
#include "ui/services.h"
#include "ui/tab_links.h"
#include "ui/tab_page.h"

#include <array>
#include <memory>

class QAction;
class QLabel;
class QSplitter;
class QToolBar;

namespace kelmor {

class ButtonListPanel;
class ImagePreviews;
class ProjectCommands;
class ProjectListPanel;
class RecentProjects;

// The "Projects" tab: its tool bar, the editor tabs, the project list, the
// previews, the Button list and a status line. Build puts its page where the BuiltPageView link
// shows it; a picked background picture shows in the PictureBrowser link; the project's file
// name goes to the ProjectFileListener link.
class ProjectsTab : public TabPage, public ProjectOpener, public DesignedButtons {
    Q_OBJECT
public:
    explicit ProjectsTab(TabContext& context, QWidget* parent = nullptr);
    ~ProjectsTab() override;

    // The tool bar, shown and hidden by "&ToolBar".
    QWidget* togglablePart() override;
    void refillLists() override;
    void setListsStyle(ListStyle style) override;

    QToolBar& toolBar() { return *toolBar_; }

    void openProject(const QString& path) override;
    void addDesignedButtons(const std::vector<DesignedButton>& buttons) override;
    void fillDesignedButton(const DesignedButton& button) override;
    QString pageBgColor() const override;
    void foldersChanged() override;
    // Takes the projects folder, fills the project list and counts the buttons.
    void firstShown() override;
    bool settleUnsavedWork() override;
    // Exit answers Ctrl+Q on every tab.
    QList<QAction*> windowWideCommands() override;
    // Fills File / Open Recent.
    void menuFilled(QMenu& menu) override;

private:
    std::unique_ptr<CommandSet> makeCommands();
    QSplitter* buildPanels(PictureBrowser& pictureBrowser);
    void addPopupSaveCommands();
    void showCaptionOnToolBar(QAction& command);
    void connectCommands();
    void connectUndo();
    void NewButtonClick();
    void NewClick();
    void UndoClick();
    void RedoClick();
    void listReplaced();
    void OpenClick();
    void SaveClick();
    void SaveAsClick();
    void ViewInBrowserClick();
    void UpdateSiteClick();
    void ExitClick();
    // The project file changed: Update Site... follows it, and the tabs that name its menu.
    void projectFileChanged(const QString& path);
    // The Save and Save As commands of the tool bar (which the File menu shares) and of the
    // grid's pop-up menu.
    std::array<QAction*, 4> saveCommands() const;
    PageSource pageSource(PageKind kind) const;
    // Enables every Save command.
    void enableSaveCommands();
    void addButton(ButtonTab tab);
    void StringGrid1DblClick();
    void reloadPreviews(const QString& normal, const QString& mouseOver);

    Services& services_;
    const PreferenceStore& preferences_;
    ProjectFileListener& projectFileListener_;
    QToolBar* toolBar_ = nullptr;
    // The report of the last Update Site...
    QLabel* status_ = nullptr;
    QAction* popupSaveAction_ = nullptr;
    QAction* popupSaveAsAction_ = nullptr;

    ButtonEditorTabs* editorTabs_ = nullptr;
    ProjectListPanel* projectList_ = nullptr;
    ImagePreviews* previews_ = nullptr;
    ButtonListPanel* buttonList_ = nullptr;
    RecentProjects* recent_ = nullptr;
    std::unique_ptr<ProjectCommands> commands_;
    std::unique_ptr<PageBuild> build_;
    // The button tab whose "Design..." opened the designer last.
    ButtonTab designTab_ = ButtonTab::Plain;
};

} // namespace kelmor
