#include "project/projects_tab.h"

#include "generator/page_kinds.h"
#include "imaging/picture_view.h"
#include "prefs/page_preference.h"
#include "project/button_columns.h"
#include "project/button_editor_tabs.h"
#include "project/button_list_model.h"
#include "project/button_list_panel.h"
#include "project/button_rows.h"
#include "project/image_previews.h"
#include "project/project_commands.h"
#include "project/project_list_panel.h"
#include "project/site_menu_update.h"
#include "ui/browser_tab.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"
#include "ui/recent_projects.h"
#include "ui/undo_step.h"
#include "ui/unsaved_work.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace kelmor {
namespace {

constexpr int kToolBarHeight = 40;

} // namespace

ProjectsTab::ProjectsTab(TabContext& context, QWidget* parent)
    : TabPage({"Projects", DrawnIcon::Home, " Kelmor", "ViewsToolBar", "&ToolBar"}, parent),
      services_(context.services()), preferences_(context.preferences()),
      // Asked for first, so that the tabs offering them are built before this one's controls.
      projectFileListener_(context.link<ProjectFileListener>()) {
    BuiltPageView& builtPages = context.link<BuiltPageView>();
    PictureBrowser& pictureBrowser = context.link<PictureBrowser>();
    setCommands(makeCommands());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ProjectsToolBar"));
    setUpToolBar(*toolBar_, ToolBarSize::Large);
    toolBar_->setFixedHeight(kToolBarHeight);
    commands().fillToolBar(*toolBar_);
    showCaptionOnToolBar(commands().action("UpdateSite"));
    layout->addWidget(toolBar_);
    layout->addWidget(buildPanels(pictureBrowser), 1);
    status_ = addStatusLine(*this, "ProjectsStatusBar", "ProjectsStatus");
    status_->setTextFormat(Qt::PlainText);
    addPopupSaveCommands();

    recent_ = new RecentProjects(services_.dialogs, services_.paths.configDir, this);
    commands_ = std::make_unique<ProjectCommands>(
        services_.dialogs, *buttonList_, *projectList_,
        ProjectCommands::Hooks{[this] { enableSaveCommands(); }, [this] { listReplaced(); },
                               [this](const QString& path) { recent_->add(path); },
                               [this](const QString& path) { projectFileChanged(path); }});
    connectUndo();
    commands().action("UpdateSite").setEnabled(false);
    QAction& viewInBrowser = commands().action("ToolButton22");
    viewInBrowser.setEnabled(false);
    build_ =
        std::make_unique<PageBuild>(services_.dialogs, services_.shell, builtPages, viewInBrowser,
                                    [this](PageKind kind) { return pageSource(kind); });
    connectCommands();
}

