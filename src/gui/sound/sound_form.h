#pragma once

#include "prefs/list_style.h"
#include "prefs/preference_store.h"
#include "sound/sound_device.h"
#include "ui/history.h"
#include "ui/services.h"
#include "ui/tool_commands.h"

#include <QString>
#include <QWidget>
#include <memory>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

class QToolBar;

namespace kelmor {

// The "Play/Record Sound" window, shown without blocking the main window: a list of
// the sounds folder's WAV files, a history of opened sounds, and commands that drive
// the one sound device. The device and the player's file name outlive the window's
// showings, and closing the window hides it while a sound goes on playing.
class TSoundForm : public QWidget {
    Q_OBJECT
public:
    // Plays and records on the system's default audio devices.
    TSoundForm(Services& services, const PreferenceStore& preferences, QWidget* parent = nullptr);
    TSoundForm(Services& services, const PreferenceStore& preferences, AudioBackend& audio,
               QWidget* parent = nullptr);
    ~TSoundForm() override;

    void setListStyle(ListStyle style);
    // The one file name the sound device works on.
    const QString& playerFileName() const { return playerFile_; }
    // The folder that recording and "Stop" use, whatever the preferences say.
    QString fixedSoundsFolder() const;

signals:
    void optionsRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Plays on `audio`, or on `ownAudio` when `audio` is null.
    TSoundForm(Services& services, const PreferenceStore& preferences,
               std::unique_ptr<AudioBackend> ownAudio, AudioBackend* audio, QWidget* parent);
    void buildWindow();
    QToolBar* buildToolBar();
    void buildSoundList();
    void openAndPlay(const QString& fileName);
    void openPlayerFile();
    void saveAs(const QString& fileName);

    void OpenClick();
    void ComboBox1Select(int index);
    void ListView1DblClick();
    void PlayClick();
    void StopClick();
    void RewindClick();
    void RecordClick();
    void SaveClick();
    void SaveAsClick();
    void RefreshClick();
    void LargeIconsClick();
    void SmallIconsClick();
    void OptionsClick();

    Services& services_;
    const PreferenceStore& preferences_;
    std::unique_ptr<AudioBackend> ownAudio_;
    SoundDevice device_;
    QString playerFile_;

    std::unique_ptr<CommandSet> commands_;
    QLineEdit* saveAsName_ = nullptr;  // Edit2
    HistoryBox* history_ = nullptr;    // ComboBox1
    QListWidget* soundList_ = nullptr; // ListView1
};

} // namespace kelmor
