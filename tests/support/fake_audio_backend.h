#pragma once

#include "sound/audio_backend.h"

#include <cstddef>
#include <vector>

namespace kelmor::test {

// An audio device that plays and records instantly on command: a test says how far a
// playback got, finishes it, and gives what the next recording captures.
class FakeAudioBackend : public AudioBackend {
public:
    bool outputDevice = true;
    bool refusePlayback = false;
    bool refuseRecording = false;

    std::vector<char> played; // what the last playback was handed
    PcmFormat playFormat;
    std::size_t progress = 0; // bytes of it played so far
    bool playbackRunning = false;
    int playbacks = 0;

    std::vector<char> capture; // what the next recording captures
    PcmFormat recordFormat;
    bool recordingRunning = false;

    void finishPlayback() {
        progress = played.size();
        playbackRunning = false;
    }

    bool hasOutputDevice() override { return outputDevice; }
    bool startPlayback(const PcmFormat& format, std::span<const char> pcm) override {
        if (refusePlayback)
            return false;
        played.assign(pcm.begin(), pcm.end());
        playFormat = format;
        progress = 0;
        playbackRunning = true;
        ++playbacks;
        return true;
    }
    std::size_t playedBytes() override { return progress; }
    bool isPlaying() override { return playbackRunning; }
    void stopPlayback() override { playbackRunning = false; }
    bool startRecording(const PcmFormat& format) override {
        if (refuseRecording)
            return false;
        recordFormat = format;
        recordingRunning = true;
        return true;
    }
    std::vector<char> stopRecording() override {
        recordingRunning = false;
        return std::move(capture);
    }
};

} // namespace kelmor::test
