#pragma once

#include "sound/audio_backend.h"
#include "sound/sound_device.h"
#include "ui/program_module.h"

#include <memory>
#include <string>

namespace kelmor {

// What the sound device needs from Qt Multimedia, the sound server's client libraries
// and libsndfile lives in a module of its own, found as program_module.h says and
// loaded the first time a sound is opened, played, recorded or saved.
inline constexpr const char* kSoundModuleFile = "kelmor-sound.so";
inline constexpr const char* kSoundModuleEntry = "kelmor_sound_module";

// The module's table. Failures cross its boundary as messages, not exceptions.
struct SoundModule {
    AudioBackend* (*createBackend)(); // owned by the caller
    bool (*readFile)(const std::string& path, SoundClip& clip, std::string& error);
    bool (*writeFile)(const std::string& path, const SoundClip& clip, std::string& error);
};

// An audio backend on the default devices that loads the module on first use. When
// the module cannot be loaded, the reason goes once to standard error and the
// program acts as on a machine without sound device: there is no output device, and
// playing, recording, opening and saving fail with the device's usual messages.
std::unique_ptr<AudioBackend> makeModuleAudioBackend();
// readSoundFile and writeSoundFile, run by the module.
SoundFileAccess moduleSoundFiles();

} // namespace kelmor
