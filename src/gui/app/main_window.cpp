#include "app/main_window.h"

#include "app/about_form.h"
#include "app/data_files.h"
#include "app/menu_mnemonics.h"
#include "designer/button_designer.h"
#include "prefs/form_prefs.h"
#include "prefs/page_preference.h"
#include "sound/sound_form.h"
#include "ui/drawn_icons.h"
#include "ui/error_guard.h"
#include "ui/file_drop.h"
#include "ui/qt_text.h"
#include "ui/tab_links.h"
#include "ui/window_layout.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

namespace kelmor {

TKelButton::TKelButton(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : QMainWindow(parent), TabContext(services, preferences), entries_(mainWindowTabs()),
      pages_(entries_.size()), building_(entries_.size()) {
    setObjectName(QStringLiteral("KelButton"));
    setWindowTitle(QStringLiteral("Kelmor"));
    resize(618, 503);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    layout_ = std::make_unique<WindowLayout>(services.paths.configDir);
    layout_->restoreFrame(*this);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->setTabPosition(QTabWidget::South);
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        TabPage* page = tab(index);
        tabs_->addTab(page, drawnIcon(page->heading().icon),
                      QString::fromLatin1(page->heading().caption));
    }
    tabs_->tabBar()->setFixedHeight(25);
    setCentralWidget(tabs_);

    buildMenus();
    connect(tabs_, &QTabWidget::currentChanged, this, &TKelButton::PageControl1Change);
    for (TabPage* page : pages_) {
        connect(page, &TabPage::optionsRequested, this, &TKelButton::showOptions);
        connect(page, &TabPage::soundsRequested, this, &TKelButton::showSounds);
        connect(page, &TabPage::buttonDesignerRequested, this,
                [this] { showButtonDesigner(true); });
        connect(page, &TabPage::windowModifiedChanged, this, &QWidget::setWindowModified);
        for (QAction* command : page->windowWideCommands()) {
            addAction(command);
            command->setShortcutContext(Qt::WindowShortcut);
        }
    }
    // A project file dropped anywhere on the window opens as File / Open opens it.
    acceptFileDropsAnywhere(
        *this,
        [](const QString& file) {
            return file.endsWith(QLatin1String(".kxq"), Qt::CaseInsensitive);
        },
        [this](const QStringList& files) {
            runGuarded(this->services().dialogs, [&] {
                const QFileInfo project(files.first());
                QDir::setCurrent(project.absolutePath());
                link<ProjectOpener>().openProject(project.absoluteFilePath());
            });
        });
}

TKelButton::~TKelButton() = default;

// A tab asked for while another one is built (for a link) is built at once.
TabPage* TKelButton::tab(std::size_t index) {
    if (pages_[index] == nullptr && !building_[index]) {
        building_[index] = true;
        pages_[index] = entries_[index].make(*this).release();
    }
    return pages_[index];
}

void TKelButton::attachWindows(Windows& windows) {
    windows_ = &windows;
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
        page.menuFilled(*menus.menu);
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
            [this, &page] { showTabPart(page, !page.togglablePartShown()); });
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
    connect(tools->addAction(QStringLiteral("&Button Designer...")), &QAction::triggered, this,
            [this] { showButtonDesigner(false); });

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
        runGuarded(services().dialogs, [this] { FormShow(); });
    }
}

void TKelButton::FormShow() {
    PageControl1Change(tabs_->currentIndex());
    for (TabPage* page : pages_)
        page->firstShown();
    focusFirstField();

    for (std::size_t index = 0; index < entries_.size(); ++index)
        if (const std::optional<PrefLists> lists = entries_[index].lists();
            lists && entries_[index].style == StyleOnFirstShow::Again)
            if (const std::optional<ListStyle> style = startStyle(*lists))
                pages_[index]->setListsStyleWhenBuilt(*style);
    // An unbuilt sound window takes the style when it is first shown.
    if (TSoundForm* sound = windows_ != nullptr ? windows_->builtSound() : nullptr)
        if (const std::optional<ListStyle> style = preferences().listStyle(PrefLists::Sounds))
            sound->setListStyle(*style);

    for (std::size_t index = 0; index < entries_.size(); ++index)
        if (const std::optional<PrefFlag> part = entries_[index].part())
            showTabPart(*pages_[index], preferences().flag(*part));
}

