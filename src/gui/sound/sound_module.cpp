#include "sound/sound_module.h"

#include "base/error.h"
#include "base/messages.h"
#include "ui/program_module.h"

namespace kelmor {
namespace {

// Loads the module once; null when it cannot be loaded.
const SoundModule* loadModule() {
    QString failure;
    const auto* table = loadModuleTable<SoundModule>(kSoundModuleFile, kSoundModuleEntry, failure);
    if (table == nullptr)
        qWarning("Sound is not available: %s", qPrintable(failure));
    return table;
}

const SoundModule* soundModule() {
    static const SoundModule* const module = loadModule();
    return module;
}

class ModuleAudioBackend : public AudioBackend {
public:
    bool hasOutputDevice() override { return backend() != nullptr && backend_->hasOutputDevice(); }
    bool startPlayback(const PcmFormat& format, std::span<const char> pcm) override {
        return backend() != nullptr && backend_->startPlayback(format, pcm);
    }
    std::size_t playedBytes() override { return backend_ ? backend_->playedBytes() : 0; }
    bool isPlaying() override { return backend_ && backend_->isPlaying(); }
    void stopPlayback() override {
        if (backend_)
            backend_->stopPlayback();
    }
    bool startRecording(const PcmFormat& format) override {
        return backend() != nullptr && backend_->startRecording(format);
    }
    std::vector<char> stopRecording() override {
        return backend_ ? backend_->stopRecording() : std::vector<char>{};
    }

private:
    // The module's backend, made on first use.
    AudioBackend* backend() {
        if (!backend_ && soundModule() != nullptr)
            backend_.reset(soundModule()->createBackend());
        return backend_.get();
    }

    std::unique_ptr<AudioBackend> backend_;
};

SoundClip readThroughModule(const std::string& path) {
    const SoundModule* module = soundModule();
    if (module == nullptr)
        throw Error(msg::soundOpenFailed(path, msg::kNoSoundDevice));
    SoundClip clip;
    if (std::string error; !module->readFile(path, clip, error))
        throw Error(error);
    return clip;
}

void writeThroughModule(const std::string& path, const SoundClip& clip) {
    const SoundModule* module = soundModule();
    if (module == nullptr)
        throw Error(format(msg::kCannotCreateFile, path));
    if (std::string error; !module->writeFile(path, clip, error))
        throw Error(error);
}

} // namespace

std::unique_ptr<AudioBackend> makeModuleAudioBackend() {
    return std::make_unique<ModuleAudioBackend>();
}

SoundFileAccess moduleSoundFiles() {
    return {&readThroughModule, &writeThroughModule};
}

} // namespace kelmor
