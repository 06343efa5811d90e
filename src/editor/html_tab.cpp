#include "editor/html_tab.h"

#include "app/error_guard.h"
#include "app/history.h"
#include "app/qt_text.h"
#include "app/tool_icons.h"
#include "base/folder_scan.h"
#include "editor/edit_icons.h"
#include "editor/editor_text_box.h"
#include "prefs/preferences.h"

#include <QAction>
#include <QComboBox>
#include <QSplitter>
#include <QStyle>
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

HtmlTab::HtmlTab(Services& services, QWidget* parent) : QWidget(parent), services_(services) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("HtmlToolBar"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
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
            [this](FileListsPanel::Kind kind, const QString& caption) {
                runGuarded(services_.dialogs, [&] { ListViewClick(kind, caption); });
            });
    connect(currentFile_, &QComboBox::activated, this,
            [this](int index) { runGuarded(services_.dialogs, [&] { ComboBox2Select(index); }); });
}

QAction* HtmlTab::addCommand(const char* objectName, const QString& hint, const QIcon& icon,
                             void (HtmlTab::*handler)()) {
    QAction* action = toolBar_->addAction(icon, hint);
    action->setObjectName(QString::fromLatin1(objectName));
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this,
            guarded(services_.dialogs, [this, handler] { (this->*handler)(); }));
    return action;
}

void HtmlTab::buildToolBar() {
    const auto icon = [](const char* themeName, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QString::fromLatin1(themeName), toolIcon(fallback));
    };
    const auto themed = [](const char* themeName, EditIcon fallback) {
        return QIcon::fromTheme(QString::fromLatin1(themeName), editIcon(fallback));
    };
    addCommand("HtmlClear", QStringLiteral("Clear"),
               icon("edit-clear", QStyle::SP_DialogResetButton), &HtmlTab::ClearClick);
    addCommand("HtmlOpen", QStringLiteral("Open..."),
               icon("document-open", QStyle::SP_DialogOpenButton), &HtmlTab::OpenClick);
    addCommand("HtmlSave", QStringLiteral("Save"),
               icon("document-save", QStyle::SP_DialogSaveButton), &HtmlTab::SaveClick);
    addCommand("HtmlSaveAs", QStringLiteral("Save As..."),
               icon("document-save-as", QStyle::SP_DriveFDIcon), &HtmlTab::SaveAsClick);
    toolBar_->addSeparator();
    addCommand("HtmlUndo", QStringLiteral("Undo"), icon("edit-undo", QStyle::SP_ArrowBack),
               &HtmlTab::UndoClick);
    toolBar_->addSeparator();
    addCommand("HtmlCopy", QStringLiteral("Copy"), themed("edit-copy", EditIcon::Copy),
               &HtmlTab::CopyClick);
    addCommand("HtmlCut", QStringLiteral("Cut"), themed("edit-cut", EditIcon::Cut),
               &HtmlTab::CutClick);
    addCommand("HtmlPaste", QStringLiteral("Paste"), themed("edit-paste", EditIcon::Paste),
               &HtmlTab::PasteClick);
    toolBar_->addSeparator();
    addCommand("HtmlViewInBrowser", QStringLiteral("View in Browser..."),
               icon("internet-web-browser", QStyle::SP_ComputerIcon), &HtmlTab::ViewInBrowserClick);
    toolBar_->addSeparator();
    addCommand("HtmlEditor", QStringLiteral("Html Editor..."),
               icon("accessories-text-editor", QStyle::SP_FileDialogDetailedView),
               &HtmlTab::HtmlEditorClick);
    toolBar_->addSeparator();
    addCommand("HtmlRefresh", QStringLiteral("Refresh"),
               icon("view-refresh", QStyle::SP_BrowserReload), &HtmlTab::refillLists);
    toolBar_->addSeparator();
    addCommand("HtmlLargeView", QStringLiteral("Large View"),
               icon("view-list-icons", QStyle::SP_FileDialogContentsView),
               &HtmlTab::LargeViewClick);
    addCommand("HtmlSmallView", QStringLiteral("Small View"),
               icon("view-list-details", QStyle::SP_FileDialogListView), &HtmlTab::SmallViewClick);
    toolBar_->addSeparator();
    addCommand("HtmlOptions", QStringLiteral("Options..."),
               icon("preferences-system", QStyle::SP_FileDialogInfoView), &HtmlTab::OptionsClick);
}

void HtmlTab::attachPreferences(const Preferences& preferences) {
    preferences_ = &preferences;
}

void HtmlTab::refillLists() {
    if (preferences_)
        listPanel_->refill(preferences_->htmlFolder(), preferences_->textFolder());
}

void HtmlTab::setListsStyle(ListStyle style) {
    listPanel_->setListsStyle(style);
}

QString HtmlTab::folderOf(FileListsPanel::Kind kind) const {
    if (!preferences_)
        return {};
    return kind == FileListsPanel::Kind::Html ? preferences_->htmlFolder()
                                              : preferences_->textFolder();
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
    if (!preferences_)
        return;
    if (const QString program = preferences_->htmlEditor(); !program.isEmpty())
        services_.shell.start(program);
}

void HtmlTab::LargeViewClick() {
    listPanel_->setShownListStyle(ListStyle::Large);
}

void HtmlTab::SmallViewClick() {
    listPanel_->setShownListStyle(ListStyle::Small);
}

void HtmlTab::OptionsClick() {
    emit optionsRequested();
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
