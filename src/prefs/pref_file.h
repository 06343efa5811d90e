#pragma once

namespace kelmor {

// The program's preference file in the config folder, its one section, and
// the keys that windows other than the Options dialog read.
inline constexpr const char* kPrefFileName = "KelmorPref.ini";
inline constexpr const char* kPrefSection = "PREFERENCES";
inline constexpr const char* kPrefSoundsKey = "Sounds Directory";

} // namespace kelmor
