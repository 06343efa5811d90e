#pragma once

#include "ui/services.h"
#include "editor/file_lists_panel.h"

#include <QWidget>

class QAction;
class QComboBox;
class QToolBar;

namespace kelmor {

class EditorTextBox;
class Preferences;
enum class ListStyle;

// The "Html" tab: tool bars, the Html and Text file lists, the editor text box.
class HtmlTab : public QWidget {
    Q_OBJECT
public:
    explicit HtmlTab(Services& services, QWidget* parent = nullptr);

    void attachPreferences(const Preferences& preferences);

    EditorTextBox& editor() { return *editor_; }
    QComboBox& currentFileBox() { return *currentFile_; }
    // The left panel with the Html and Text lists, shown and hidden by "&Windows".
    QWidget& listPanel() { return *listPanel_; }
    void refillLists();
    void setListsStyle(ListStyle style);

    QToolBar& toolBar() { return *toolBar_; }
    FileListsPanel& fileLists() { return *listPanel_; }

signals:
    void optionsRequested();

private:
    QAction* addCommand(const char* objectName, const QString& hint, const QIcon& icon,
                        void (HtmlTab::*handler)());
    void buildToolBar();

    // Loads a file into the editor and makes it the current file; the box
    // and the editor keep their content when the file cannot be read.
    void openInEditor(const QString& path);
    QString folderOf(FileListsPanel::Kind kind) const;

    void ClearClick();
    void OpenClick();
    void SaveClick();
    void SaveAsClick();
    void UndoClick();
    void CopyClick();
    void CutClick();
    void PasteClick();
    void ViewInBrowserClick();
    void HtmlEditorClick();
    void LargeViewClick();
    void SmallViewClick();
    void OptionsClick();
    void ListViewClick(FileListsPanel::Kind kind, const QString& caption);
    void ComboBox2Select(int index);

    Services& services_;
    const Preferences* preferences_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    EditorTextBox* editor_ = nullptr;
    QComboBox* currentFile_ = nullptr;
    FileListsPanel* listPanel_ = nullptr;
};

} // namespace kelmor
