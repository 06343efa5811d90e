#include "prefs/page_preference.h"

#include "prefs/ini_file.h"
#include "prefs/preference_values.h"

#include <vector>

namespace kelmor {

bool loadHtml5Page(const std::string& configDir) {
    return readPreference(configDir, prefKey(PrefChoice::Html5Page)) == "1";
}

void saveHtml5Page(const std::string& configDir, bool ticked) {
    const PrefKey& key = prefKey(PrefChoice::Html5Page);
    IniFile(configDir, kPrefFileName).writeBool(key.section, key.name, ticked);
}

bool loadThumbnailView(const std::string& configDir, PrefChoice thumbnails,
                       std::optional<PrefLists> pair) {
    if (readPreference(configDir, prefKey(thumbnails)) != "1")
        return false;
    if (!pair)
        return true;
    const auto slot = static_cast<std::size_t>(*pair);
    for (const PrefKind kind : {PrefKind::LargeIcons, PrefKind::SmallIcons})
        if (readPreference(configDir, prefKey(kind, slot)) == "1")
            return false;
    return true;
}

void saveThumbnailView(const std::string& configDir, PrefChoice thumbnails, bool chosen,
                       std::optional<PrefLists> pair) {
    const PrefKey& key = prefKey(thumbnails);
    std::vector<IniEntry> entries{{key.section, key.name, chosen ? "1" : "0"}};
    if (chosen && pair)
        for (const PrefKind kind : {PrefKind::LargeIcons, PrefKind::SmallIcons}) {
            const PrefKey& button = prefKey(kind, static_cast<std::size_t>(*pair));
            entries.push_back({button.section, button.name, "0"});
        }
    IniFile(configDir, kPrefFileName).write(entries);
}

} // namespace kelmor
