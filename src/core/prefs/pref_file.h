#pragma once

#include <array>

namespace kelmor {

// The program's preference file in the config folder, its one section, and
// its keys.
inline constexpr const char* kPrefFileName = "KelmorPref.ini";
inline constexpr const char* kPrefSection = "PREFERENCES";
inline constexpr const char* kPrefSoundsKey = "Sounds Directory";

// The ten path keys, in file order and in the order of PrefPath.
inline constexpr std::array<const char*, 10> kPrefPathKeys{"Image Directory",
                                                           kPrefSoundsKey,
                                                           "Buttons Directory",
                                                           "Html Editor",
                                                           "Gif",
                                                           "Bmp",
                                                           "Jpg",
                                                           "Html2",
                                                           "Text",
                                                           "Bmp2"};

// The boolean keys, in file order: the three window flags in the order of PrefFlag, then
// "Large Icons" and "Small Icons" of each view style pair in the order of PrefLists.
inline constexpr std::array<const char*, 11> kPrefFlagKeys{
    "Html",          "Image",        "Project",       "Large Icons",
    "Smalll Icons",  "Large Icons2", "Smalll Icons2", "Large Icons3",
    "Smalll Icons3", "Large Icons4", "Smalll Icons4"};

} // namespace kelmor
