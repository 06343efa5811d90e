#include "project/projects_tab.h"

#include "imaging/picture_view.h"
#include "prefs/page_preference.h"
#include "project/button_columns.h"
#include "project/button_editor_tabs.h"
#include "project/button_list_model.h"
#include "project/button_list_panel.h"
#include "project/image_previews.h"
#include "project/project_commands.h"
#include "project/project_list_panel.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"
#include "ui/tool_commands.h"

#include <QAction>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {
namespace {

constexpr int kToolBarHeight = 40;

} // namespace

ProjectsTab::ProjectsTab(Services& services, const PreferenceStore& preferences,
                         BuiltPageView& builtPages, PictureBrowser& pictureBrowser, QWidget* parent)
    : TabPage(parent), services_(services), preferences_(preferences) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ProjectsToolBar"));
    buildToolBar();
    layout->addWidget(toolBar_);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* right = new QSplitter(Qt::Vertical, splitter);
    previews_ = new ImagePreviews(right);
    editorTabs_ = new ButtonEditorTabs(services_.dialogs, *previews_, pictureBrowser, left);
    editorTabs_->setHtml5Page(loadHtml5Page(toLocal(services_.paths.configDir)));
    projectList_ = new ProjectListPanel(services_.dialogs, left);
    leftLayout->addWidget(editorTabs_);
    leftLayout->addWidget(projectList_, 1);

    buttonList_ = new ButtonListPanel(services_.dialogs, right);
    right->setStretchFactor(1, 1);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    popupSaveAction_ = new QAction(QStringLiteral("&Save"), this);
    popupSaveAsAction_ = new QAction(QStringLiteral("Save &As..."), this);
    popupSaveAction_->setObjectName(QStringLiteral("PopupSave"));
    popupSaveAsAction_->setObjectName(QStringLiteral("PopupSaveAs"));
    buttonList_->addPopupAction(popupSaveAction_);
    buttonList_->addPopupAction(popupSaveAsAction_);
    for (QAction* save : {saveAction_, saveAsAction_, popupSaveAction_, popupSaveAsAction_})
        save->setEnabled(false);

    commands_ = std::make_unique<ProjectCommands>(services_.dialogs, *buttonList_, *projectList_,
                                                  [this] { enableSaveCommands(); });
    build_ = std::make_unique<PageBuild>(services_.shell, builtPages, *viewInBrowserAction_,
                                         [this](PageKind kind) { return pageSource(kind); });
    connectCommands();
}

ProjectsTab::~ProjectsTab() = default;

void ProjectsTab::buildToolBar() {
    QToolBar& bar = *toolBar_;
    Dialogs& dialogs = services_.dialogs;
    setUpToolBar(bar, ToolBarSize::Large);
    bar.setFixedHeight(kToolBarHeight);
    newAction_ = addToolCommand(bar, dialogs, CommandIcon::NewButton, QStringLiteral("New Button"),
                                "NewButton", [this] { editorTabs_->clearFields(); });
    bar.addSeparator();
    openAction_ = addToolCommand(bar, dialogs, CommandIcon::Open, QStringLiteral("Open..."),
                                 "OpenProject", [this] { commands_->open(); });
    saveAction_ = addToolCommand(bar, dialogs, CommandIcon::Save, QStringLiteral("Save"),
                                 "SaveProject", [this] { commands_->save(); });
    saveAsAction_ = addToolCommand(bar, dialogs, CommandIcon::SaveAs, QStringLiteral("Save As..."),
                                   "SaveProjectAs", [this] { commands_->saveAs(); });
    bar.addSeparator();
    addToolCommand(bar, dialogs, CommandIcon::Options, QStringLiteral("Options..."), "Options",
                   [this] { emit optionsRequested(); });
    bar.addSeparator();
    addToolCommand(bar, dialogs, CommandIcon::Sounds, QStringLiteral("Play/Record Sounds..."),
                   "Sounds", [this] { emit soundsRequested(); });
    bar.addSeparator();
    viewInBrowserAction_ = addToolCommand(bar, dialogs, CommandIcon::ViewInBrowser,
                                          QStringLiteral("View in Browser..."), "ToolButton22",
                                          [this] { build_->ToolButton22Click(); });
    viewInBrowserAction_->setEnabled(false);
}

