// The Play/Record Sound window's commands against a scripted audio backend.
#include "base/error.h"
#include "base/messages.h"
#include "qstring_printer.h"
#include "sound/sound_file.h"
#include "sound/sound_form.h"
#include "support/fake_audio_backend.h"
#include "test_services.h"
#include "ui/qt_text.h"
#include "wav_maker.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace kelmor {
namespace {

using namespace Qt::StringLiterals;

// The sound window alone with a scripted backend, temporary config, data and working folders,
// and the shipped empty default.wav in the data folder's sounds folder, as start-up leaves it.
class SoundForm : public ::testing::Test {
protected:
    void SetUp() override {
        QDir::setCurrent(workDir());
        QDir().mkpath(soundsDir());
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(KELMOR_DEFAULT_WAV), soundsDir() + u"/default.wav"_s));
        form = std::make_unique<TSoundForm>(services, preferences, audio);
    }
    void TearDown() override {
        form.reset();
        QDir::setCurrent(previousDir_);
    }

    QString configDir() const { return config_.path(); }
    QString workDir() const { return work_.path(); }
    QString soundsDir() const { return data_.path() + u"/sounds"_s; }
    void click(const char* command) {
        auto* action = form->findChild<QAction*>(QString::fromLatin1(command));
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }

    // A short mono tone of `hz` in the folder, the working folder by default; returns its path.
    QString toneFile(const QString& name, double hz, QString folder = {}) {
        folder = folder.isEmpty() ? workDir() : folder;
        QDir().mkpath(folder);
        test::writeWav(toLocal(folder + u'/' + name), SF_FORMAT_PCM_16, 1, 8000,
                       test::sine(hz, 0.05, 8000, 1));
        return folder + u'/' + name;
    }
    // Opens the files one after the other with Open...
    void open(const QStringList& files) {
        for (const QString& file : files) {
            dialogs.fileAnswers.push_back(file);
            click("ToolButton1");
        }
    }
    static std::vector<char> pcmOf(const QString& path) { return readSoundFile(toLocal(path)).pcm; }
    QString errors() const { return dialogs.errors.join(u'\n'); }

    QComboBox& history() { return *form->findChild<QComboBox*>(u"ComboBox1"_s); }
    QLineEdit& saveAsName() { return *form->findChild<QLineEdit*>(u"Edit2"_s); }
    QListWidget& soundList() { return *form->findChild<QListWidget*>(u"ListView1"_s); }

    QTemporaryDir config_, data_, work_;
    QString previousDir_ = QDir::currentPath();
    test::ScriptedDialogs dialogs;
    test::RecordingShell shell;
    test::RecordingHelpViewer help;
    Services services{dialogs, shell, help, {config_.path(), data_.path(), work_.path(), {}}};
    PreferenceStore preferences;
    test::FakeAudioBackend audio;
    std::unique_ptr<TSoundForm> form;
};

// The recording goes into the shipped empty default sound, in its 16-bit mono 22050 Hz
// format, and is kept under the Save As name in the sounds folder.
TEST_F(SoundForm, RecordThenStopKeepsTheRecordingInTheSoundsFolderAndPlayPlaysIt) {
    EXPECT_EQ(form->playerFileName(), soundsDir() + u"/default.wav"_s);
    click("ToolButton7");
    ASSERT_TRUE(audio.recordingRunning);
    EXPECT_EQ(audio.recordFormat.rate, 22050);
    EXPECT_EQ(audio.recordFormat.channels, 1);
    EXPECT_EQ(audio.recordFormat.type, SampleType::Int16);
    for (int i = 0; i < 500; ++i)
        audio.capture.insert(audio.capture.end(), {char(0xD2), char(0x04)}); // 1234
    const std::vector<char> expected = audio.capture;

    click("ToolButton5");
    EXPECT_EQ(errors(), QString());
    EXPECT_EQ(form->playerFileName(), soundsDir() + u"/newsound.wav"_s);
    const SoundClip saved = readSoundFile(toLocal(soundsDir() + u"/newsound.wav"_s));
    EXPECT_EQ(saved.pcm, expected);
    EXPECT_EQ(saved.encoding, "pcm-16");
    EXPECT_TRUE(pcmOf(soundsDir() + u"/default.wav"_s).empty());

    click("ToolButton4");
    EXPECT_TRUE(audio.playbackRunning);
    EXPECT_EQ(audio.played, expected);
}

