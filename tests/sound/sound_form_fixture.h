#pragma once

#include "prefs/preference_store.h"
#include "sound/sound_form.h"
#include "test_services.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kelmor::test {

// The sound window alone, with scripted dialogs, a preference store, temporary
// config, data and working folders, and the shipped empty default.wav in the data
// folder's sounds folder, as start-up leaves it.
class SoundFormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid() && data_.isValid() && work_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(work_.path());
        QDir().mkpath(soundsDir());
        ASSERT_TRUE(QFile::copy(QStringLiteral(KELMOR_DEFAULT_WAV),
                                soundsDir() + QStringLiteral("/default.wav")));
        services = std::make_unique<Services>(
            Services{dialogs, shell, help, AppPaths{config_.path(), data_.path(), work_.path()}});
    }
    void TearDown() override {
        form.reset();
        QDir::setCurrent(previousDir_);
    }

    void makeForm(AudioBackend& audio) {
        form = std::make_unique<TSoundForm>(*services, preferences, audio);
    }
    void click(const char* objectName) {
        auto* action = form->findChild<QAction*>(QString::fromLatin1(objectName));
        ASSERT_NE(action, nullptr) << objectName;
        action->trigger();
    }

    QString configDir() const { return config_.path(); }
    QString workDir() const { return work_.path(); }
    QString soundsDir() const { return data_.path() + QStringLiteral("/sounds"); }

    ScriptedDialogs dialogs;
    RecordingShell shell;
    RecordingHelpViewer help;
    std::unique_ptr<Services> services;
    PreferenceStore preferences;
    std::unique_ptr<TSoundForm> form;

private:
    QTemporaryDir config_;
    QTemporaryDir data_;
    QTemporaryDir work_;
    QString previousDir_;
};

} // namespace kelmor::test
