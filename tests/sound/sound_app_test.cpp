// The sound window inside the whole program: the default sound put in place at
// start-up, the window opened from the menu with the preference file's folder and
// view style, and its Options button.
#include "app_fixture.h"
#include "qstring_printer.h"
#include "sound/sound_form.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QMenuBar>

namespace kelmor::test {
namespace {

using namespace Qt::StringLiterals;

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

using SoundAppTest = AppFixture;

TEST_F(SoundAppTest, StartUpPutsTheEmptyDefaultSoundInPlaceOnlyWhenMissing) {
    const QString installed = dataDir() + u"/sounds/default.wav"_s;
    start();
    EXPECT_EQ(bytesOf(installed), bytesOf(QStringLiteral(KELMOR_DEFAULT_WAV)));
    EXPECT_EQ(app->sound().playerFileName(), installed);

    app.reset();
    QFile own(installed);
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("the user's own");
    own.close();
    start();
    EXPECT_EQ(bytesOf(installed), "the user's own");
}

TEST_F(SoundAppTest, TheToolsMenuShowsTheWindowWithThePreferredFolderAndStyle) {
    writeFile(u"sounds/bell.wav"_s, "RIFF");
    QFile ini(configDir() + u"/KelmorPref.ini"_s);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[PREFERENCES]\r\nSounds Directory=" + QDir(workDir()).filePath(u"sounds"_s).toLocal8Bit() +
        "\r\nLarge Icons3=0\r\nSmalll Icons3=1\r\n");
    ini.close();
    start();

    QAction* sounds = nullptr;
    for (QAction* action : app->mainWindow().menuBar()->findChildren<QAction*>())
        if (action->text() == u"&Sounds..."_s)
            sounds = action;
    ASSERT_NE(sounds, nullptr);
    sounds->trigger();
    TSoundForm& form = app->sound();
    EXPECT_TRUE(form.isVisible());
    auto* list = form.findChild<QListWidget*>(u"ListView1"_s);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), u"bell"_s);
    EXPECT_EQ(list->viewMode(), QListView::ListMode);

    form.findChild<QAction*>(u"ToolButton11"_s)->trigger();
    EXPECT_EQ(dialogs.modalShown, QStringList{u"FormPrefs"_s});
}

} // namespace
} // namespace kelmor::test