std::unique_ptr<CommandSet> ProjectsTab::makeCommands() {
    using C = Command<ProjectsTab>;
    return std::make_unique<CommandSet>(
        *this, services_.dialogs,
        std::initializer_list<C>{
            {"FileNew", "&New", "New project", CommandIcon::None, QKeySequence::New,
             &ProjectsTab::NewClick, Place::Menu},
            {"NewButton", "New &Button", "New Button", CommandIcon::NewButton, QKeySequence(),
             &ProjectsTab::NewButtonClick, Place::Both},
            C::separator(Place::Both),
            C::shared(SharedCommand::Open, "OpenProject", &ProjectsTab::OpenClick, Place::Both),
            C::subMenu("OpenRecent", "Open &Recent"),
            C::endSubMenu(),
            C::separator(Place::Menu),
            C::shared(SharedCommand::Save, "SaveProject", &ProjectsTab::SaveClick, Place::Both),
            C::shared(SharedCommand::SaveAs, "SaveProjectAs", &ProjectsTab::SaveAsClick,
                      Place::Both),
            C::separator(Place::Menu),
            {"EditUndo", "&Undo", "Undo", CommandIcon::Undo, QKeySequence::Undo,
             &ProjectsTab::UndoClick, Place::Menu},
            {"EditRedo", "&Redo", "Redo", CommandIcon::None, Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
             &ProjectsTab::RedoClick, Place::Menu},
            C::separator(Place::Both),
            C::shared(SharedCommand::Options, "Options", &ProjectsTab::requestOptions),
            C::separator(Place::ToolBar),
            {"Sounds", "So&unds...", "Play/Record Sounds...", CommandIcon::Sounds, Qt::Key_F8,
             &ProjectsTab::requestSounds, Place::ToolBar},
            C::separator(Place::ToolBar),
            {"ToolButton22", "&View in Browser...", "View in Browser...",
             CommandIcon::ViewInBrowser, Qt::Key_F12, &ProjectsTab::ViewInBrowserClick,
             Place::ToolBar},
            // Shown as its caption: a tool bar of pictures keeps one picture per command.
            {"UpdateSite", "Update S&ite...", "Update Site...", CommandIcon::None, Qt::Key_F9,
             &ProjectsTab::UpdateSiteClick, Place::ToolBar},
            // Ctrl+Q whatever the desktop's key scheme, which may have no Quit key.
            {"FileExit", "E&xit", "Exit", CommandIcon::None, Qt::CTRL | Qt::Key_Q,
             &ProjectsTab::ExitClick, Place::Menu},
        },
        MenuHeading{"&File", "File1", MenuPosition::Leading});
}

// The editor tabs over the project list on the left; the previews over the Button list on
// the right.
QSplitter* ProjectsTab::buildPanels(PictureBrowser& pictureBrowser) {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* right = new QSplitter(Qt::Vertical, splitter);
    splitter->setObjectName(QStringLiteral("ProjectsSplitter"));
    right->setObjectName(QStringLiteral("ButtonsSplitter"));
    // The previews join the right pane after the left pane's controls, so Tab
    // reaches them in reading order: the left column, then the right one.
    previews_ = new ImagePreviews(nullptr);
    editorTabs_ = new ButtonEditorTabs(services_.dialogs, *previews_, pictureBrowser, left);
    editorTabs_->setHtml5Page(loadHtml5Page(toLocal(services_.paths.configDir)));
    projectList_ = new ProjectListPanel(services_.dialogs, left);
    // The list's commands answer their keys anywhere on the tab.
    addActions(projectList_->commands().actions());
    leftLayout->addWidget(editorTabs_);
    leftLayout->addWidget(projectList_, 1);
    right->addWidget(previews_);

    buttonList_ = new ButtonListPanel(services_.dialogs, right);
    right->setStretchFactor(1, 1);
    splitter->setStretchFactor(1, 1);
    return splitter;
}

// Undo and Redo follow the Button list's stack; they are on the grid's pop-up menu too, and a
// change of the stack's clean state is a change of the title bar's mark.
void ProjectsTab::connectUndo() {
    QUndoStack& stack = buttonList_->undoStack();
    QAction& undo = commands().action("EditUndo");
    QAction& redo = commands().action("EditRedo");
    undo.setEnabled(false);
    redo.setEnabled(false);
    connect(&stack, &QUndoStack::canUndoChanged, &undo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, &redo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit windowModifiedChanged(!clean); });
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    buttonList_->addPopupAction(separator);
    buttonList_->addPopupAction(&undo);
    buttonList_->addPopupAction(&redo);
}

// Save and Save As on the grid's pop-up menu; like the tool bar's, disabled until a change.
void ProjectsTab::addPopupSaveCommands() {
    popupSaveAction_ = new QAction(QStringLiteral("&Save"), this);
    popupSaveAsAction_ = new QAction(QStringLiteral("Save &As..."), this);
    popupSaveAction_->setObjectName(QStringLiteral("PopupSave"));
    popupSaveAsAction_->setObjectName(QStringLiteral("PopupSaveAs"));
    buttonList_->addPopupAction(popupSaveAction_);
    buttonList_->addPopupAction(popupSaveAsAction_);
    for (QAction* save : saveCommands())
        save->setEnabled(false);
}

