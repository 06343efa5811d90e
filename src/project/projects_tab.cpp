#include "project/projects_tab.h"

#include "app/error_guard.h"
#include "app/qt_text.h"
#include "app/tool_icons.h"
#include "imaging/picture_view.h"
#include "prefs/preferences.h"
#include "project/button_columns.h"
#include "project/button_editor_tabs.h"
#include "project/button_list_model.h"
#include "project/button_list_panel.h"
#include "project/image_previews.h"
#include "project/project_commands.h"
#include "project/project_list_panel.h"

#include <QAction>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelmor {
namespace {

constexpr int kToolBarHeight = 40;

} // namespace

ProjectsTab::ProjectsTab(Services& services, PageOutput output, PictureView& backgroundPreview,
                         QWidget* parent)
    : QWidget(parent), services_(services) {
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
    editorTabs_ = new ButtonEditorTabs(services_.dialogs, *previews_, backgroundPreview, left);
    projectList_ = new ProjectListPanel(services_.dialogs, left);
    leftLayout->addWidget(editorTabs_);
    leftLayout->addWidget(projectList_, 1);

    buttonList_ = new ButtonListPanel(right);
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
    build_ = std::make_unique<PageBuild>(services_.shell, output, *viewInBrowserAction_,
                                         [this](PageKind kind) { return pageSource(kind); });
    connectCommands();
}

ProjectsTab::~ProjectsTab() = default;

QAction* ProjectsTab::addToolAction(const QIcon& icon, const QString& hint, const char* name) {
    QAction* action = toolBar_->addAction(icon, hint);
    action->setToolTip(hint);
    action->setObjectName(QString::fromLatin1(name));
    toolBar_->widgetForAction(action)->setObjectName(QString::fromLatin1(name));
    return action;
}

void ProjectsTab::buildToolBar() {
    toolBar_->setFixedHeight(kToolBarHeight);
    toolBar_->setIconSize(QSize(32, 32));
    newAction_ =
        addToolAction(toolIcon(QStyle::SP_FileIcon), QStringLiteral("New Button"), "NewButton");
    toolBar_->addSeparator();
    openAction_ = addToolAction(toolIcon(QStyle::SP_DialogOpenButton), QStringLiteral("Open..."),
                                "OpenProject");
    saveAction_ =
        addToolAction(toolIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save"), "SaveProject");
    saveAsAction_ = addToolAction(toolIcon(QStyle::SP_DriveFDIcon), QStringLiteral("Save As..."),
                                  "SaveProjectAs");
    toolBar_->addSeparator();
    optionsAction_ = addToolAction(toolIcon(QStyle::SP_FileDialogDetailedView),
                                   QStringLiteral("Options..."), "Options");
    toolBar_->addSeparator();
    soundsAction_ = addToolAction(toolIcon(QStyle::SP_MediaVolume),
                                  QStringLiteral("Play/Record Sounds..."), "Sounds");
    toolBar_->addSeparator();
    viewInBrowserAction_ = addToolAction(toolIcon(QStyle::SP_ComputerIcon),
                                         QStringLiteral("View in Browser..."), "ToolButton22");
    viewInBrowserAction_->setEnabled(false);
}

void ProjectsTab::connectCommands() {
    Dialogs& dialogs = services_.dialogs;
    connect(optionsAction_, &QAction::triggered, this, &ProjectsTab::optionsRequested);
    connect(soundsAction_, &QAction::triggered, this, &ProjectsTab::soundsRequested);
    connect(newAction_, &QAction::triggered, this,
            guarded(dialogs, [this] { editorTabs_->clearFields(); }));
    connect(openAction_, &QAction::triggered, this,
            guarded(dialogs, [this] { commands_->open(); }));
    for (QAction* save : {saveAction_, popupSaveAction_})
        connect(save, &QAction::triggered, this, guarded(dialogs, [this] { commands_->save(); }));
    for (QAction* saveAs : {saveAsAction_, popupSaveAsAction_})
        connect(saveAs, &QAction::triggered, this,
                guarded(dialogs, [this] { commands_->saveAs(); }));
    connect(viewInBrowserAction_, &QAction::triggered, this,
            guarded(dialogs, [this] { build_->ToolButton22Click(); }));

    connect(editorTabs_, &ButtonEditorTabs::addPlainClicked, this,
            guarded(dialogs, [this] { addButton(PageKind::Plain); }));
    connect(editorTabs_, &ButtonEditorTabs::addSoundClicked, this,
            guarded(dialogs, [this] { addButton(PageKind::Sound); }));
    connect(editorTabs_, &ButtonEditorTabs::buildPlainClicked, this,
            guarded(dialogs, [this] { build_->SpeedButton12Click(); }));
    connect(editorTabs_, &ButtonEditorTabs::buildSoundClicked, this,
            guarded(dialogs, [this] { build_->SpeedButton13Click(); }));

    connect(buttonList_, &ButtonListPanel::recallRequested, this,
            guarded(dialogs, [this] { StringGrid1DblClick(); }));
    connect(buttonList_, &ButtonListPanel::currentCellChanged, this,
            guarded(dialogs, [this] { enableSaveCommands(); }));
    connect(projectList_, &ProjectListPanel::projectChosen, this,
            [this, &dialogs](const QString& path, const QString& fileName) {
                runGuarded(dialogs, [&] { commands_->choose(path, fileName); });
            });
}

void ProjectsTab::attachPreferences(const Preferences& preferences) {
    preferences_ = &preferences;
}

void ProjectsTab::setProjectsFolder(const QString& folder) {
    projectList_->setFolder(folder);
}

void ProjectsTab::refillProjectList() {
    projectList_->refill();
}

void ProjectsTab::updateButtonCount() {
    buttonList_->updateButtonCount();
}

void ProjectsTab::setProjectListStyle(ListStyle style) {
    projectList_->setListStyle(style);
}

void ProjectsTab::enableSaveCommands() {
    for (QAction* save : {saveAction_, saveAsAction_, popupSaveAction_, popupSaveAsAction_})
        save->setEnabled(true);
}

PageSource ProjectsTab::pageSource(PageKind kind) const {
    return PageSource{buttonList_->model().grid(), buttonList_->countText(),
                      editorTabs_->pageTitle(),    editorTabs_->bgColor(),
                      editorTabs_->bgImage(),      editorTabs_->separator(kind),
                      editorTabs_->targetPage()};
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
    const QString folder =
        (preferences_ ? preferences_->imagesFolder() : QString()) + QStringLiteral("/");
    previews_->normal().loadFromFile(toLocal(folder + normal));
    previews_->mouseOver().loadFromFile(toLocal(folder + mouseOver));
}

} // namespace kelmor
