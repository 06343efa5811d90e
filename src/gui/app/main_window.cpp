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
#include "ui/drawn_icons.h"
#include "ui/error_guard.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

namespace kelmor {

TKelButton::TKelButton(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : QMainWindow(parent), services_(services), preferences_(preferences) {
    setObjectName(QStringLiteral("KelButton"));
    setWindowTitle(QStringLiteral("Kelmor"));
    resize(618, 503);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    htmlTab_ = new HtmlTab(services_, preferences_);
    picsTab_ = new PicsTab(services_, preferences_);
    projectsTab_ = new ProjectsTab(services_, preferences_, *htmlTab_, *picsTab_);
    gifsTab_ = new GifsTab(services_, preferences_, *picsTab_);
    // The tabs in their order on the tab control: a new tab is created above and listed here;
    // its tab, menus and view toggle follow from what it declares.
    pages_ = {projectsTab_, picsTab_, htmlTab_, gifsTab_};

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->setTabPosition(QTabWidget::South);
    for (TabPage* page : pages_)
        tabs_->addTab(page, drawnIcon(page->heading().icon),
                      QString::fromLatin1(page->heading().caption));
    tabs_->tabBar()->setFixedHeight(25);
    setCentralWidget(tabs_);

    buildMenus();
    connect(tabs_, &QTabWidget::currentChanged, this, &TKelButton::PageControl1Change);
    for (TabPage* page : pages_)
        connect(page, &TabPage::optionsRequested, this, &TKelButton::showOptions);
    connect(projectsTab_, &ProjectsTab::soundsRequested, this, &TKelButton::showSounds);
}

TKelButton::~TKelButton() = default;

void TKelButton::attachWindows(Windows& windows) {
    windows_ = &windows;
    gifsTab_->attachGifsOptions(windows.anim());
}

void TKelButton::attachSound(TSoundForm& sound) {
    connect(&sound, &TSoundForm::optionsRequested, this, &TKelButton::showOptions);
}

// A tab's own menu goes before the shared menus or, after every "&Views" menu,
// before the closing menus, as its table says; its "&Views" menu follows those of
// the tabs before it. viewsEnd: where the "&Views" menus end.
void TKelButton::addTabMenus(TabPage& page, TabMenus& menus, QAction* sharedMenus,
                             QAction* closingMenus, QAction*& viewsEnd) {
    QMenuBar* bar = menuBar();
    if (const std::optional<MenuHeading>& heading = page.commands().menu()) {
        menus.menu = new QMenu(QString::fromLatin1(heading->title), bar);
        menus.menu->setObjectName(QString::fromLatin1(heading->objectName));
        page.commands().fillMenu(*menus.menu);
        const bool leading = heading->position == MenuPosition::Leading;
        bar->insertMenu(leading ? sharedMenus : closingMenus, menus.menu);
        if (!leading && viewsEnd == closingMenus)
            viewsEnd = menus.menu->menuAction();
    }
    const TabHeading& tab = page.heading();
    if (tab.viewItem == nullptr)
        return;
    menus.views = new QMenu(QStringLiteral("&Views"), bar);
    menus.views->setObjectName(QString::fromLatin1(tab.viewMenuName));
    bar->insertMenu(viewsEnd, menus.views);
    menus.viewToggle = menus.views->addAction(QString::fromLatin1(tab.viewItem));
    menus.viewToggle->setCheckable(true);
    menus.viewToggle->setChecked(true);
    connect(menus.viewToggle, &QAction::triggered, this,
            [this, &page] { showPart(page, !page.togglablePartShown()); });
}

void TKelButton::buildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* project = bar->addMenu(QStringLiteral("&Project"));
    project->setObjectName(QStringLiteral("Project1"));
    connect(project->addAction(QStringLiteral("&Options...")), &QAction::triggered, this,
            &TKelButton::showOptions);

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

    tabMenus_.resize(pages_.size());
    QAction* viewsEnd = tools->menuAction();
    for (std::size_t i = 0; i < pages_.size(); ++i)
        addTabMenus(*pages_[i], tabMenus_[i], project->menuAction(), tools->menuAction(), viewsEnd);
    openVisibleMenuOnMnemonic(*bar);
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
        tab.setListsStyleWhenBuilt(*style);
}

void TKelButton::FormShow() {
    PageControl1Change(tabs_->currentIndex());
    projectsTab_->setProjectsFolder(preferences_.path(PrefPath::Projects));
    for (TabPage* page : pages_)
        page->refillWhenBuilt();
    projectsTab_->updateButtonCount();

    applyStoredStyle(PrefLists::Projects, *projectsTab_);
    // An unbuilt sound window takes the style when it is first shown.
    if (TSoundForm* sound = windows_ != nullptr ? windows_->builtSound() : nullptr)
        if (const std::optional<ListStyle> style = preferences_.listStyle(PrefLists::Sounds))
            sound->setListStyle(*style);
    applyStoredStyle(PrefLists::Pics, *picsTab_);

    showPart(*picsTab_, preferences_.flag(PrefFlag::PicsPanel));
    showPart(*projectsTab_, preferences_.flag(PrefFlag::ProjectsToolBar));
    showPart(*htmlTab_, preferences_.flag(PrefFlag::HtmlPanel));
}

void TKelButton::PageControl1Change(int index) {
    for (std::size_t i = 0; i < pages_.size(); ++i)
        for (QMenu* menu : {tabMenus_[i].menu, tabMenus_[i].views})
            if (menu != nullptr)
                menu->menuAction()->setVisible(static_cast<int>(i) == index);
    if (index >= 0 && index < static_cast<int>(pages_.size()))
        setWindowTitle(
            QString::fromLatin1(pages_[static_cast<std::size_t>(index)]->heading().windowTitle));
}

void TKelButton::closeEvent(QCloseEvent* event) {
    gifsTab_->clearAnimation();
    QMainWindow::closeEvent(event);
}

void TKelButton::showPart(TabPage& page, bool shown) {
    page.showTogglablePart(shown);
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i] == &page && tabMenus_[i].viewToggle != nullptr)
            tabMenus_[i].viewToggle->setChecked(shown);
}

void TKelButton::showHtmlFileLists(bool shown) {
    showPart(*htmlTab_, shown);
}

void TKelButton::showPicsImageLists(bool shown) {
    showPart(*picsTab_, shown);
}

void TKelButton::showProjectsToolBar(bool shown) {
    showPart(*projectsTab_, shown);
}

void TKelButton::setProjectListStyle(ListStyle style) {
    projectsTab_->setListsStyleWhenBuilt(style);
}

void TKelButton::setPictureListsStyle(ListStyle style) {
    picsTab_->setListsStyleWhenBuilt(style);
}

void TKelButton::setHtmlListsStyle(ListStyle style) {
    htmlTab_->setListsStyleWhenBuilt(style);
}

void TKelButton::setProjectsFolder(const QString& folder) {
    projectsTab_->setProjectsFolder(folder);
}

void TKelButton::showOptions() {
    if (windows_ != nullptr)
        services_.dialogs.runModal(windows_->prefs());
}

void TKelButton::showSounds() {
    if (windows_ == nullptr)
        return;
    windows_->sound().show();
    windows_->sound().raise();
}

void TKelButton::showHelpContents() {
    services_.help.show(helpFile(services_.paths));
}

void TKelButton::showAbout() {
    if (windows_ != nullptr)
        services_.dialogs.runModal(windows_->about());
}

} // namespace kelmor
