#pragma once

#include "sound/sound_clip.h"

#include <cstddef>
#include <string>

namespace kelmor {

// The most memory a sound read into memory may take, as PCM: about 25 minutes of 16-bit
// stereo at 44100 Hz. A longer sound is refused rather than taking the memory it asks for.
inline constexpr std::size_t kMaxSoundBytes = std::size_t{256} << 20;

// Reads a WAV file into memory. Throws Error("Cannot open sound file PATH: REASON.")
// when the file is missing, unreadable, not a regular file, not a WAV file, damaged beyond
// reading or holding more than kMaxSoundBytes of PCM. The file is opened without blocking, so
// a named pipe is refused instead of waiting for a writer.
SoundClip readSoundFile(const std::string& path);

// Writes the clip as a WAV file in its save encoding, through a temporary file that
// replaces the target only when complete. Throws Error("Cannot create file PATH").
void writeSoundFile(const std::string& path, const SoundClip& clip);

} // namespace kelmor
