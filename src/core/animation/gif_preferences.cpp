#include "animation/gif_preferences.h"

#include "prefs/ini_file.h"

namespace kelmor {

GifPreferences loadGifPreferences(const std::string& configDir) {
    const IniFile file(configDir, GifPreferences::kFileName);
    const char* section = GifPreferences::kSection;
    GifPreferences preferences;
    preferences.loops = file.readString(section, "Loops", "");
    preferences.speed = file.readString(section, "Speed", "");
    preferences.crop = file.readBool(section, "Crop", true);
    preferences.merge = file.readBool(section, "Merge", true);
    preferences.palette = file.readBool(section, "Palette", true);
    return preferences;
}

void saveGifPreferences(const std::string& configDir, const GifPreferences& preferences) {
    IniFile file(configDir, GifPreferences::kFileName);
    const char* section = GifPreferences::kSection;
    file.writeString(section, "Loops", preferences.loops);
    file.writeString(section, "Speed", preferences.speed);
    file.writeBool(section, "Crop", preferences.crop);
    file.writeBool(section, "Merge", preferences.merge);
    file.writeBool(section, "Palette", preferences.palette);
}

} // namespace kelmor
