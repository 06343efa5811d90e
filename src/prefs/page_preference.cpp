#include "prefs/page_preference.h"

#include "prefs/ini_file.h"

namespace kelmor {

bool loadHtml5Page(const std::string& configDir) {
    return IniFile(configDir, kPreferenceFileName)
        .readBool(kPreferenceSection, kHtml5PageKey, kHtml5PageDefault);
}

void saveHtml5Page(const std::string& configDir, bool ticked) {
    IniFile(configDir, kPreferenceFileName).writeBool(kPreferenceSection, kHtml5PageKey, ticked);
}

} // namespace kelmor
