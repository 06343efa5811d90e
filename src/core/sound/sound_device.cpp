#include "sound/sound_device.h"

#include "base/error.h"
#include "base/messages.h"

#include <algorithm>

namespace kelmor {

SoundDevice::~SoundDevice() {
    endPlayback();
    endRecording();
}

void SoundDevice::open(const std::string& path) {
    endPlayback();
    endRecording();
    clip_.reset();
    position_ = 0;
    SoundClip clip = files_.read(path);
    if (!backend_.hasOutputDevice())
        throw Error(msg::soundOpenFailed(path, msg::kNoSoundDevice));
    clip_ = std::move(clip);
}

bool SoundDevice::play() {
    requireOpen();
    endPlayback();
    endRecording();
    if (position_ >= clip_->frames())
        position_ = 0;
    if (clip_->pcm.empty())
        return true;
    const std::size_t from = position_ * bytesPerFrame();
    playing_ =
        backend_.startPlayback(clip_->format, std::span<const char>(clip_->pcm).subspan(from));
    playStart_ = position_;
    return playing_;
}

bool SoundDevice::startRecording() {
    requireOpen();
    endPlayback();
    endRecording();
    recording_ = backend_.startRecording(clip_->format);
    return recording_;
}

void SoundDevice::stop() {
    requireOpen();
    endPlayback();
    endRecording();
}

void SoundDevice::seekToStart() {
    requireOpen();
    endPlayback();
    endRecording();
    position_ = 0;
}

void SoundDevice::save(const std::string& path) {
    requireOpen();
    if (path.empty())
        return;
    endRecording();
    files_.write(path, *clip_);
}

bool SoundDevice::isPlaying() {
    settlePlayback();
    return playing_;
}

std::size_t SoundDevice::position() {
    settlePlayback();
    return playing_ ? playedPosition() : position_;
}

void SoundDevice::requireOpen() const {
    if (!clip_)
        throw Error(msg::kNoMciDevice);
}

// A playback that reached its end leaves the position at the end. The backend is not
// stopped here, so the device can still sound out what it has buffered.
void SoundDevice::settlePlayback() {
    if (playing_ && !backend_.isPlaying()) {
        position_ = playedPosition();
        playing_ = false;
    }
}

// Also releases a finished playback, which may still refer to the clip.
void SoundDevice::endPlayback() {
    backend_.stopPlayback();
    if (playing_)
        position_ = playedPosition();
    playing_ = false;
}

std::size_t SoundDevice::playedPosition() {
    return std::min(playStart_ + backend_.playedBytes() / bytesPerFrame(), clip_->frames());
}

std::size_t SoundDevice::bytesPerFrame() const {
    return static_cast<std::size_t>(clip_->format.bytesPerFrame());
}

// Inserts what was captured at the position recording started from and moves past it.
void SoundDevice::endRecording() {
    if (!recording_)
        return;
    recording_ = false;
    std::vector<char> captured = backend_.stopRecording();
    captured.resize(captured.size() - captured.size() % bytesPerFrame());
    const auto at = clip_->pcm.begin() + static_cast<std::ptrdiff_t>(position_ * bytesPerFrame());
    clip_->pcm.insert(at, captured.begin(), captured.end());
    position_ += captured.size() / bytesPerFrame();
}

} // namespace kelmor
