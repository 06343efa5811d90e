// The program when its sound module is not installed: this test program has no module
// beside it and names no other folder, so every sound command fails as on a machine
// without sound device, with the device's own messages, and nothing is written.
#include "base/error.h"
#include "base/messages.h"
#include "sound/sound_module.h"
#include "wav_maker.h"

#include <QCoreApplication>
#include <filesystem>

namespace kelmor {
namespace {

using MissingSoundModule = test::TempFolderTest;

// The message of the Error the operation throws; empty when it throws none.
template <typename Operation> std::string errorOf(Operation operation) {
    try {
        operation();
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

TEST_F(MissingSoundModule, SoundCommandsFailAsWithoutASoundDevice) {
    int argc = 1;
    char name[] = "sound_missing_module_test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    test::writeWav(path("tone.wav"), SF_FORMAT_PCM_16, 1, 22050, test::sine(440, 0.2, 22050, 1));

    const std::unique_ptr<AudioBackend> backend = makeModuleAudioBackend();
    SoundDevice device(*backend, moduleSoundFiles());
    EXPECT_EQ(errorOf([&] { device.open(path("tone.wav")); }),
              msg::soundOpenFailed(path("tone.wav"), msg::kNoSoundDevice));
    EXPECT_FALSE(device.isOpen());
    EXPECT_FALSE(backend->hasOutputDevice());
    EXPECT_FALSE(backend->startPlayback(PcmFormat{}, std::vector<char>(4410)));
    EXPECT_FALSE(backend->startRecording(PcmFormat{}));
    EXPECT_TRUE(backend->stopRecording().empty());

    EXPECT_EQ(errorOf([&] { moduleSoundFiles().write(path("out.wav"), SoundClip{}); }),
              format(msg::kCannotCreateFile, path("out.wav")));
    EXPECT_FALSE(std::filesystem::exists(path("out.wav")));
}

} // namespace
} // namespace kelmor
