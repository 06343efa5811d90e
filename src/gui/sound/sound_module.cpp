#include "sound/sound_module.h"

#include "base/error.h"
#include "base/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <dlfcn.h>

namespace kelmor {
namespace {

QString& extraFolder() {
    static QString folder;
    return folder;
}

// Loads the module once; it stays loaded until the program ends, as what it made may
// live that long. Null when it cannot be loaded.
const SoundModule* loadModule() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList folders{programFolder,
                        QDir(programFolder).filePath(QStringLiteral(KELMOR_SOUND_MODULE_DIR))};
    if (!extraFolder().isEmpty())
        folders.prepend(extraFolder());
    QString failure = QString::fromLatin1(kSoundModuleFile) + QStringLiteral(" is not in ") +
                      folders.join(QStringLiteral(", "));
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(kSoundModuleFile));
        if (!QFile::exists(path))
            continue;
        void* library = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            failure = QString::fromLocal8Bit(dlerror());
            continue;
        }
        using Entry = const SoundModule* (*)();
        if (auto entry = reinterpret_cast<Entry>(dlsym(library, kSoundModuleEntry)))
            return entry();
        failure = path + QStringLiteral(" has no ") + QString::fromLatin1(kSoundModuleEntry);
    }
    qWarning("Sound is not available: %s", qPrintable(failure));
    return nullptr;
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

void setSoundModuleFolder(const QString& folder) {
    extraFolder() = folder;
}

std::unique_ptr<AudioBackend> makeModuleAudioBackend() {
    return std::make_unique<ModuleAudioBackend>();
}

SoundFileAccess moduleSoundFiles() {
    return {&readThroughModule, &writeThroughModule};
}

} // namespace kelmor
