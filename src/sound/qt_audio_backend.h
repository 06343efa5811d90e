#pragma once

#include "sound/audio_backend.h"

#include <QAudioFormat>
#include <memory>

class QAudioSink;
class QAudioSource;

namespace kelmor {

class PcmReader;
class PcmCollector;

// Plays and records raw PCM on the system's default audio output and input through
// Qt Multimedia. Playback and recording run on the Qt event loop.
class QtAudioBackend : public AudioBackend {
public:
    QtAudioBackend();
    ~QtAudioBackend() override;

    bool hasOutputDevice() override;
    bool startPlayback(const PcmFormat& format, std::span<const char> pcm) override;
    std::size_t playedBytes() override;
    bool isPlaying() override;
    void stopPlayback() override;
    bool startRecording(const PcmFormat& format) override;
    std::vector<char> stopRecording() override;

    // Bytes the sink has taken from the current playback so far: handed to the sound
    // server, not necessarily heard yet.
    std::size_t bytesHandedToSink() const;

private:
    std::unique_ptr<PcmReader> reader_;
    std::unique_ptr<QAudioSink> sink_;
    QAudioFormat playFormat_;
    std::size_t playedAtStop_ = 0;
    std::unique_ptr<PcmCollector> collector_;
    std::unique_ptr<QAudioSource> recorder_;
};

} // namespace kelmor
