#include "base/error.h"
#include "base/reported_failure.h"
#include "sound/qt_audio_backend.h"
#include "sound/sound_file.h"
#include "sound/sound_module.h"

namespace {

const kelmor::SoundModule kModule{
    [] { return static_cast<kelmor::AudioBackend*>(new kelmor::QtAudioBackend()); },
    [](const std::string& path, kelmor::SoundClip& clip, std::string& error) {
        return kelmor::reportedFailure(error, [&] { clip = kelmor::readSoundFile(path); });
    },
    [](const std::string& path, const kelmor::SoundClip& clip, std::string& error) {
        return kelmor::reportedFailure(error, [&] { kelmor::writeSoundFile(path, clip); });
    },
};

} // namespace

// The one symbol the module exports.
extern "C" __attribute__((visibility("default"))) const kelmor::SoundModule* kelmor_sound_module() {
    return &kModule;
}