// The first control of the shown tab takes the keyboard focus, so its keys and the window's
// answer from the first key pressed.
void TKelButton::focusFirstField() {
    QWidget* page = tabs_->currentWidget();
    if (page == nullptr)
        return;
    for (QWidget* next = page->nextInFocusChain(); next != page; next = next->nextInFocusChain())
        if (page->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) != 0 &&
            next->isVisibleTo(page) && next->isEnabled()) {
            next->setFocus(Qt::ActiveWindowFocusReason);
            return;
        }
}

// The pair's checked button, or else Thumbnail View when the lists offer it and it was chosen.
std::optional<ListStyle> TKelButton::startStyle(PrefLists lists) const {
    if (const std::optional<ListStyle> style = preferences().listStyle(lists))
        return style;
    if (const std::optional<PrefChoice> thumbnails = thumbnailChoice(lists))
        if (loadThumbnailView(toLocal(services().paths.configDir), *thumbnails, lists))
            return ListStyle::Thumbnails;
    return std::nullopt;
}

void TKelButton::PageControl1Change(int index) {
    for (std::size_t i = 0; i < pages_.size(); ++i)
        for (QMenu* menu : {tabMenus_[i].menu, tabMenus_[i].views})
            if (menu != nullptr)
                menu->menuAction()->setVisible(static_cast<int>(i) == index);
    if (index < 0 || index >= static_cast<int>(pages_.size()))
        return;
    TabPage& page = *pages_[static_cast<std::size_t>(index)];
    // "[*]" is where the title bar marks a project with unsaved changes.
    setWindowTitle(QString::fromLatin1(page.heading().windowTitle) + QStringLiteral("[*]"));
    if (shownOnce_)
        layout_->restoreSplitters(page);
}

// Every tab settles its unsaved changes first; a Cancel keeps the window open.
void TKelButton::closeEvent(QCloseEvent* event) {
    bool settled = false;
    runGuarded(services().dialogs, [&] {
        settled = std::all_of(pages_.begin(), pages_.end(),
                              [](TabPage* page) { return page->settleUnsavedWork(); });
    });
    if (!settled) {
        event->ignore();
        return;
    }
    runGuarded(services().dialogs, [this] { layout_->save(*this); });
    for (TabPage* page : pages_)
        page->mainWindowClosing();
    QMainWindow::closeEvent(event);
}

void TKelButton::showTabPart(TabPage& page, bool shown) {
    page.showTogglablePart(shown);
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i] == &page && tabMenus_[i].viewToggle != nullptr)
            tabMenus_[i].viewToggle->setChecked(shown);
}

void TKelButton::showPart(PrefFlag flag, bool shown) {
    for (std::size_t index = 0; index < entries_.size(); ++index)
        if (entries_[index].part() == flag)
            showTabPart(*pages_[index], shown);
}

void TKelButton::setListStyle(PrefLists lists, ListStyle style) {
    for (std::size_t index = 0; index < entries_.size(); ++index)
        if (entries_[index].lists() == lists)
            pages_[index]->setListsStyleWhenBuilt(style);
}

void TKelButton::foldersChanged() {
    for (TabPage* page : pages_)
        page->foldersChanged();
}

void TKelButton::showOptions() {
    if (windows_ != nullptr) {
        windows_->prefs().showThumbnailViews();
        services().dialogs.runModal(windows_->prefs());
    }
}

void TKelButton::showSounds() {
    if (windows_ == nullptr)
        return;
    windows_->sound().show();
    windows_->sound().raise();
}

void TKelButton::showButtonDesigner(bool oneButton) {
    if (windows_ == nullptr)
        return;
    TButtonDesigner& designer = windows_->designer();
    designer.setOneButton(oneButton);
    services().dialogs.runModal(designer);
}

void TKelButton::showHelpContents() {
    services().help.show(helpFile(services().paths));
}

void TKelButton::showAbout() {
    if (windows_ != nullptr)
        services().dialogs.runModal(windows_->about());
}

} // namespace kelmor
