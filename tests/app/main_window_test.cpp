#include "animation/anim_form.h"
#include "animation/gifs_tab.h"
#include "app/about_form.h"
#include "app_fixture.h"
#include "base/product.h"
#include "editor/html_tab.h"
#include "pictures/pics_tab.h"
#include "project/projects_tab.h"
#include "sound/sound_form.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace kelmor::test {
namespace {

class MainWindowTest : public AppFixture {
protected:
    QMenu* menu(const char* name) const { return find<QMenu>(name); }
    bool menuShown(const char* name) const { return menu(name)->menuAction()->isVisible(); }
    QAction* item(const char* menuName, const QString& caption) const {
        for (QAction* action : menu(menuName)->actions())
            if (action->text() == caption)
                return action;
        ADD_FAILURE() << "no item " << caption.toStdString();
        return nullptr;
    }
    void showTab(int index) { find<QTabWidget>("PageControl1")->setCurrentIndex(index); }
};

// The window is painted once when it first appears: its layouts settle before the first paint.
TEST_F(MainWindowTest, IsPaintedOnceWhenItFirstAppears) {
    struct PaintCount : QObject {
        QWidget* watched = nullptr;
        int paints = 0;
        bool eventFilter(QObject* object, QEvent* event) override {
            paints += object == watched && event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } count;
    app = std::make_unique<KelmorApp>(*services);
    count.watched = find<QTabWidget>("PageControl1");
    QCoreApplication::instance()->installEventFilter(&count);
    app->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app->mainWindow()));
    QTest::qWait(100);
    QCoreApplication::instance()->removeEventFilter(&count);
    EXPECT_EQ(count.paints, 1);
}

TEST_F(MainWindowTest, MenuBarHoldsTheMenusInOrder) {
    start();
    QStringList titles;
    for (QAction* action : app->mainWindow().menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Project"),
                                   QStringLiteral("&Views"), QStringLiteral("&Views"),
                                   QStringLiteral("&Views"), QStringLiteral("&Image"),
                                   QStringLiteral("&Tools"), QStringLiteral("&Help")}));
    QStringList fileItems;
    for (QAction* action : menu("File1")->actions())
        fileItems << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(
        fileItems,
        (QStringList{QStringLiteral("&New"), QStringLiteral("New &Button"), QStringLiteral("-"),
                     QStringLiteral("&Open..."), QStringLiteral("Open &Recent"),
                     QStringLiteral("-"), QStringLiteral("&Save"), QStringLiteral("Save &As..."),
                     QStringLiteral("-"), QStringLiteral("&Undo"), QStringLiteral("&Redo"),
                     QStringLiteral("-"), QStringLiteral("E&xit")}));
    EXPECT_FALSE(item("File1", QStringLiteral("&Save"))->isEnabled());
    EXPECT_FALSE(item("File1", QStringLiteral("Save &As..."))->isEnabled());
}

TEST_F(MainWindowTest, TabsSitAtTheBottomWithIcons) {
    start();
    auto* tabs = find<QTabWidget>("PageControl1");
    ASSERT_EQ(tabs->count(), 4);
    const QStringList captions{QStringLiteral("Projects"), QStringLiteral("Pics"),
                               QStringLiteral("Html"), QStringLiteral("Gifs")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabText(i), captions[i]);
        EXPECT_FALSE(tabs->tabIcon(i).isNull());
    }
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::South);
    EXPECT_EQ(tabs->currentIndex(), 0);
}

struct TabMenus {
    int tab;
    bool file, toolBarViews, imageViews, windowsViews, image;
    const char* caption;
};

class TabShownTest : public MainWindowTest, public ::testing::WithParamInterface<TabMenus> {};

TEST_P(TabShownTest, SetsMenusAndCaption) {
    const TabMenus& expected = GetParam();
    start();
    showTab(3 - expected.tab); // come from another tab so the change runs
    showTab(expected.tab);
    EXPECT_EQ(menuShown("File1"), expected.file);
    EXPECT_EQ(menuShown("ViewsToolBar"), expected.toolBarViews);
    EXPECT_EQ(menuShown("ViewsImageWindows"), expected.imageViews);
    EXPECT_EQ(menuShown("ViewsWindows"), expected.windowsViews);
    EXPECT_EQ(menuShown("Image1"), expected.image);
    EXPECT_TRUE(menuShown("Project1") && menuShown("Tools1") && menuShown("Help1"));
    EXPECT_EQ(app->mainWindow().windowTitle(),
              QString::fromLatin1(expected.caption) + QStringLiteral("[*]"));
}

INSTANTIATE_TEST_SUITE_P(
    EachTab, TabShownTest,
    ::testing::Values(TabMenus{0, true, true, false, false, false, " Kelmor"},
                      TabMenus{1, false, false, true, false, true, " Pics Viewer"},
                      TabMenus{2, false, false, false, true, false, " Html/Text Editor"},
                      TabMenus{3, false, false, false, false, false, " Animated Gif Creator"}),
    [](const ::testing::TestParamInfo<TabMenus>& tested) {
        return "Tab" + std::to_string(tested.param.tab);
    });