// The Button list's undo stack outlives this object's own part: it says it is clean again as
// it is destroyed with the list, and nothing here may hear that.
ProjectsTab::~ProjectsTab() {
    buttonList_->undoStack().disconnect(this);
}

std::array<QAction*, 4> ProjectsTab::saveCommands() const {
    return {&commands().action("SaveProject"), &commands().action("SaveProjectAs"),
            popupSaveAction_, popupSaveAsAction_};
}

// A command without a picture of its own shows its hint, dots and all, as its button's text.
void ProjectsTab::showCaptionOnToolBar(QAction& command) {
    command.setIconText(command.toolTip());
    if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(&command)))
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

// Undoable like the Button list's steps: Undo gives the fields back.
void ProjectsTab::NewButtonClick() {
    QStringList before = editorTabs_->fieldTexts();
    editorTabs_->clearFields();
    pushStep<QStringList>(buttonList_->undoStack(), QStringLiteral("New Button"), std::move(before),
                          editorTabs_->fieldTexts(),
                          [this](const QStringList& texts) { editorTabs_->setFieldTexts(texts); });
}

void ProjectsTab::NewClick() {
    commands_->newProject();
}

void ProjectsTab::UndoClick() {
    buttonList_->undoStack().undo();
}

void ProjectsTab::RedoClick() {
    buttonList_->undoStack().redo();
}

// A project read or begun: the Page tab shows row 1's page settings, which kelmor-cli page
// also builds from, and the fields hold nothing of the project before.
void ProjectsTab::listReplaced() {
    const StringGrid& grid = buttonList_->model().grid();
    ButtonRow cells;
    for (int column = 0; column < static_cast<int>(cells.size()); ++column)
        cells[static_cast<size_t>(column)] = toQt(grid.cell(column, 1));
    editorTabs_->recallPage(cells);
}

void ProjectsTab::OpenClick() {
    commands_->open();
}

void ProjectsTab::SaveClick() {
    commands_->save();
}

void ProjectsTab::SaveAsClick() {
    commands_->saveAs();
}

void ProjectsTab::ViewInBrowserClick() {
    build_->ToolButton22Click();
}

// The menu is read from the project file, so changes the Button list holds are settled first:
// saved, or left out on Discard.
void ProjectsTab::UpdateSiteClick() {
    if (!settleUnsavedWork())
        return;
    status_->clear();
    if (const std::optional<QStringList> report =
            updateSiteFromProject(services_.dialogs, commands_->projectFile(),
                                  editorTabs_->separator(pageKindWith({})), *this))
        status_->setText(report->join(QLatin1Char('\n')));
}

void ProjectsTab::projectFileChanged(const QString& path) {
    commands().action("UpdateSite").setEnabled(!path.isEmpty());
    projectFileListener_.projectFileChanged(path);
}

void ProjectsTab::ExitClick() {
    window()->close();
}

