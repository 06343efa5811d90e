#include "prefs/page_preference.h"

#include "prefs/ini_file.h"

namespace kelmor {

bool loadHtml5Page(const std::string& configDir) {
    return IniFile(configDir, kPrefFileName)
        .readBool(kPrefSection, kHtml5PageKey, kHtml5PageDefault);
}

void saveHtml5Page(const std::string& configDir, bool ticked) {
    IniFile(configDir, kPrefFileName).writeBool(kPrefSection, kHtml5PageKey, ticked);
}

} // namespace kelmor
