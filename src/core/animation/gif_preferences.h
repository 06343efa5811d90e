#pragma once

// The settings of the Gifs Options dialog and their file, "KelGifPref.ini" in
// the config folder beside "KelmorPref.ini". Pure C++, no Qt.

#include <string>

namespace kelmor {

struct GifPreferences {
    static constexpr const char* kFileName = "KelGifPref.ini";
    static constexpr const char* kSection = "PREFERENCES";

    std::string loops; // the Loop box text, as typed
    std::string speed; // the Speed box text, as typed
    bool crop = true;
    bool merge = true;
    bool palette = true;
};

// Reads the keys "Loops", "Speed", "Crop", "Merge", "Palette" in that order. A
// missing file or key gives an empty text or a ticked box; a switch is an
// integer ("0" or "0x0" not ticked, any other number ticked), and a value that
// is no integer counts as missing.
GifPreferences loadGifPreferences(const std::string& configDir);

// Writes the five keys in the same order, the texts as they stand and the
// switches as "1" or "0". Throws "Unable to write to PATH" at the first key
// that cannot be written; the keys before it stay written.
void saveGifPreferences(const std::string& configDir, const GifPreferences& preferences);

} // namespace kelmor
