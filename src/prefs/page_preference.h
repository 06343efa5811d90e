#pragma once

// The program's preference file, "KelmorPref.ini" in the config folder, and the one key in it
// that the Options dialog does not own: the Page tab's "HTML5 page" choice. Pure C++, no Qt.

#include <string>

namespace kelmor {

inline constexpr const char* kPreferenceFileName = "KelmorPref.ini";
inline constexpr const char* kPreferenceSection = "PREFERENCES";

// "1" when ticked, "0" when not; a missing key, or a value that is no integer, reads as not
// ticked.
inline constexpr const char* kHtml5PageKey = "HTML5 Page";
inline constexpr bool kHtml5PageDefault = false;

bool loadHtml5Page(const std::string& configDir);

// Writes the key at once, keeping every other key of the file; throws "Unable to write to PATH".
void saveHtml5Page(const std::string& configDir, bool ticked);

} // namespace kelmor
