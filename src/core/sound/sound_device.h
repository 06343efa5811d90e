#pragma once

#include "sound/audio_backend.h"
#include "sound/sound_clip.h"
#include "sound/sound_file.h"

#include <cstddef>
#include <optional>
#include <string>

namespace kelmor {

// The one sound device of the program: at most one WAV file open, held in memory,
// played and recorded through an AudioBackend. Open raises its failures; the other
// operations raise "No MCI device open" when nothing is open; play and record report
// a device that refused only through their result, which callers may ignore.
// How the device reads and writes WAV files: sound_file.h's functions, or the same
// functions run by the program's sound module (sound_module.h).
struct SoundFileAccess {
    SoundClip (*read)(const std::string& path);
    void (*write)(const std::string& path, const SoundClip& clip);
};

class SoundDevice {
public:
    explicit SoundDevice(AudioBackend& backend,
                         SoundFileAccess files = {&readSoundFile, &writeSoundFile})
        : backend_(backend), files_(files) {}
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Closes the open file, then reads `path`; on failure nothing is open.
    void open(const std::string& path);
    // Plays from the current position to the end (from the start when at the end).
    bool play();
    // Records at the current position, in the open file's rate, channels and sample type;
    // what was recorded is inserted there when recording stops.
    bool startRecording();
    void stop();
    void seekToStart();
    // Writes the open audio with everything recorded so far; an empty path does nothing.
    // Throws Error("Cannot create file PATH") when the file cannot be written.
    void save(const std::string& path);

    bool isOpen() const { return clip_.has_value(); }
    bool isPlaying();
    bool isRecording() const { return recording_; }
    // The current position in frames.
    std::size_t position();
    // The open audio; only while a file is open.
    const SoundClip& clip() const { return *clip_; }

private:
    void requireOpen() const;
    void settlePlayback();
    void endPlayback();
    void endRecording();
    std::size_t playedPosition();
    std::size_t bytesPerFrame() const;

    AudioBackend& backend_;
    SoundFileAccess files_;
    std::optional<SoundClip> clip_;
    std::size_t position_ = 0;
    std::size_t playStart_ = 0;
    bool playing_ = false;
    bool recording_ = false;
};

} // namespace kelmor
