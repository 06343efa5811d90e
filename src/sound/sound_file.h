#pragma once

#include "sound/sound_clip.h"

#include <string>

namespace kelmor {

// Reads a WAV file into memory. Throws Error("Cannot open sound file PATH: REASON.")
// when the file is missing, unreadable, not a WAV file or damaged beyond reading.
SoundClip readSoundFile(const std::string& path);

// Writes the clip as a WAV file in its save encoding, through a temporary file that
// replaces the target only when complete. Throws Error("Cannot create file PATH").
void writeSoundFile(const std::string& path, const SoundClip& clip);

} // namespace kelmor
