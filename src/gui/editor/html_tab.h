#pragma once

#include "editor/file_lists_panel.h"
#include "prefs/preference_store.h"
#include "ui/browser_tab.h"
#include "ui/history.h"
#include "ui/services.h"
#include "ui/tab_links.h"
#include "ui/unsaved_work.h"

class QComboBox;
class QLabel;
class QToolBar;

namespace kelmor {

class EditorTextBox;

// The "Html" tab: tool bars, the Html and Text file lists, the editor text box.
class HtmlTab : public BrowserTab, public BuiltPageView, public ProjectFileListener {
    Q_OBJECT
public:
    explicit HtmlTab(TabContext& context, QWidget* parent = nullptr);

    // The left panel with the Html and Text lists, shown and hidden by "&Windows".
    QWidget* togglablePart() override;
    void refillLists() override;
    void setListsStyle(ListStyle style) override;

    void showBuiltPage(const QStringList& lines, const QString& path, const QString& note) override;
    void showBuildNote(const QString& note) override;
    QUrl currentFileTarget() const override;
    // Insert Menu Markers names the project's menu; without a project file it is disabled.
    void projectFileChanged(const QString& path) override;
    // Asks about unsaved text in the editor; false when the user cancels.
    bool settleUnsavedWork() override;

    EditorTextBox& editor() { return built(editor_); }
    QComboBox& currentFileBox() { return built(currentFile_); }
    QToolBar& toolBar() { return built(toolBar_); }
    FileListsPanel& fileLists() { return built(listPanel_); }

protected:
    void buildContents() override;
    void clearView() override;
    void openFile() override;
    void saveFile() override;
    void saveFileAs() override;
    // Save As; false when its dialog was cancelled.
    bool saveTextAs();
    void setShownListsStyle(ListStyle style) override;

private:
    // Loads a file into the editor and makes it the current file; the box
    // and the editor keep their content when the file cannot be read.
    void openInEditor(const QString& path);
    QString folderOf(FileListsPanel::Kind kind) const;
    // Makes the path the current file, remembering the folder it was read or written from.
    void showCurrentFile(const QString& path);
    UnsavedWork unsavedText();

    void UndoClick();
    void CopyClick();
    void CutClick();
    void PasteClick();
    void ViewInBrowserClick();
    void HtmlEditorClick();
    void InsertMenuMarkersClick();
    void ListViewClick(FileListsPanel::Kind kind, const QString& caption);
    void ComboBox2Select(int index);

    Services& services_;
    const PreferenceStore& preferences_;
    QToolBar* toolBar_ = nullptr;
    EditorTextBox* editor_ = nullptr;
    HistoryBox* currentFile_ = nullptr;
    FileListsPanel* listPanel_ = nullptr;
    QLabel* status_ = nullptr;
    // The current file as last shown, and the current folder then: a relative name in the
    // box names a file of that folder, whatever folder a dialog moves to later.
    QString shownFile_;
    QString shownFolder_;
    // The NAME of the open project's menu markers.
    QString menuName_;
};

} // namespace kelmor
