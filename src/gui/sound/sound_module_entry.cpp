#include "base/error.h"
#include "sound/qt_audio_backend.h"
#include "sound/sound_file.h"
#include "sound/sound_module.h"

namespace {

// Runs a file operation, handing its failure over as a message.
template <typename Operation> bool reported(std::string& error, Operation operation) {
    try {
        operation();
        return true;
    } catch (const std::exception& failure) {
        error = failure.what();
        return false;
    }
}

const kelmor::SoundModule kModule{
    [] { return static_cast<kelmor::AudioBackend*>(new kelmor::QtAudioBackend()); },
    [](const std::string& path, kelmor::SoundClip& clip, std::string& error) {
        return reported(error, [&] { clip = kelmor::readSoundFile(path); });
    },
    [](const std::string& path, const kelmor::SoundClip& clip, std::string& error) {
        return reported(error, [&] { kelmor::writeSoundFile(path, clip); });
    },
};

} // namespace

// The one symbol the module exports.
extern "C" __attribute__((visibility("default"))) const kelmor::SoundModule* kelmor_sound_module() {
    return &kModule;
}
