#pragma once

#include "sound/audio_backend.h"

#include <QAudioFormat>
#include <QTimer>
#include <memory>

class QAudioSink;
class QAudioSource;
class QIODevice;

namespace kelmor {

class PcmCollector;

// Plays and records raw PCM on the system's default audio output and input through
// Qt Multimedia. Playback and recording run on the Qt event loop: the clip is written
// into the sink as fast as it takes it, first at once when playing starts and then
// from a short timer, so playback starts without waiting for the sink's first pull.
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
    void feed();

    std::unique_ptr<QAudioSink> sink_;
    QIODevice* sinkInput_ = nullptr; // owned by the sink
    QTimer feeder_;
    std::span<const char> pcm_;
    std::size_t handedOut_ = 0;
    QAudioFormat playFormat_;
    std::size_t playedAtStop_ = 0;
    std::unique_ptr<PcmCollector> collector_;
    std::unique_ptr<QAudioSource> recorder_;
    bool deviceUsed_ = false;
};

} // namespace kelmor
