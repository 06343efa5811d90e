#include "app/main_window.h"

#include "animation/anim_form.h"
#include "animation/gifs_tab.h"
#include "app/about_form.h"
#include "app/data_files.h"
#include "ui/error_guard.h"
#include "ui/tool_icons.h"
#include "editor/html_tab.h"
#include "pictures/pics_tab.h"
#include "prefs/form_prefs.h"
#include "project/projects_tab.h"
#include "sound/sound_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

namespace kelmor {
namespace {

enum Tab { ProjectsPage, PicsPage, HtmlPage, GifsPage };

} // namespace

TKelButton::TKelButton(Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("KelButton"));
    setWindowTitle(QStringLiteral("Kelmor"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kelmor.png")));
    resize(618, 503);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    htmlTab_ = new HtmlTab(services_);
    picsTab_ = new PicsTab(services_);
    projectsTab_ =
        new ProjectsTab(services_, PageOutput{htmlTab_->editor(), htmlTab_->currentFileBox()},
                        picsTab_->previewImage());
    gifsTab_ = new GifsTab(services_);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->addTab(projectsTab_, toolIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Projects"));
    tabs_->addTab(picsTab_, toolIcon(QStyle::SP_DesktopIcon), QStringLiteral("Pics"));
    tabs_->addTab(htmlTab_, toolIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Html"));
    tabs_->addTab(gifsTab_, toolIcon(QStyle::SP_MediaPlay), QStringLiteral("Gifs"));
    tabs_->tabBar()->setFixedHeight(25);
    setCentralWidget(tabs_);

    buildMenus();
    connect(tabs_, &QTabWidget::currentChanged, this, &TKelButton::PageControl1Change);
    connect(projectsTab_, &ProjectsTab::optionsRequested, this, &TKelButton::showOptions);
    connect(picsTab_, &PicsTab::optionsRequested, this, &TKelButton::showOptions);
    connect(htmlTab_, &HtmlTab::optionsRequested, this, &TKelButton::showOptions);
    connect(gifsTab_, &GifsTab::optionsRequested, this, &TKelButton::showOptions);
    connect(projectsTab_, &ProjectsTab::soundsRequested, this, &TKelButton::showSounds);
}

TKelButton::~TKelButton() = default;

void TKelButton::attachWindows(const Windows& windows) {
    windows_.emplace(windows);
    const Preferences& preferences = windows.prefs;
    projectsTab_->attachPreferences(preferences);
    picsTab_->attachPreferences(preferences);
    htmlTab_->attachPreferences(preferences);
    gifsTab_->attachPreferences(preferences);
}

QAction* TKelButton::addToggle(QMenu* menu, const QString& caption, QWidget& part) {
    QAction* toggle = menu->addAction(caption);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::triggered, this, [&part, toggle] {
        part.setVisible(!part.isVisibleTo(part.parentWidget()));
        toggle->setChecked(part.isVisibleTo(part.parentWidget()));
    });
    return toggle;
}

void TKelButton::buildMenus() {
    QMenuBar* bar = menuBar();
    fileMenu_ = bar->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("File1"));
    QAction* fileNew = fileMenu_->addAction(QStringLiteral("&New"));
    connect(fileNew, &QAction::triggered, &projectsTab_->newAction(), &QAction::trigger);
    fileMenu_->addSeparator();
    QAction* fileOpen = fileMenu_->addAction(QStringLiteral("&Open..."));
    connect(fileOpen, &QAction::triggered, &projectsTab_->openAction(), &QAction::trigger);
    fileMenu_->addSeparator();
    QAction* fileSave = fileMenu_->addAction(QStringLiteral("&Save"));
    QAction* fileSaveAs = fileMenu_->addAction(QStringLiteral("Save &As..."));
    // The menu items follow the tab's Save commands, which are enabled together.
    for (auto [item, source] : {std::pair{fileSave, &projectsTab_->saveAction()},
                                std::pair{fileSaveAs, &projectsTab_->saveAsAction()}}) {
        item->setEnabled(source->isEnabled());
        connect(source, &QAction::changed, item,
                [item, source] { item->setEnabled(source->isEnabled()); });
        connect(item, &QAction::triggered, source, &QAction::trigger);
    }
    fileMenu_->addSeparator();
    connect(fileMenu_->addAction(QStringLiteral("E&xit")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* project = bar->addMenu(QStringLiteral("&Project"));
    project->setObjectName(QStringLiteral("Project1"));
    connect(project->addAction(QStringLiteral("&Options...")), &QAction::triggered, this,
            &TKelButton::showOptions);

    toolBarViewsMenu_ = bar->addMenu(QStringLiteral("&Views"));
    toolBarViewsMenu_->setObjectName(QStringLiteral("ViewsToolBar"));
    toolBarToggle_ =
        addToggle(toolBarViewsMenu_, QStringLiteral("&ToolBar"), projectsTab_->toolBar());
    imageViewsMenu_ = bar->addMenu(QStringLiteral("&Views"));
    imageViewsMenu_->setObjectName(QStringLiteral("ViewsImageWindows"));
    imageWindowsToggle_ =
        addToggle(imageViewsMenu_, QStringLiteral("&Image Windows"), picsTab_->listPanel());
    windowsViewsMenu_ = bar->addMenu(QStringLiteral("&Views"));
    windowsViewsMenu_->setObjectName(QStringLiteral("ViewsWindows"));
    windowsToggle_ =
        addToggle(windowsViewsMenu_, QStringLiteral("&Windows"), htmlTab_->listPanel());

    imageMenu_ = bar->addMenu(QStringLiteral("&Image"));
    imageMenu_->setObjectName(QStringLiteral("Image1"));
    QMenu* convert = imageMenu_->addMenu(QStringLiteral("&Convert"));
    convert->addAction(QStringLiteral("GIF -> BMP"));
    convert->addAction(QStringLiteral("BMP -> GIF"));

    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    connect(tools->addAction(QStringLiteral("&Sounds...")), &QAction::triggered, this,
            &TKelButton::showSounds);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    connect(help->addAction(QStringLiteral("&Contents...")), &QAction::triggered, this,
            &TKelButton::showHelpContents);
    help->addSeparator();
    connect(help->addAction(QStringLiteral("&About...")), &QAction::triggered, this,
            &TKelButton::showAbout);
}

void TKelButton::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        runGuarded(services_.dialogs, [this] { FormShow(); });
    }
}

void TKelButton::FormShow() {
    PageControl1Change(tabs_->currentIndex());
    if (!windows_)
        return;
    const Preferences& preferences = windows_->prefs;
    projectsTab_->setProjectsFolder(preferences.projectsFolder());

    projectsTab_->refillProjectList();
    picsTab_->refillLists();
    htmlTab_->refillLists();
    gifsTab_->refillLists();

    projectsTab_->updateButtonCount();

    if (auto style = preferences.projectsStyle())
        projectsTab_->setProjectListStyle(*style);
    if (auto style = preferences.soundsStyle())
        windows_->sound.setListStyle(*style);
    if (auto style = preferences.picsStyle())
        picsTab_->setListsStyle(*style);

    showPicsImageLists(preferences.picsPanelShown());
    showProjectsToolBar(preferences.projectsToolBarShown());
    showHtmlFileLists(preferences.htmlPanelShown());
}

void TKelButton::PageControl1Change(int index) {
    fileMenu_->menuAction()->setVisible(index == ProjectsPage);
    toolBarViewsMenu_->menuAction()->setVisible(index == ProjectsPage);
    imageViewsMenu_->menuAction()->setVisible(index == PicsPage);
    windowsViewsMenu_->menuAction()->setVisible(index == HtmlPage);
    imageMenu_->menuAction()->setVisible(index == PicsPage);
    static const char* const captions[] = {" Kelmor", " Pics Viewer", " Html/Text Editor",
                                           " Animated Gif Creator"};
    if (index >= 0 && index < 4)
        setWindowTitle(QString::fromLatin1(captions[index]));
}

void TKelButton::closeEvent(QCloseEvent* event) {
    gifsTab_->clearAnimation();
    QMainWindow::closeEvent(event);
}

void TKelButton::showHtmlFileLists(bool shown) {
    htmlTab_->listPanel().setVisible(shown);
    windowsToggle_->setChecked(shown);
}

void TKelButton::showPicsImageLists(bool shown) {
    picsTab_->listPanel().setVisible(shown);
    imageWindowsToggle_->setChecked(shown);
}

void TKelButton::showProjectsToolBar(bool shown) {
    projectsTab_->toolBar().setVisible(shown);
    toolBarToggle_->setChecked(shown);
}

void TKelButton::setProjectListStyle(ListStyle style) {
    projectsTab_->setProjectListStyle(style);
}

void TKelButton::setPictureListsStyle(ListStyle style) {
    picsTab_->setListsStyle(style);
}

void TKelButton::setHtmlListsStyle(ListStyle style) {
    htmlTab_->setListsStyle(style);
}

void TKelButton::setProjectsFolder(const QString& folder) {
    projectsTab_->setProjectsFolder(folder);
}

void TKelButton::showOptions() {
    if (windows_)
        services_.dialogs.runModal(windows_->prefs);
}

void TKelButton::showSounds() {
    if (!windows_)
        return;
    windows_->sound.show();
    windows_->sound.raise();
}

void TKelButton::showHelpContents() {
    services_.help.show(helpFile(services_.paths));
}

void TKelButton::showAbout() {
    if (windows_)
        services_.dialogs.runModal(windows_->about);
}

} // namespace kelmor