void ProjectsTab::connectCommands() {
    Dialogs& dialogs = services_.dialogs;
    connect(popupSaveAction_, &QAction::triggered, this,
            guarded(dialogs, [this] { commands_->save(); }));
    connect(popupSaveAsAction_, &QAction::triggered, this,
            guarded(dialogs, [this] { commands_->saveAs(); }));

    connect(editorTabs_, &ButtonEditorTabs::addPlainClicked, this,
            guarded(dialogs, [this] { addButton(PageKind::Plain); }));
    connect(editorTabs_, &ButtonEditorTabs::addSoundClicked, this,
            guarded(dialogs, [this] { addButton(PageKind::Sound); }));
    connect(editorTabs_, &ButtonEditorTabs::buildPlainClicked, this,
            guarded(dialogs, [this] { build_->SpeedButton12Click(); }));
    connect(editorTabs_, &ButtonEditorTabs::buildSoundClicked, this,
            guarded(dialogs, [this] { build_->SpeedButton13Click(); }));
    connect(editorTabs_, &ButtonEditorTabs::html5PageToggled, this,
            guarded(dialogs, [this](bool ticked) {
                saveHtml5Page(toLocal(services_.paths.configDir), ticked);
            }));

    connect(buttonList_, &ButtonListPanel::recallRequested, this,
            guarded(dialogs, [this] { StringGrid1DblClick(); }));
    connect(buttonList_, &ButtonListPanel::currentCellChanged, this,
            guarded(dialogs, [this] { enableSaveCommands(); }));
    connect(projectList_, &ProjectListPanel::projectChosen, this,
            guarded(dialogs, [this](const QString& path, const QString& fileName) {
                commands_->choose(path, fileName);
            }));
}

QWidget* ProjectsTab::togglablePart() {
    return toolBar_;
}

void ProjectsTab::setProjectsFolder(const QString& folder) {
    projectList_->setFolder(folder);
}

void ProjectsTab::refillLists() {
    projectList_->refill();
}

void ProjectsTab::updateButtonCount() {
    buttonList_->updateButtonCount();
}

void ProjectsTab::setListsStyle(ListStyle style) {
    projectList_->setListStyle(style);
}

void ProjectsTab::enableSaveCommands() {
    for (QAction* save : {saveAction_, saveAsAction_, popupSaveAction_, popupSaveAsAction_})
        save->setEnabled(true);
}

PageSource ProjectsTab::pageSource(PageKind kind) const {
    return PageSource{buttonList_->model().grid(),
                      buttonList_->countText(),
                      editorTabs_->pageTitle(),
                      editorTabs_->bgColor(),
                      editorTabs_->bgImage(),
                      editorTabs_->separator(kind),
                      editorTabs_->targetPage(),
                      editorTabs_->html5Page() ? PageFormat::Html5 : PageFormat::Legacy};
}

void ProjectsTab::addButton(PageKind kind) {
    const ButtonRowUpdate update =
        kind == PageKind::Sound ? editorTabs_->soundRow() : editorTabs_->plainRow();
    const int row = buttonList_->currentRow();
    for (int column = 0; column < static_cast<int>(update.size()); ++column)
        if (update[static_cast<size_t>(column)])
            buttonList_->model().setCell(column, row, *update[static_cast<size_t>(column)]);
    buttonList_->updateButtonCount();
    enableSaveCommands();
}

void ProjectsTab::StringGrid1DblClick() {
    const StringGrid& grid = buttonList_->model().grid();
    const int row = buttonList_->currentRow();
    ButtonRow cells;
    for (int column = 0; column < static_cast<int>(cells.size()); ++column)
        cells[static_cast<size_t>(column)] = toQt(grid.cell(column, row));
    editorTabs_->recall(cells);
    reloadPreviews(cells[ButtonColumn::Normal], cells[ButtonColumn::MouseOver]);
}

// The cells hold bare file names, looked up in the images folder; if the normal
// picture fails, the mouse-over picture is not loaded.
void ProjectsTab::reloadPreviews(const QString& normal, const QString& mouseOver) {
    previews_->normal().clear();
    previews_->mouseOver().clear();
    const QString folder = preferences_.path(PrefPath::Images) + QStringLiteral("/");
    previews_->normal().loadFromFile(toLocal(folder + normal));
    previews_->mouseOver().loadFromFile(toLocal(folder + mouseOver));
}

} // namespace kelmor