TEST_F(MainWindowTest, FirstShowReadsProjectsCaptionAndShowsEveryPanel) {
    start();
    // "[*]" marks unsaved changes, of which there are none yet.
    EXPECT_EQ(app->mainWindow().windowTitle(), QStringLiteral(" Kelmor[*]"));
    EXPECT_FALSE(app->mainWindow().isWindowModified());
    EXPECT_TRUE(tab<ProjectsTab>().toolBar().isVisibleTo(&app->mainWindow()));
    EXPECT_TRUE(item("ViewsToolBar", QStringLiteral("&ToolBar"))->isChecked());
    EXPECT_TRUE(item("ViewsImageWindows", QStringLiteral("&Image Windows"))->isChecked());
    EXPECT_TRUE(item("ViewsWindows", QStringLiteral("&Windows"))->isChecked());
}

// A tab not yet opened holds none of its controls, nor is the sound window built.
// What start-up does to a tab takes effect when it is first shown: its lists filled
// from their folders in the stored style, its panel and view toggle as stored; a
// view toggle used before then is what the tab shows.
TEST_F(MainWindowTest, HiddenTabsGetTheStartUpSettingsWhenFirstShown) {
    writeFile(QStringLiteral("gifs/a.gif"), "GIF89a");
    writeFile(QStringLiteral("gifs/b.gif"), "GIF89a");
    QFile preferences(configDir() + QStringLiteral("/KelmorPref.ini"));
    ASSERT_TRUE(preferences.open(QIODevice::WriteOnly));
    preferences.write(
        "[PREFERENCES]\r\nGif=" + (workDir() + QStringLiteral("/gifs")).toLocal8Bit() +
        "\r\nImage=0\r\nLarge Icons2=0\r\nSmalll Icons2=1\r\n");
    preferences.close();
    start();
    TKelButton& window = app->mainWindow();
    EXPECT_EQ(app->builtSound(), nullptr);
    for (TabPage* page : window.tabPages())
        EXPECT_EQ(page->findChildren<QToolBar*>().isEmpty(), page != &tab<ProjectsTab>());
    auto* imageWindows = window.findChild<QMenu*>(QStringLiteral("ViewsImageWindows"));
    auto* htmlWindows = window.findChild<QMenu*>(QStringLiteral("ViewsWindows"));
    EXPECT_FALSE(imageWindows->actions().at(0)->isChecked());
    htmlWindows->actions().at(0)->trigger();

    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    tabs->setCurrentIndex(1);
    auto* gifs = tab<PicsTab>().findChild<QListWidget*>(QStringLiteral("ListView2"));
    ASSERT_NE(gifs, nullptr);
    EXPECT_EQ(gifs->count(), 2);
    EXPECT_EQ(gifs->viewMode(), QListView::ListMode);
    EXPECT_FALSE(tab<PicsTab>().pictureLists().isVisibleTo(&window));
    tabs->setCurrentIndex(2);
    EXPECT_FALSE(tab<HtmlTab>().fileLists().isVisibleTo(&window));
    EXPECT_FALSE(htmlWindows->actions().at(0)->isChecked());
}

// A tab built while the tab control switches to it (with updates held off) still paints its
// lists once shown.
TEST_F(MainWindowTest, TabsBuiltOnFirstShowPaintTheirLists) {
    start();
    // Not through find(), which would build every tab first.
    auto* tabs = app->mainWindow().findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (int index = 1; index < 4; ++index) {
        tabs->setCurrentIndex(index);
        int shown = 0;
        for (auto* list : app->mainWindow().tabPages().at(index)->findChildren<QListWidget*>())
            if (list->isVisible()) {
                ++shown;
                EXPECT_TRUE(list->viewport()->updatesEnabled()) << list->objectName().toStdString();
            }
        EXPECT_GT(shown, 0) << "tab " << index;
    }
}

TEST_F(MainWindowTest, ViewToggleTwiceRestoresPartAndTick) {
    start();
    QAction* toggle = item("ViewsToolBar", QStringLiteral("&ToolBar"));
    QToolBar& bar = tab<ProjectsTab>().toolBar();
    toggle->trigger();
    EXPECT_FALSE(bar.isVisibleTo(&app->mainWindow()));
    EXPECT_FALSE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(bar.isVisibleTo(&app->mainWindow()));
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_FALSE(QFileInfo::exists(configDir() + QStringLiteral("/KelmorPref.ini")));
}

TEST_F(MainWindowTest, HelpContentsOpensTheInstalledHelpPage) {
    start();
    item("Help1", QStringLiteral("&Contents..."))->trigger();
    const QString page = dataDir() + QStringLiteral("/help/index.html");
    EXPECT_EQ(help.shown, QStringList{page});
    EXPECT_TRUE(QFileInfo::exists(page));
    for (const char* name : {"projects", "pics", "html", "gifs", "options", "sounds"})
        EXPECT_TRUE(QFileInfo::exists(
            dataDir() + QStringLiteral("/help/%1.html").arg(QString::fromLatin1(name))))
            << name;
}

