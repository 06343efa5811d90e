#include "app/main_window.h"

#include "animation/anim_form.h"
#include "animation/gifs_tab.h"
#include "app/about_form.h"
#include "app/data_files.h"
#include "app/menu_mnemonics.h"
#include "editor/html_tab.h"
#include "pictures/pics_tab.h"
#include "prefs/form_prefs.h"
#include "project/projects_tab.h"
#include "sound/sound_form.h"
#include "ui/error_guard.h"
#include "ui/tool_icons.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <tuple>

namespace kelmor {

TKelButton::TKelButton(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : QMainWindow(parent), services_(services), preferences_(preferences) {
    setObjectName(QStringLiteral("KelButton"));
    setWindowTitle(QStringLiteral("Kelmor"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kelmor.png")));
    resize(618, 503);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    htmlTab_ = new HtmlTab(services_, preferences_);
    picsTab_ = new PicsTab(services_, preferences_);
    projectsTab_ = new ProjectsTab(services_, preferences_, *htmlTab_, *picsTab_);
    gifsTab_ = new GifsTab(services_, preferences_, *picsTab_);
    pages_ = {projectsTab_, picsTab_, htmlTab_, gifsTab_};

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
    for (TabPage* page : pages_)
        connect(page, &TabPage::optionsRequested, this, &TKelButton::showOptions);
    connect(projectsTab_, &ProjectsTab::soundsRequested, this, &TKelButton::showSounds);
}

TKelButton::~TKelButton() = default;

void TKelButton::attachWindows(const Windows& windows) {
    windows_.emplace(windows);
    gifsTab_->attachGifsOptions(windows.anim);
    connect(&windows.sound, &TSoundForm::optionsRequested, this, &TKelButton::showOptions);
}

void TKelButton::addViewMenu(View view, Tab tab, const char* objectName, const QString& caption) {
    ViewMenu& entry = views_[view];
    entry.tab = tab;
    entry.menu = menuBar()->addMenu(QStringLiteral("&Views"));
    entry.menu->setObjectName(QString::fromLatin1(objectName));
    entry.toggle = entry.menu->addAction(caption);
    entry.toggle->setCheckable(true);
    entry.toggle->setChecked(true);
    QWidget* part = pages_[tab]->togglablePart();
    connect(entry.toggle, &QAction::triggered, this,
            [this, view, part] { showPart(view, !part->isVisibleTo(part->parentWidget())); });
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
                [item = item, source = source] { item->setEnabled(source->isEnabled()); });
        connect(item, &QAction::triggered, source, &QAction::trigger);
    }
    fileMenu_->addSeparator();
    connect(fileMenu_->addAction(QStringLiteral("E&xit")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* project = bar->addMenu(QStringLiteral("&Project"));
    project->setObjectName(QStringLiteral("Project1"));
    connect(project->addAction(QStringLiteral("&Options...")), &QAction::triggered, this,
            &TKelButton::showOptions);

    addViewMenu(ToolBarView, ProjectsPage, "ViewsToolBar", QStringLiteral("&ToolBar"));
    addViewMenu(ImageWindowsView, PicsPage, "ViewsImageWindows", QStringLiteral("&Image Windows"));
    addViewMenu(WindowsView, HtmlPage, "ViewsWindows", QStringLiteral("&Windows"));
    openVisibleMenuOnMnemonic(*bar);

    imageMenu_ = bar->addMenu(QStringLiteral("&Image"));
    imageMenu_->setObjectName(QStringLiteral("Image1"));
    QMenu* convert = imageMenu_->addMenu(QStringLiteral("&Convert"));
    convert->setObjectName(QStringLiteral("Convert1"));
    for (auto [caption, name, direction] :
         {std::tuple{"GIF -> BMP", "GifToBmp1", ConversionDirection::GifToBmp},
          std::tuple{"BMP -> GIF", "BmpToGif1", ConversionDirection::BmpToGif}}) {
        QAction* item = convert->addAction(QString::fromLatin1(caption));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this,
                guarded(services_.dialogs,
                        [this, direction = direction] { picsTab_->convertPicture(direction); }));
    }

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

void TKelButton::applyStoredStyle(PrefLists lists, TabPage& tab) {
    if (const std::optional<ListStyle> style = preferences_.listStyle(lists))
        tab.setListsStyle(*style);
}

void TKelButton::FormShow() {
    PageControl1Change(tabs_->currentIndex());
    projectsTab_->setProjectsFolder(preferences_.path(PrefPath::Projects));
    for (TabPage* page : pages_)
        page->refillLists();
    projectsTab_->updateButtonCount();

    applyStoredStyle(PrefLists::Projects, *projectsTab_);
    if (windows_)
        if (const std::optional<ListStyle> style = preferences_.listStyle(PrefLists::Sounds))
            windows_->sound.setListStyle(*style);
    applyStoredStyle(PrefLists::Pics, *picsTab_);

    showPart(ImageWindowsView, preferences_.flag(PrefFlag::PicsPanel));
    showPart(ToolBarView, preferences_.flag(PrefFlag::ProjectsToolBar));
    showPart(WindowsView, preferences_.flag(PrefFlag::HtmlPanel));
}

void TKelButton::PageControl1Change(int index) {
    fileMenu_->menuAction()->setVisible(index == ProjectsPage);
    for (const ViewMenu& view : views_)
        view.menu->menuAction()->setVisible(index == view.tab);
    imageMenu_->menuAction()->setVisible(index == PicsPage);
    static const char* const captions[TabCount] = {" Kelmor", " Pics Viewer", " Html/Text Editor",
                                                   " Animated Gif Creator"};
    if (index >= 0 && index < TabCount)
        setWindowTitle(QString::fromLatin1(captions[index]));
}

void TKelButton::closeEvent(QCloseEvent* event) {
    gifsTab_->clearAnimation();
    QMainWindow::closeEvent(event);
}

void TKelButton::showPart(View view, bool shown) {
    const ViewMenu& entry = views_[view];
    pages_[entry.tab]->togglablePart()->setVisible(shown);
    entry.toggle->setChecked(shown);
}

void TKelButton::showHtmlFileLists(bool shown) {
    showPart(WindowsView, shown);
}

void TKelButton::showPicsImageLists(bool shown) {
    showPart(ImageWindowsView, shown);
}

void TKelButton::showProjectsToolBar(bool shown) {
    showPart(ToolBarView, shown);
}

void TKelButton::setProjectListStyle(ListStyle style) {
    projectsTab_->setListsStyle(style);
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
