#pragma once

#include "sound/sound_clip.h"

#include <cstddef>
#include <span>
#include <vector>

namespace kelmor {

// The audio hardware behind the sound device: one playback and one recording at a
// time, both running in the background once started.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // Whether there is a device to play on; a file opens only when there is.
    virtual bool hasOutputDevice() = 0;

    // Starts playing `pcm`, which the caller keeps unchanged until stopPlayback() or the
    // next startPlayback(), and returns at once; false when the device refused.
    virtual bool startPlayback(const PcmFormat& format, std::span<const char> pcm) = 0;
    // Bytes of the current or last playback played so far: all of them once it has ended.
    virtual std::size_t playedBytes() = 0;
    virtual bool isPlaying() = 0;
    virtual void stopPlayback() = 0;

    // Starts capturing in `format` and returns at once; false when the device refused.
    virtual bool startRecording(const PcmFormat& format) = 0;
    // Ends capturing and hands over everything captured since startRecording().
    virtual std::vector<char> stopRecording() = 0;
};

} // namespace kelmor
