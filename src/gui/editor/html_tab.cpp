#include "editor/html_tab.h"

#include "base/folder_scan.h"
#include "editor/editor_text_box.h"
#include "site/menu_markers.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"
#include "ui/save_confirm.h"
#include "ui/shell_target.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTextCursor>

namespace kelmor {
namespace {

const QString kOpenFilter =
    QStringLiteral("HTML File (*.html)|*.html|HTM File (*.htm)|*.htm|Text File (*.txt)|*.txt|"
                   "All Files (*.html;*.htm;*.txt)|*.html;*.htm;*.txt");
// The masks have no dot, so they match any name ending in those letters.
const QString kSaveAsFilter =
    QStringLiteral("HTML File (*.html)|*html|HTML File (*.htm)|*htm|Text File (*txt)|*txt");

} // namespace

HtmlTab::HtmlTab(TabContext& context, QWidget* parent)
    : BrowserTab({"Html", DrawnIcon::HtmlSheet, " Html/Text Editor", "ViewsWindows", "&Windows"},
                 parent, ContentsBuilt::OnFirstUse),
      services_(context.services()), preferences_(context.preferences()) {
    using C = Command<HtmlTab>;
    // Undo, Copy, Cut and Paste keep the standard keys, which the editor and
    // the boxes answer themselves while they have the focus.
    setBrowserCommands<HtmlTab>(
        services_.dialogs, "Html",
        {
            {"HtmlUndo", "&Undo", "Undo", CommandIcon::Undo, QKeySequence::Undo,
             &HtmlTab::UndoClick, Place::ToolBar},
            C::separator(Place::ToolBar),
            {"HtmlCopy", "&Copy", "Copy", CommandIcon::Copy, QKeySequence::Copy,
             &HtmlTab::CopyClick, Place::ToolBar},
            {"HtmlCut", "Cu&t", "Cut", CommandIcon::Cut, QKeySequence::Cut, &HtmlTab::CutClick,
             Place::ToolBar},
            {"HtmlPaste", "&Paste", "Paste", CommandIcon::Paste, QKeySequence::Paste,
             &HtmlTab::PasteClick, Place::ToolBar},
            C::separator(Place::ToolBar),
            {"HtmlViewInBrowser", "&View in Browser...", "View in Browser...",
             CommandIcon::ViewInBrowser, Qt::Key_F12, &HtmlTab::ViewInBrowserClick, Place::ToolBar},
            C::separator(Place::ToolBar),
            {"HtmlEditor", "&Html Editor...", "Html Editor...", CommandIcon::HtmlEditor,
             Qt::CTRL | Qt::Key_E, &HtmlTab::HtmlEditorClick, Place::ToolBar},
            C::separator(Place::ToolBar),
            // On the editor's pop-up menu too.
            {"HtmlMenuMarkers", "Insert &Menu Markers", "Insert Menu Markers", CommandIcon::None,
             Qt::CTRL | Qt::Key_M, &HtmlTab::InsertMenuMarkersClick, Place::KeyOnly},
        });
    commands().action("HtmlMenuMarkers").setEnabled(false);
}

void HtmlTab::buildContents() {
    currentFile_ = new HistoryBox("ComboBox2", QStringLiteral("Current file"), "", this);
    toolBar_ = layOutBrowserTab(*this, commands(), "HtmlToolBar", *currentFile_, "HtmlFileBar",
                                [this](QSplitter& splitter) {
                                    listPanel_ = new FileListsPanel(&splitter);
                                    editor_ = new EditorTextBox(&splitter);
                                });
    editor_->popupMenu().addSeparator();
    editor_->popupMenu().addAction(&commands().action("HtmlMenuMarkers"));

    // The status line tells what the last Build left out of its page.
    status_ = addStatusLine(*this, "HtmlStatusBar", "HtmlStatus");
    status_->setTextFormat(Qt::PlainText);

    connect(listPanel_, &FileListsPanel::fileClicked, this,
            guarded(services_.dialogs, [this](FileListsPanel::Kind kind, const QString& caption) {
                ListViewClick(kind, caption);
            }));
    connect(currentFile_, &QComboBox::activated, this,
            guarded(services_.dialogs, [this](int index) { ComboBox2Select(index); }));
}

QWidget* HtmlTab::togglablePart() {
    ensureBuilt();
    return listPanel_;
}

void HtmlTab::refillLists() {
    ensureBuilt();
    listPanel_->refill(preferences_.path(PrefPath::Html), preferences_.path(PrefPath::Text));
}

void HtmlTab::setListsStyle(ListStyle style) {
    ensureBuilt();
    listPanel_->setListsStyle(style);
}

QString HtmlTab::folderOf(FileListsPanel::Kind kind) const {
    return preferences_.path(kind == FileListsPanel::Kind::Html ? PrefPath::Html : PrefPath::Text);
}

void HtmlTab::showBuiltPage(const QStringList& lines, const QString& path, const QString& note) {
    ensureBuilt();
    editor_->setLines(lines);
    status_->setText(note);
    editor_->saveToFile(path);
    editor_->loadFromFile(path);
    showCurrentFile(path);
}

void HtmlTab::showBuildNote(const QString& note) {
    ensureBuilt();
    status_->setText(note);
}

void HtmlTab::showCurrentFile(const QString& path) {
    currentFile_->showPath(path);
    shownFile_ = path;
    shownFolder_ = QDir::currentPath();
}

QUrl HtmlTab::currentFileTarget() const {
    const QString text = currentFile_ != nullptr ? currentFile_->currentText() : QString();
    if (text.isEmpty())
        return {};
    return shellTarget(text, text == shownFile_ ? shownFolder_ : QDir::currentPath());
}

UnsavedWork HtmlTab::unsavedText() {
    const QString path = currentFile_ != nullptr ? currentFile_->currentText() : QString();
    return {editor_ != nullptr && editor_->document()->isModified(),
            path.isEmpty() ? QStringLiteral("the editor text") : QFileInfo(path).fileName(),
            [this, path] {
                if (path.isEmpty())
                    return saveTextAs();
                editor_->saveToFile(path);
                refillLists();
                return true;
            }};
}

bool HtmlTab::settleUnsavedWork() {
    return kelmor::settleUnsavedWork(services_.dialogs, unsavedText());
}

void HtmlTab::openInEditor(const QString& path) {
    if (!kelmor::settleUnsavedWork(services_.dialogs, unsavedText()))
        return;
    editor_->loadFromFile(path);
    showCurrentFile(path);
}

void HtmlTab::clearView() {
    editor_->clearText();
}

void HtmlTab::openFile() {
    if (const std::optional<QString> path = services_.dialogs.openFile(kOpenFilter, {}))
        openInEditor(*path);
}

void HtmlTab::saveFile() {
    const QString path = currentFile_->currentText();
    if (!confirmSaveAs(services_.dialogs, path))
        return;
    editor_->saveToFile(path);
    refillLists();
}

void HtmlTab::saveFileAs() {
    saveTextAs();
}

bool HtmlTab::saveTextAs() {
    const std::optional<QString> path =
        services_.dialogs.saveFile(kSaveAsFilter, currentFile_->currentText());
    if (!path)
        return false;
    editor_->saveToFile(*path);
    refillLists();
    return true;
}

void HtmlTab::UndoClick() {
    editor_->undoLastEdit();
}

void HtmlTab::CopyClick() {
    editor_->copy();
}

void HtmlTab::CutClick() {
    editor_->cut();
}

void HtmlTab::PasteClick() {
    editor_->paste();
}

void HtmlTab::ViewInBrowserClick() {
    // The file on disk is opened, so unsaved edits are not seen.
    if (const QUrl target = currentFileTarget(); !target.isEmpty())
        openInShell(services_.shell, target);
}

void HtmlTab::HtmlEditorClick() {
    // The current file is not passed: the editor program starts on its own.
    if (const QString program = preferences_.path(PrefPath::HtmlEditor); !program.isEmpty())
        services_.shell.start(program);
}

void HtmlTab::projectFileChanged(const QString& path) {
    menuName_ = path.isEmpty() ? QString() : toQt(menuNameOf(toLocal(path)));
    commands().action("HtmlMenuMarkers").setEnabled(!path.isEmpty());
}

// One edit, which Undo takes back whole. The editor keeps a line end as a paragraph break and
// saves every one as the file's CR LF.
void HtmlTab::InsertMenuMarkersClick() {
    const std::string markers =
        menuBeginMarker(toLocal(menuName_)) + "\n" + std::string(kMenuEndMarker) + "\n";
    QTextCursor cursor = editor_->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(toQt(markers));
    cursor.endEditBlock();
    editor_->setTextCursor(cursor);
}

void HtmlTab::setShownListsStyle(ListStyle style) {
    listPanel_->setShownListStyle(style);
}

void HtmlTab::ListViewClick(FileListsPanel::Kind kind, const QString& caption) {
    openInEditor(toQt(joinPath(toLocal(folderOf(kind)), toLocal(caption))));
}

void HtmlTab::ComboBox2Select(int index) {
    // The chosen entry is in the history already.
    const QString path = currentFile_->itemText(index);
    if (!kelmor::settleUnsavedWork(services_.dialogs, unsavedText())) {
        currentFile_->setEditText(shownFile_);
        return;
    }
    editor_->loadFromFile(path);
    currentFile_->setEditText(path);
    shownFile_ = path;
    shownFolder_ = QDir::currentPath();
}

} // namespace kelmor
