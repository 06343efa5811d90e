// The Play/Record Sound window's commands against a scripted audio backend.
#include "base/error.h"
#include "base/messages.h"
#include "qstring_printer.h"
#include "sound/sound_file.h"
#include "sound_form_fixture.h"
#include "support/fake_audio_backend.h"
#include "ui/qt_text.h"
#include "wav_maker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace kelmor {
namespace {

using namespace Qt::StringLiterals;

// Tool-bar buttons as "hint" (or "[accessible name]" when there is no hint), "|"
// for separators and the texts of the other widgets.
QStringList toolBarContents(QToolBar& bar) {
    QStringList contents;
    for (QAction* action : bar.actions()) {
        QWidget* widget = bar.widgetForAction(action);
        if (action->isSeparator())
            contents << u"|"_s;
        else if (auto* label = qobject_cast<QLabel*>(widget))
            contents << label->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            contents << edit->objectName() + QLatin1Char('=') + edit->text();
        else if (action->toolTip().isEmpty() || action->text().isEmpty())
            contents << QLatin1Char('[') + widget->accessibleName() + QLatin1Char(']');
        else
            contents << action->toolTip();
    }
    return contents;
}

class SoundForm : public test::SoundFormFixture {
protected:
    void SetUp() override {
        SoundFormFixture::SetUp();
        makeForm(audio);
    }

    // A short mono tone of `hz` in the working folder; returns its path.
    QString toneFile(const QString& name, double hz, const QString& folder = {}) {
        const QString path = (folder.isEmpty() ? workDir() : folder) + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        test::writeWav(toLocal(path), SF_FORMAT_PCM_16, 1, 8000, test::sine(hz, 0.05, 8000, 1));
        return path;
    }
    static std::vector<char> pcmOf(const QString& path) { return readSoundFile(toLocal(path)).pcm; }

    QComboBox& history() { return *form->findChild<QComboBox*>(u"ComboBox1"_s); }
    QLineEdit& saveAsName() { return *form->findChild<QLineEdit*>(u"Edit2"_s); }
    QListWidget& soundList() { return *form->findChild<QListWidget*>(u"ListView1"_s); }