TEST_F(SoundForm, OpenPlaysTheChosenFileAddsItToTheHistoryOnceAndAHistoryChoicePlaysIt) {
    const QString low = toneFile(u"low.wav"_s, 220);
    const QString high = toneFile(u"high.wav"_s, 880);
    open({low, low});
    click("ToolButton1"); // cancelled: nothing happens
    EXPECT_EQ(dialogs.fileRequests.first(), u"open|Wave Sound Files (*.wav)|*.wav|"_s);
    EXPECT_EQ(history().count(), 1);
    EXPECT_EQ(history().currentText(), low);
    EXPECT_EQ(audio.playbacks, 2);
    EXPECT_EQ(audio.played, pcmOf(low));

    open({high});
    EXPECT_EQ(form->playerFileName(), high);
    ASSERT_EQ(history().count(), 2);
    history().setCurrentIndex(1);
    QTest::keyClick(&history(), Qt::Key_Up);
    EXPECT_EQ(form->playerFileName(), low);
    EXPECT_EQ(audio.played, pcmOf(low));
    EXPECT_EQ(audio.playbacks, 4);
}

TEST_F(SoundForm, TheListShowsTheSoundsFolderAndADoubleClickPlaysFromThePreferenceFile) {
    const QString listed = workDir() + u"/listed"_s;
    const QString saved = workDir() + u"/saved"_s;
    for (const QString& name : {u"bell.wav"_s, u"gong.WAV"_s, u"x.wav.wav"_s, u"notes.txt"_s})
        toneFile(name, 440, listed);
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

    click("ToolButton8");
    EXPECT_EQ(soundList().viewMode(), QListView::IconMode);
    click("ToolButton9");
    EXPECT_EQ(soundList().viewMode(), QListView::ListMode);
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
    EXPECT_EQ(QDir(soundsDir()).entryList(QDir::Files), QStringList{u"default.wav"_s});
}

TEST_F(SoundForm, AFailedOpenShowsWhyKeepsTheNameAndLeavesNothingOpen) {
    const QString missing = workDir() + u"/missing.wav"_s;
    open({missing});
    EXPECT_EQ(dialogs.errors,
              QStringList{toQt(msg::soundOpenFailed(toLocal(missing), msg::kSoundFileMissing))});
    EXPECT_EQ(form->playerFileName(), missing);
    EXPECT_EQ(audio.playbacks, 0);
    click("ToolButton6");
    EXPECT_EQ(dialogs.errors.last(), QString::fromLatin1(msg::kNoMciDevice));

    audio.outputDevice = false;
    const QString tone = toneFile(u"tone.wav"_s, 440);
    open({tone});
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
    EXPECT_EQ(errors(), QString());
}

// A save that cannot be written says so and leaves an earlier file of that name whole.
TEST_F(SoundForm, ASaveFailsOnlyWhereTheFileCannotBeCreated) {
    click("ToolButton7");
    saveAsName().setText(u"no/such/folder.wav"_s);
    click("ToolButton2");
    EXPECT_EQ(dialogs.errors,
              QStringList{toQt(format(msg::kCannotCreateFile, "no/such/folder.wav"))});

    // The longest name a folder entry can have is replaced too: the temporary name is short.
    const QString longest = soundsDir() + u'/' + QString(251, u'n') + u".wav"_s;
    QFile earlier(longest);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    saveAsName().setText(QFileInfo(longest).fileName());
    click("ToolButton5");
    EXPECT_EQ(dialogs.errors.size(), 1);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_TRUE(earlier.readAll().startsWith("RIFF"));
}

TEST_F(SoundForm, RewindGoesBackWithoutPlayingAndCloseHidesWhilePlayingGoesOn) {
    form->show();
    open({toneFile(u"tone.wav"_s, 440)});
    audio.progress = 100;
    click("ToolButton6");
    EXPECT_FALSE(audio.playbackRunning);
    EXPECT_EQ(audio.playbacks, 1);
    EXPECT_EQ(errors(), QString());

    click("ToolButton4");
    QTest::mouseClick(form->findChild<QPushButton*>(u"BitBtn1"_s), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(audio.playbackRunning);
}

} // namespace
} // namespace kelmor