TEST_F(MainWindowTest, StartPutsBackAnEmptyDataFileAndKeepsAChangedOne) {
    QDir().mkpath(dataDir() + QStringLiteral("/help"));
    const QString emptied = dataDir() + QStringLiteral("/help/index.html");
    const QString changed = dataDir() + QStringLiteral("/help/pics.html");
    QFile(emptied).open(QIODevice::WriteOnly);
    QFile mine(changed);
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("<p>my notes</p>");
    mine.close();
    start();
    QFile page(emptied);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("<html"));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), QByteArray("<p>my notes</p>"));
    EXPECT_TRUE(
        QDir(dataDir() + QStringLiteral("/help")).entryList({QStringLiteral("*.part")}).isEmpty());
}

TEST_F(MainWindowTest, HelpContentsStillAsksTheViewerWhenThePageIsMissing) {
    start();
    const QString page = dataDir() + QStringLiteral("/help/index.html");
    QFile::remove(page);
    item("Help1", QStringLiteral("&Contents..."))->trigger();
    EXPECT_EQ(help.shown, QStringList{page});
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MainWindowTest, OptionsAndAboutAreModalAndSoundsIsNot) {
    start();
    item("Project1", QStringLiteral("&Options..."))->trigger();
    item("Help1", QStringLiteral("&About..."))->trigger();
    EXPECT_EQ(dialogs.modalShown,
              (QStringList{QStringLiteral("FormPrefs"), QStringLiteral("AboutForm")}));
    item("Tools1", QStringLiteral("&Sounds..."))->trigger();
    EXPECT_TRUE(app->sound().isVisible());
    EXPECT_FALSE(app->sound().isModal());
}

TEST_F(MainWindowTest, AboutLinkOpensTheMakersAddress) {
    start();
    auto* link = app->about().findChild<QLabel*>(QStringLiteral("WebLink"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->text().contains(QString::fromLatin1(product::kWebAddress)));
    emit link->linkActivated(QString::fromLatin1(product::kWebAddress));
    EXPECT_EQ(shell.opened, QStringList{QString::fromLatin1(product::kWebAddress)});
    auto* ok = app->about().findChild<QPushButton*>(QStringLiteral("OKButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
    EXPECT_EQ(app->about().windowTitle(), QStringLiteral("About"));
}

// Alt+V opens the tab's own "&Views" menu on every press, on every tab that has one.
class ViewsMnemonicTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(ViewsMnemonicTest, AltVOpensTheVisibleViewsMenuOnEveryPress) {
    static const char* const menus[] = {"ViewsToolBar", "ViewsImageWindows", "ViewsWindows"};
    start();
    showTab(GetParam());
    app->mainWindow().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app->mainWindow()));
    for (int press = 0; press < 3; ++press) {
        QTest::keyClick(&app->mainWindow(), Qt::Key_V, Qt::AltModifier);
        EXPECT_EQ(QApplication::activePopupWidget(), menu(menus[GetParam()])) << "press " << press;
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
        QTest::keyClick(&app->mainWindow(), Qt::Key_Escape);
    }
}

INSTANTIATE_TEST_SUITE_P(TabsWithViews, ViewsMnemonicTest, ::testing::Values(0, 1, 2));

TEST_F(MainWindowTest, ClosingTheMainWindowEndsTheProgramWithOtherWindowsShown) {
    start();
    item("Tools1", QStringLiteral("&Sounds..."))->trigger();
    tab<GifsTab>().gifsOptions().show();
    ASSERT_TRUE(app->sound().isVisible() && tab<GifsTab>().gifsOptions().isVisible());
    bool timedOut = false;
    QTimer::singleShot(0, &app->mainWindow(),
                       [this] { item("File1", QStringLiteral("E&xit"))->trigger(); });
    QTimer::singleShot(5000, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
}

TEST_F(MainWindowTest, ToolBarsHaveOneIconSizeAndNoButtonDrawnPressed) {
    start();
    for (QToolBar* bar : app->mainWindow().findChildren<QToolBar*>()) {
        for (QToolButton* button : bar->findChildren<QToolButton*>()) {
            if (!button->defaultAction())
                continue;
            EXPECT_EQ(button->iconSize(), bar->iconSize()) << button->objectName().toStdString();
            EXPECT_TRUE(button->autoRaise()) << button->objectName().toStdString();
            EXPECT_FALSE(button->isDown() || (button->isChecked() && !button->isCheckable()));
        }
    }
}

TEST_F(MainWindowTest, WindowStartsAtItsDesignSize) {
    start();
    EXPECT_EQ(app->mainWindow().size(), QSize(618, 503));
}

} // namespace
} // namespace kelmor::test