    test::FakeAudioBackend audio;
};

TEST_F(SoundForm, ShowsItsToolBarInOrderWithAFixedBorder) {
    auto* bar = form->findChild<QToolBar*>(u"ToolBar1"_s);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(toolBarContents(*bar),
              (QStringList{u"Open..."_s, u"Save"_s, u"SaveAs..."_s, u"|"_s, u"Play"_s, u"Stop"_s,
                           u"Rewind"_s, u"Record Sound"_s, u"|"_s, u"[Large Icons]"_s,
                           u"[Small Icons]"_s, u"[Refresh List]"_s, u"|"_s, u"Options..."_s,
                           u"Save As:"_s, u"Edit2=newsound.wav"_s}));
    EXPECT_EQ(form->windowTitle(), u"Play/Record Sound"_s);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    form->show();
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_TRUE(history().isEditable());
    EXPECT_EQ(form->findChild<QPushButton*>(u"BitBtn1"_s)->text(), u"&Close"_s);
}

TEST_F(SoundForm, RecordThenStopKeepsTheRecordingInTheSoundsFolderAndPlayPlaysIt) {
    EXPECT_EQ(form->playerFileName(), soundsDir() + u"/default.wav"_s);
    click("ToolButton7");
    ASSERT_TRUE(audio.recordingRunning);
    EXPECT_EQ(audio.recordFormat.rate, 22050);
    EXPECT_EQ(audio.recordFormat.channels, 1);
    const std::vector<short> recorded(500, 1234);
    audio.capture.resize(recorded.size() * 2);
    std::memcpy(audio.capture.data(), recorded.data(), audio.capture.size());
    const std::vector<char> expected = audio.capture;

    click("ToolButton5");
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(form->playerFileName(), soundsDir() + u"/newsound.wav"_s);
    EXPECT_EQ(pcmOf(soundsDir() + u"/newsound.wav"_s), expected);
    EXPECT_TRUE(pcmOf(soundsDir() + u"/default.wav"_s).empty());

    click("ToolButton4");
    EXPECT_TRUE(audio.playbackRunning);
    EXPECT_EQ(audio.played, expected);
}

TEST_F(SoundForm, OpenPlaysTheChosenFileAndAddsItToTheHistoryOnce) {
    const QString tone = toneFile(u"tone.wav"_s, 440);
    dialogs.fileAnswers = {tone, tone, std::nullopt};
    click("ToolButton1");
    click("ToolButton1");
    click("ToolButton1"); // cancelled: nothing happens
    EXPECT_EQ(dialogs.fileRequests.first(), u"open|Wave Sound Files (*.wav)|*.wav|"_s);
    EXPECT_EQ(history().count(), 1);
    EXPECT_EQ(history().currentText(), tone);
    EXPECT_EQ(audio.playbacks, 2);
    EXPECT_EQ(audio.played, pcmOf(tone));
    EXPECT_EQ(form->playerFileName(), tone);
}

TEST_F(SoundForm, ChoosingAHistoryEntryWithTheKeysOpensAndPlaysIt) {
    const QString low = toneFile(u"low.wav"_s, 220);
    const QString high = toneFile(u"high.wav"_s, 880);
    dialogs.fileAnswers = {low, high};
    click("ToolButton1");
    click("ToolButton1");
    ASSERT_EQ(history().count(), 2);
    history().setCurrentIndex(1);
    QTest::keyClick(&history(), Qt::Key_Up);
    EXPECT_EQ(form->playerFileName(), low);
    EXPECT_EQ(audio.played, pcmOf(low));
    EXPECT_EQ(audio.playbacks, 3);
}

TEST_F(SoundForm, TheListShowsTheSoundsFolderAndADoubleClickPlaysFromThePreferenceFile) {
    const QString listed = workDir() + u"/listed"_s;
    const QString saved = workDir() + u"/saved"_s;
    toneFile(u"bell.wav"_s, 440, listed);
    toneFile(u"gong.WAV"_s, 440, listed);
    toneFile(u"x.wav.wav"_s, 440, listed);
    toneFile(u"notes.txt"_s, 440, listed);
    const QString bell = toneFile(u"bell.wav"_s, 880, saved);
    preferences.setPath(PrefPath::Sounds, listed);
    preferences.setListStyle(PrefLists::Sounds, ListStyle::Small);
    QFile ini(configDir() + u"/KelmorPref.ini"_s);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[PREFERENCES]\r\nSounds Directory=" + saved.toLocal8Bit() + "\r\n");
    ini.close();

    form->show();
    QStringList captions;
    for (int i = 0; i < soundList().count(); ++i)
        captions << soundList().item(i)->text();
    EXPECT_EQ(captions, (QStringList{u"bell"_s, u"gong.WAV"_s, u"x"_s}));
    EXPECT_EQ(soundList().viewMode(), QListView::ListMode);

    QListWidgetItem* item = soundList().item(0);
    soundList().setCurrentItem(item);
    emit soundList().itemDoubleClicked(item);
    EXPECT_EQ(form->playerFileName(), bell);
    EXPECT_EQ(audio.played, pcmOf(bell));

    soundList().clearSelection();
    emit soundList().itemDoubleClicked(item);
    EXPECT_EQ(audio.playbacks, 1);

    preferences.setPath(PrefPath::Sounds, workDir() + u"/missing"_s);
    click("ToolButton10");
    EXPECT_EQ(soundList().count(), 0);
}

TEST_F(SoundForm, CommandsWithNothingOpenSayNoDeviceIsOpenAndSaveNothing) {
    dialogs.fileAnswers = {workDir() + u"/chosen.wav"_s};
    for (const char* command : {"ToolButton5", "ToolButton6", "ToolButton2", "ToolButton3"})
        click(command);
    EXPECT_EQ(dialogs.errors, QStringList(4, QString::fromLatin1(msg::kNoMciDevice)));
    EXPECT_TRUE(QDir(workDir()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(soundsDir()).entryList(QDir::Files) == QStringList{u"default.wav"_s});
}

TEST_F(SoundForm, AFailedOpenShowsWhyKeepsTheNameAndLeavesNothingOpen) {
    const QString missing = workDir() + u"/missing.wav"_s;
    dialogs.fileAnswers = {missing};
    click("ToolButton1");
    EXPECT_EQ(dialogs.errors,
              QStringList{toQt(msg::soundOpenFailed(toLocal(missing), msg::kSoundFileMissing))});
    EXPECT_EQ(form->playerFileName(), missing);
    EXPECT_EQ(audio.playbacks, 0);
    click("ToolButton6");
    EXPECT_EQ(dialogs.errors.last(), QString::fromLatin1(msg::kNoMciDevice));

    audio.outputDevice = false;
    const QString tone = toneFile(u"tone.wav"_s, 440);
    dialogs.fileAnswers = {tone};
    click("ToolButton1");
    EXPECT_EQ(dialogs.errors.last(),
              toQt(msg::soundOpenFailed(toLocal(tone), msg::kNoSoundDevice)));
}

TEST_F(SoundForm, SaveWritesTheSaveAsNameInTheCurrentFolderAndNothingWhenEmpty) {
    click("ToolButton7");
    saveAsName().setText(u"copy.wav"_s);
    click("ToolButton2");
    EXPECT_TRUE(QFileInfo::exists(workDir() + u"/copy.wav"_s));
    EXPECT_FALSE(audio.recordingRunning);

    saveAsName().clear();
    click("ToolButton2");
    EXPECT_EQ(QDir(workDir()).entryList(QDir::Files), QStringList{u"copy.wav"_s});

    const QString chosen = workDir() + u"/elsewhere/chosen.wav"_s;
    QDir().mkpath(workDir() + u"/elsewhere"_s);
    dialogs.fileAnswers = {chosen};
    click("ToolButton3");
    EXPECT_EQ(dialogs.fileRequests.last(), u"save|Wave Sound Files (*.wav)|*.wav||replace"_s);
    EXPECT_TRUE(QFileInfo::exists(chosen));
    EXPECT_EQ(form->playerFileName(), chosen);
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

// A save that cannot be written says so and leaves an earlier file of that name whole.
TEST_F(SoundForm, AFailedSaveSaysSoAndKeepsTheEarlierFile) {
    click("ToolButton7");
    saveAsName().setText(u"no/such/folder.wav"_s);
    click("ToolButton2");
    EXPECT_EQ(dialogs.errors,
              QStringList{toQt(format(msg::kCannotCreateFile, "no/such/folder.wav"))});

    // The longest name a folder entry can have leaves no room for the temporary file.
    const QString longest = QString(251, QLatin1Char('n')) + u".wav"_s;
    QFile earlier(soundsDir() + QLatin1Char('/') + longest);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    saveAsName().setText(longest);
    click("ToolButton5");
    EXPECT_EQ(dialogs.errors.last(),
              toQt(format(msg::kCannotCreateFile, toLocal(soundsDir() + u'/' + longest))));
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier");
}

TEST_F(SoundForm, RewindGoesBackWithoutPlaying) {
    const QString tone = toneFile(u"tone.wav"_s, 440);
    dialogs.fileAnswers = {tone};
    click("ToolButton1");
    audio.progress = 100;
    click("ToolButton6");
    EXPECT_FALSE(audio.playbackRunning);
    EXPECT_EQ(audio.playbacks, 1);
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(SoundForm, CloseHidesTheWindowWhilePlayingGoesOn) {
    form->show();
    const QString tone = toneFile(u"tone.wav"_s, 440);
    dialogs.fileAnswers = {tone};
    click("ToolButton1");
    QTest::mouseClick(form->findChild<QPushButton*>(u"BitBtn1"_s), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(audio.playbackRunning);
}

TEST_F(SoundForm, TheViewButtonsAndOptionsDoTheirWork) {
    QSignalSpy options(form.get(), &TSoundForm::optionsRequested);
    click("ToolButton8");
    EXPECT_EQ(soundList().viewMode(), QListView::IconMode);
    click("ToolButton9");
    EXPECT_EQ(soundList().viewMode(), QListView::ListMode);
    click("ToolButton11");
    EXPECT_EQ(options.count(), 1);
}

} // namespace
} // namespace kelmor
