#include "editor/html_tab.h"

#include "base/folder_scan.h"
#include "editor/editor_text_box.h"
#include "ui/error_guard.h"
#include "ui/history.h"
#include "ui/qt_text.h"
#include "ui/tool_commands.h"

#include <QAction>
#include <QComboBox>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {
namespace {

const QString kOpenFilter =
    QStringLiteral("HTML File (*.html)|*.html|HTM File (*.htm)|*.htm|Text File (*.txt)|*.txt|"
                   "All Files (*.html;*.htm;*.txt)|*.html;*.htm;*.txt");
// The masks have no dot, so they match any name ending in those letters.
const QString kSaveAsFilter =
    QStringLiteral("HTML File (*.html)|*html|HTML File (*.htm)|*htm|Text File (*txt)|*txt");

} // namespace

HtmlTab::HtmlTab(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : TabPage(parent), services_(services), preferences_(preferences) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("HtmlToolBar"));
    setUpToolBar(*toolBar_, ToolBarSize::Small);
    layout->addWidget(toolBar_);

    auto* fileBar = new QToolBar(this);
    fileBar->setObjectName(QStringLiteral("HtmlFileBar"));
    currentFile_ = new QComboBox(fileBar);
    currentFile_->setObjectName(QStringLiteral("ComboBox2"));
    currentFile_->setEditable(true);
    currentFile_->setInsertPolicy(QComboBox::NoInsert);
    currentFile_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    fileBar->addWidget(currentFile_);
    layout->addWidget(fileBar);

    auto* splitter = new QSplitter(this);
    listPanel_ = new FileListsPanel(splitter);
    editor_ = new EditorTextBox(splitter);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({160, 440});
    layout->addWidget(splitter, 1);

    buildToolBar();
    connect(listPanel_, &FileListsPanel::fileClicked, this,
            guarded(services_.dialogs, [this](FileListsPanel::Kind kind, const QString& caption) {
                ListViewClick(kind, caption);
            }));
    connect(currentFile_, &QComboBox::activated, this,
            guarded(services_.dialogs, [this](int index) { ComboBox2Select(index); }));
}

void HtmlTab::buildToolBar() {
    QToolBar& bar = *toolBar_;
    Dialogs& dialogs = services_.dialogs;
    const auto add = [&](CommandIcon icon, const char* hint, const char* name,
                         void (HtmlTab::*handler)()) {
        addToolCommand(bar, dialogs, icon, hint, name, this, handler);
    };
    add(CommandIcon::Clear, "Clear", "HtmlClear", &HtmlTab::ClearClick);
    add(CommandIcon::Open, "Open...", "HtmlOpen", &HtmlTab::OpenClick);
    add(CommandIcon::Save, "Save", "HtmlSave", &HtmlTab::SaveClick);
    add(CommandIcon::SaveAs, "Save As...", "HtmlSaveAs", &HtmlTab::SaveAsClick);
    bar.addSeparator();
    add(CommandIcon::Undo, "Undo", "HtmlUndo", &HtmlTab::UndoClick);
    bar.addSeparator();
    add(CommandIcon::Copy, "Copy", "HtmlCopy", &HtmlTab::CopyClick);
    add(CommandIcon::Cut, "Cut", "HtmlCut", &HtmlTab::CutClick);
    add(CommandIcon::Paste, "Paste", "HtmlPaste", &HtmlTab::PasteClick);
    bar.addSeparator();
    add(CommandIcon::ViewInBrowser, "View in Browser...", "HtmlViewInBrowser",
        &HtmlTab::ViewInBrowserClick);
    bar.addSeparator();
    add(CommandIcon::HtmlEditor, "Html Editor...", "HtmlEditor", &HtmlTab::HtmlEditorClick);
    bar.addSeparator();
    add(CommandIcon::Refresh, "Refresh", "HtmlRefresh", &HtmlTab::refillLists);
    bar.addSeparator();
    add(CommandIcon::LargeView, "Large View", "HtmlLargeView", &HtmlTab::LargeViewClick);
    add(CommandIcon::SmallView, "Small View", "HtmlSmallView", &HtmlTab::SmallViewClick);
    bar.addSeparator();
    addToolCommand(bar, dialogs, CommandIcon::Options, QStringLiteral("Options..."), "HtmlOptions",
                   [this] { emit optionsRequested(); });
}

void HtmlTab::refillLists() {
    listPanel_->refill(preferences_.path(PrefPath::Html), preferences_.path(PrefPath::Text));
}

void HtmlTab::setListsStyle(ListStyle style) {
    listPanel_->setListsStyle(style);
}

QString HtmlTab::folderOf(FileListsPanel::Kind kind) const {
    return preferences_.path(kind == FileListsPanel::Kind::Html ? PrefPath::Html : PrefPath::Text);
}

void HtmlTab::showBuiltPage(const QStringList& lines, const QString& path) {
    editor_->setLines(lines);
    editor_->saveToFile(path);
    editor_->loadFromFile(path);
    currentFile_->setEditText(path);
    historyAdd(*currentFile_);
}

QString HtmlTab::currentFile() const {
    return currentFile_->currentText();
}

void HtmlTab::openInEditor(const QString& path) {
    editor_->loadFromFile(path);
    currentFile_->setEditText(path);
    historyAdd(*currentFile_);
    // The arrow keys step through the history from the entry shown.
    if (const int entry = currentFile_->findText(path, Qt::MatchExactly | Qt::MatchCaseSensitive);
        entry >= 0)
        currentFile_->setCurrentIndex(entry);
}

void HtmlTab::ClearClick() {
    editor_->clearText();
}

void HtmlTab::OpenClick() {
    if (const std::optional<QString> path = services_.dialogs.openFile(kOpenFilter, {}))
        openInEditor(*path);
}

void HtmlTab::SaveClick() {
    const QString path = currentFile_->currentText();
    if (path.isEmpty() || !services_.dialogs.confirm(QStringLiteral("Save File as ") + path))
        return;
    editor_->saveToFile(path);
    refillLists();
}

void HtmlTab::SaveAsClick() {
    if (const std::optional<QString> path =
            services_.dialogs.saveFile(kSaveAsFilter, currentFile_->currentText())) {
        editor_->saveToFile(*path);
        refillLists();
    }
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
    if (const QString target = currentFile_->currentText(); !target.isEmpty())
        services_.shell.open(target);
}

void HtmlTab::HtmlEditorClick() {
    // The current file is not passed: the editor program starts on its own.
    if (const QString program = preferences_.path(PrefPath::HtmlEditor); !program.isEmpty())
        services_.shell.start(program);
}

void HtmlTab::LargeViewClick() {
    listPanel_->setShownListStyle(ListStyle::Large);
}

void HtmlTab::SmallViewClick() {
    listPanel_->setShownListStyle(ListStyle::Small);
}

void HtmlTab::ListViewClick(FileListsPanel::Kind kind, const QString& caption) {
    openInEditor(toQt(joinPath(toLocal(folderOf(kind)), toLocal(caption))));
}

void HtmlTab::ComboBox2Select(int index) {
    // The chosen entry is in the history already.
    const QString path = currentFile_->itemText(index);
    editor_->loadFromFile(path);
    currentFile_->setEditText(path);
}

} // namespace kelmor
