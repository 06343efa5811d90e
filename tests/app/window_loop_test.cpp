// The main window around the tabs: the first key after start, Exit on every tab, the question
// before closing over unsaved work, Open Recent and the window's place across a restart, files
// dropped from the file manager and "~" in folders.
#include "app_fixture.h"
#include "imaging/picture_view.h"
#include "prefs/form_prefs.h"
#include "project/projects_tab.h"
#include "qstring_printer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>

namespace kelmor::test {
namespace {

using SaveChoice = Dialogs::SaveChoice;

class WindowLoopTest : public AppFixture {
protected:
    TKelButton& window() const { return app->mainWindow(); }
    void restart() {
        app.reset();
        start();
    }
    void activate() {
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    }
    // A key as the user presses it: to whatever has the keyboard focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &window(), key, modifiers);
    }
    void openProject(const QString& file) {
        dialogs.fileAnswers.push_back(file);
        find<QAction>("OpenProject")->trigger();
    }
    QString bmp(const QString& name, int width, int height) const {
        const QString file = workDir() + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(file).absolutePath());
        EXPECT_TRUE(QImage(width, height, QImage::Format_RGB32).save(file));
        return file;
    }
    QByteArray contents(const QString& file) const {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    QStringList recentMenu() const {
        QMenu* menu = find<QMenu>("OpenRecent");
        emit menu->aboutToShow();
        QStringList items;
        for (QAction* action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return items;
    }
};

TEST_F(WindowLoopTest, AShortcutPressedRightAfterTheStartRunsItsCommand) {
    start();
    activate();
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(tab<ProjectsTab>().isAncestorOf(QApplication::focusWidget()));
    press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_TRUE(dialogs.fileRequests.first().startsWith(QStringLiteral("open|Kelmor Project")));
}

class ExitKeyTest : public WindowLoopTest, public ::testing::WithParamInterface<int> {};

TEST_P(ExitKeyTest, CtrlQClosesTheWindowOnEveryTab) {
    start();
    find<QTabWidget>("PageControl1")->setCurrentIndex(GetParam());
    activate();
    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window().isVisible());
}

INSTANTIATE_TEST_SUITE_P(Tabs, ExitKeyTest, ::testing::Values(0, 1, 2, 3));

TEST_F(WindowLoopTest, ClosingAsksAboutEditedTextButNotAboutABuiltPage) {
    start();
    find<QLineEdit>("Edit25")->setText(QStringLiteral("index.html"));
    QTest::mouseClick(find<QAbstractButton>("SpeedButton12"), Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(workDir() + QStringLiteral("/index.html")));
    // Build's own writing of the editor is no change to ask about.
    EXPECT_TRUE(window().close());
    EXPECT_EQ(dialogs.saveQuestions, QStringList());

    window().show();
    QTest::keyClicks(find<QPlainTextEdit>("RichEdit2"), QStringLiteral("<!-- typed -->"));
    dialogs.saveAnswers.push_back(SaveChoice::Save);
    EXPECT_TRUE(window().close());
    EXPECT_EQ(dialogs.saveQuestions, QStringList{QStringLiteral("Save changes to index.html?")});
    EXPECT_TRUE(contents(workDir() + QStringLiteral("/index.html")).contains("<!-- typed -->"));
}

TEST_F(WindowLoopTest, FramesDroppedOnASlotFillItAndTheNextOnesAndAreAskedAbout) {
    start();
    find<QTabWidget>("PageControl1")->setCurrentIndex(3);
    const QString first = bmp(QStringLiteral("frames/one.bmp"), 10, 12);
    const QString second = bmp(QStringLiteral("frames/two.bmp"), 20, 24);
    const QString text = writeFile(QStringLiteral("frames/notes.txt"), "text");
    auto* slot = find<PictureView>("a1");
    EXPECT_FALSE(dropFiles(*slot, {text}));
    ASSERT_TRUE(dropFiles(*slot, {first, second}));
    EXPECT_EQ(slot->picture().width(), 10);
    EXPECT_EQ(find<PictureView>("b2")->picture().width(), 20);
    EXPECT_TRUE(find<QAction>("ToolButton57")->isEnabled());

    dialogs.saveAnswers.push_back(SaveChoice::Cancel);
    EXPECT_FALSE(window().close());
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(dialogs.saveQuestions,
              QStringList{QStringLiteral("Save changes to the animation frames?")});
    EXPECT_EQ(find<PictureView>("b2")->picture().width(), 20);
}

TEST_F(WindowLoopTest, AProjectDroppedAnywhereOpensAfterTheQuestion) {
    const QString site = writeFile(QStringLiteral("drop/site.kxq"), "13,2\r\n0,1,home.gif\r\n");
    start();
    QTest::mouseClick(find<QAbstractButton>("AddPlainButton"), Qt::LeftButton);
    auto* link = find<QLineEdit>("Edit17");
    dialogs.saveAnswers.push_back(SaveChoice::Cancel);
    EXPECT_TRUE(dropFiles(*link, {site}));
    EXPECT_EQ(find<QLabel>("ProjectName")->text(), QString());
    dialogs.saveAnswers.push_back(SaveChoice::Discard);
    EXPECT_TRUE(dropFiles(*link, {site}));
    EXPECT_EQ(dialogs.saveQuestions.size(), 2);
    EXPECT_EQ(find<QLabel>("ProjectName")->text(), QStringLiteral("site.kxq"));
    EXPECT_EQ(link->text(), QString()); // no file address typed into the field
    EXPECT_EQ(QDir::currentPath(), QFileInfo(site).absolutePath());
}

TEST_F(WindowLoopTest, OpenRecentListsTheLastProjectsAcrossARestart) {
    const QByteArray options = "[PREFERENCES]\r\nImage Directory=/pictures\r\nHtml=1\r\n";
    writeFile(QStringLiteral("config.ini"), options);
    QFile::copy(workDir() + QStringLiteral("/config.ini"),
                configDir() + QStringLiteral("/KelmorPref.ini"));
    const QString first = writeFile(QStringLiteral("a.kxq"), "13,2\r\n0,1,a.gif\r\n");
    const QString second = writeFile(QStringLiteral("b&c.kxq"), "13,2\r\n0,1,b.gif\r\n");
    start();
    openProject(first);
    openProject(second);
    restart();
    EXPECT_EQ(recentMenu(),
              (QStringList{QStringLiteral("&1 ") + workDir() + QStringLiteral("/b&&c.kxq"),
                           QStringLiteral("&2 ") + first, QStringLiteral("-"),
                           QStringLiteral("&Clear Menu")}));
    // Written after the keys the file held.
    EXPECT_TRUE(contents(configDir() + QStringLiteral("/KelmorPref.ini")).startsWith(options));

    find<QAction>("RecentProject2")->trigger();
    EXPECT_EQ(find<QLabel>("ProjectName")->text(), QStringLiteral("a.kxq"));
    QFile::remove(second);
    EXPECT_EQ(recentMenu(), (QStringList{QStringLiteral("&1 ") + first, QStringLiteral("-"),
                                         QStringLiteral("&Clear Menu")}));
    find<QAction>("ClearRecentProjects")->trigger();
    restart();
    EXPECT_EQ(recentMenu(), (QStringList{QStringLiteral("-"), QStringLiteral("&Clear Menu")}));
    EXPECT_FALSE(find<QAction>("ClearRecentProjects")->isEnabled());
}

TEST_F(WindowLoopTest, TheWindowReopensWhereItClosed) {
    start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window().size(), QSize(618, 503));
    EXPECT_LE((window().geometry().center() - screen.center()).manhattanLength(), 4);

