#include "prefs/page_preference.h"

#include "prefs/ini_file.h"
#include "prefs/preference_values.h"

namespace kelmor {

bool loadHtml5Page(const std::string& configDir) {
    return readPreference(configDir, prefKey(PrefChoice::Html5Page)) == "1";
}

void saveHtml5Page(const std::string& configDir, bool ticked) {
    const PrefKey& key = prefKey(PrefChoice::Html5Page);
    IniFile(configDir, kPrefFileName).writeBool(key.section, key.name, ticked);
}

} // namespace kelmor
