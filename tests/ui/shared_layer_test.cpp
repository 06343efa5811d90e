#include "test_services.h"
#include "ui/error_guard.h"
#include "ui/tool_commands.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

namespace kelmor::test {
namespace {

TEST(ErrorGuardTest, ShowsOwnMessagesAndAFixedTextForEverythingElse) {
    ScriptedDialogs dialogs;
    runGuarded(dialogs, [] { throw Error("Cannot open file a.gif"); });
    runGuarded(dialogs, [] { throw std::bad_alloc(); });
    runGuarded(dialogs, [] { (void)std::string().at(3); });
    runGuarded(dialogs, [] { throw 42; });
    EXPECT_EQ(dialogs.errors, (QStringList{QStringLiteral("Cannot open file a.gif"),
                                           QString::fromLatin1(msg::kOutOfMemory),
                                           QString::fromLatin1(msg::kUnexpectedError),
                                           QString::fromLatin1(msg::kUnexpectedError)}));
}

TEST(ErrorGuardTest, GuardedHandlerGetsTheSignalsArgumentsWhenItTakesThem) {
    ScriptedDialogs dialogs;
    QString got;
    auto withArgs = guarded(
        dialogs, [&](int index, const QString& text) { got = text + QString::number(index); });
    withArgs(7, QStringLiteral("row "));
    auto withoutArgs = guarded(dialogs, [&] { throw Error("stopped"); });
    withoutArgs(true);
    EXPECT_EQ(got, QStringLiteral("row 7"));
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("stopped")});
}

// A confirmed file dialog makes its folder the current one; a cancelled one changes nothing.
class DialogFolderTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_.isValid() && chosen_.isValid());
        previous_ = QDir::currentPath();
        QDir::setCurrent(start_.path());
    }
    void TearDown() override { QDir::setCurrent(previous_); }
    void ask() {
        switch (GetParam()) {
        case 0:
            dialogs.openFile(QString(), QString());
            break;
        case 1:
            dialogs.openPicture();
            break;
        default:
            dialogs.saveFile(QString(), QString());
            break;
        }
    }

    ScriptedDialogs dialogs;
    QTemporaryDir start_;
    QTemporaryDir chosen_;
    QString previous_;
};

TEST_P(DialogFolderTest, ConfirmedDialogEntersTheChosenFilesFolder) {
    dialogs.fileAnswers = {std::nullopt, chosen_.filePath(QStringLiteral("page.html"))};
    ask();
    EXPECT_EQ(QDir::currentPath(), QDir(start_.path()).canonicalPath());
    ask();
    EXPECT_EQ(QDir::currentPath(), QDir(chosen_.path()).canonicalPath());
}

INSTANTIATE_TEST_SUITE_P(OpenPictureSave, DialogFolderTest, ::testing::Values(0, 1, 2));

TEST(ToolCommandTest, EveryCommandHasAPictureOfItsOwn) {
    std::set<QByteArray> seen;
    for (int command = 0; command <= static_cast<int>(CommandIcon::Last); ++command) {
        const QImage picture =
            commandIcon(static_cast<CommandIcon>(command)).pixmap(QSize(16, 16)).toImage();
        ASSERT_FALSE(picture.isNull()) << command;
        const QByteArray bits(reinterpret_cast<const char*>(picture.constBits()),
                              static_cast<qsizetype>(picture.sizeInBytes()));
        EXPECT_TRUE(seen.insert(bits).second) << "command " << command << " repeats a picture";
    }
}

// A window with two commands: one on the tool bar and in the menu, one in a submenu only.
struct CommandOwner : QWidget {
    void fail() { throw Error("Unable to write to x"); }
    void count() { ++counted; }
    int counted = 0;
};

TEST(ToolCommandTest, TableBuildsNamedGuardedButtonsMenuEntriesAndKeys) {
    ScriptedDialogs dialogs;
    CommandOwner owner;
    using C = Command<CommandOwner>;
    const CommandSet commands(
        owner, dialogs,
        {{"Options", "&Options...", "Options...", CommandIcon::Options, Qt::Key_F5,
          &CommandOwner::fail, Place::Both},
         C::separator(Place::Both),
         C::subMenu("More", "&More"),
         {"Count", "&Count", "Count", CommandIcon::None, {}, &CommandOwner::count, Place::Menu},
         C::endSubMenu()});
    QToolBar bar;
    setUpToolBar(bar, ToolBarSize::Large);
    commands.fillToolBar(bar);
    QMenu menu;
    commands.fillMenu(menu);

    auto* button = bar.findChild<QToolButton*>(QStringLiteral("Options"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->accessibleName(), QStringLiteral("Options..."));
    EXPECT_EQ(button->defaultAction()->toolTip(), QStringLiteral("Options..."));
    EXPECT_TRUE(button->autoRaise());
    EXPECT_EQ(bar.actions().size(), 2); // the button and the separator; Count is not on it
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions()[0], &commands.action("Options"));
    EXPECT_EQ(menu.actions()[2]->menu()->objectName(), QStringLiteral("More"));
    menu.actions()[2]->menu()->actions()[0]->trigger();
    EXPECT_EQ(owner.counted, 1);
    EXPECT_EQ(commands.action("Options").shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(commands.action("Options").shortcutContext(), Qt::WidgetWithChildrenShortcut);
    EXPECT_TRUE(owner.actions().contains(&commands.action("Options")));
    button->click();
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("Unable to write to x")});
}

} // namespace
} // namespace kelmor::test