    window().setGeometry(40, 50, 700, 480);
    auto* splitter = find<QSplitter>("ProjectsSplitter");
    QCoreApplication::processEvents();
    splitter->setSizes({150, 540});
    const QList<int> sizes = splitter->sizes();
    ASSERT_TRUE(window().close());
    restart();
    QCoreApplication::processEvents();
    EXPECT_EQ(window().geometry(), QRect(40, 50, 700, 480));
    EXPECT_EQ(find<QSplitter>("ProjectsSplitter")->sizes(), sizes);
}

TEST_F(WindowLoopTest, AFrameOnNoScreenGivesTheFirstStartsFrame) {
    QFile ini(configDir() + QStringLiteral("/KelmorPref.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[PREFERENCES]\r\nWindow Geometry=-9000,-9000,700,480\r\n");
    ini.close();
    start();
    EXPECT_EQ(window().size(), QSize(618, 503));
}

TEST_F(WindowLoopTest, AFolderTypedWithATildeIsInTheHomeFolder) {
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", workDir().toLocal8Bit());
    bmp(QStringLiteral("kelmor-sample/home.bmp"), 12, 8);
    QFile ini(configDir() + QStringLiteral("/KelmorPref.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[PREFERENCES]\r\nImage Directory=~/kelmor-sample\r\n");
    ini.close();
    start();
    find<QLineEdit>("Edit11")->setText(QStringLiteral("home.bmp"));
    find<QLineEdit>("Edit16")->setText(QStringLiteral("home.bmp"));
    QTest::mouseClick(find<QAbstractButton>("AddPlainButton"), Qt::LeftButton);
    auto* grid = find<QWidget>("StringGrid1");
    QTest::mouseDClick(grid->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport")),
                       Qt::LeftButton, {}, QPoint(20, 30));
    qputenv("HOME", home);
    EXPECT_EQ(dialogs.errors, QStringList());
    EXPECT_EQ(find<PictureView>("NormalPreview")->picture().width(), 12);
    EXPECT_EQ(app->prefs().findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(),
              QStringLiteral("~/kelmor-sample"));
}

} // namespace
} // namespace kelmor::test