void ProjectsTab::connectCommands() {
    Dialogs& dialogs = services_.dialogs;
    connect(popupSaveAction_, &QAction::triggered, this, guarded(dialogs, [this] { SaveClick(); }));
    connect(popupSaveAsAction_, &QAction::triggered, this,
            guarded(dialogs, [this] { SaveAsClick(); }));

    connect(editorTabs_, &ButtonEditorTabs::addClicked, this,
            guarded(dialogs, [this](ButtonTab tab) { addButton(tab); }));
    connect(editorTabs_, &ButtonEditorTabs::buildClicked, this,
            guarded(dialogs, [this](PageKind kind) { build_->build(kind); }));
    connect(editorTabs_, &ButtonEditorTabs::html5PageToggled, this,
            guarded(dialogs, [this](bool ticked) {
                saveHtml5Page(toLocal(services_.paths.configDir), ticked);
            }));

    connect(editorTabs_, &ButtonEditorTabs::designClicked, this, [this](ButtonTab tab) {
        designTab_ = tab;
        requestButtonDesigner();
    });

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

void ProjectsTab::openProject(const QString& path) {
    commands_->openPath(path);
}

bool ProjectsTab::settleUnsavedWork() {
    return kelmor::settleUnsavedWork(services_.dialogs, commands_->unsaved());
}

QList<QAction*> ProjectsTab::windowWideCommands() {
    return {&commands().action("FileExit")};
}

void ProjectsTab::menuFilled(QMenu& menu) {
    if (auto* recentMenu = menu.findChild<QMenu*>(QStringLiteral("OpenRecent"))) {
        recent_->attach(*recentMenu);
        connect(
            recent_, &RecentProjects::chosen, this,
            guarded(services_.dialogs, [this](const QString& path) { commands_->openPath(path); }));
    }
}

// One row per button after the last row that holds anything, with its link and target frame;
// the rows carry the Page tab's settings, as every add does.
void ProjectsTab::addDesignedButtons(const std::vector<DesignedButton>& buttons) {
    ButtonListModel& model = buttonList_->model();
    const ButtonRowUpdate page = editorTabs_->plainRow();
    buttonList_->recordChange(QStringLiteral("Make Buttons"), [&] {
        int row = rowAfterLastFilled(model.grid());
        for (const DesignedButton& button : buttons) {
            if (row >= model.rowCount())
                model.insertEmptyRow(row);
            for (const ButtonCell& cell :
                 pictureCells(toLocal(button.normal), toLocal(button.mouseOver), button.width,
                              button.height))
                model.setCell(cell.column, row, toQt(cell.text));
            model.setCell(ButtonColumn::Link, row, button.link);
            model.setCell(ButtonColumn::Frame, row, button.frame);
            for (int column : {ButtonColumn::BgImage, ButtonColumn::BgColor,
                               ButtonColumn::PageTitle, ButtonColumn::TargetPage})
                model.setCell(column, row, *page[static_cast<size_t>(column)]);
            ++row;
        }
        buttonList_->updateButtonCount();
    });
    enableSaveCommands();
}

void ProjectsTab::fillDesignedButton(const DesignedButton& button) {
    editorTabs_->setPictures(designTab_, button);
    reloadPreviews(button.normal, button.mouseOver);
}

QString ProjectsTab::pageBgColor() const {
    return editorTabs_->bgColor();
}

void ProjectsTab::foldersChanged() {
    projectList_->setFolder(preferences_.path(PrefPath::Projects));
}

void ProjectsTab::firstShown() {
    foldersChanged();
    refillLists();
    buttonList_->updateButtonCount();
}

void ProjectsTab::refillLists() {
    projectList_->refill();
}

void ProjectsTab::setListsStyle(ListStyle style) {
    projectList_->setListStyle(style);
}

void ProjectsTab::enableSaveCommands() {
    for (QAction* save : saveCommands())
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
                      commands_->projectFolder(),
                      preferences_.path(PrefPath::Images)};
}

void ProjectsTab::addButton(ButtonTab tab) {
    const ButtonRowUpdate update =
        tab == ButtonTab::Sound ? editorTabs_->soundRow() : editorTabs_->plainRow();
    const int row = buttonList_->currentRow();
    buttonList_->recordChange(QStringLiteral("Add to List"), [&] {
        for (int column = 0; column < static_cast<int>(update.size()); ++column)
            if (update[static_cast<size_t>(column)])
                buttonList_->model().setCell(column, row, *update[static_cast<size_t>(column)]);
    });
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
    const WaitCursor wait;
    previews_->normal().clear();
    previews_->mouseOver().clear();
    const QString folder = preferences_.path(PrefPath::Images) + QStringLiteral("/");
    previews_->normal().loadFromFile(toLocal(folder + normal));
    previews_->mouseOver().loadFromFile(toLocal(folder + mouseOver));
}

} // namespace kelmor
