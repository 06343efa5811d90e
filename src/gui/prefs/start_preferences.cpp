#include "prefs/start_preferences.h"

#include "prefs/ini_file.h"
#include "prefs/pref_file.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"

#include <functional>

namespace kelmor {

void loadStartPreferences(Services& services, PreferenceStore& store,
                          PreferenceReactions& reactions) {
    const IniFile file(toLocal(services.paths.configDir), kPrefFileName);
    for (std::size_t row = 0; row < kPrefPathCount; ++row)
        store.setPath(static_cast<PrefPath>(row),
                      toQt(file.readString(kPrefSection, kPrefPathKeys[row], "")));
    auto stored = [&file](std::size_t key) {
        return file.readBool(kPrefSection, kPrefFlagKeys[key], true);
    };
    auto react = [&services](const std::function<void()>& reaction) {
        runGuarded(services.dialogs, reaction);
    };

    for (std::size_t flag = 0; flag < kPrefFlagCount; ++flag)
        if (stored(flag)) {
            store.setFlag(static_cast<PrefFlag>(flag), true);
            react([&] { reactions.showPart(static_cast<PrefFlag>(flag), true); });
        }

    for (std::size_t pair = 0; pair < kPrefListsCount; ++pair)
        for (const ListStyle style : {ListStyle::Large, ListStyle::Small}) {
            if (!stored(kPrefFlagCount + 2 * pair + (style == ListStyle::Small ? 1 : 0)))
                continue;
            const auto lists = static_cast<PrefLists>(pair);
            store.setListStyle(lists, style);
            // The sound list has no reaction: it takes its style whenever the sound window shows.
            if (lists != PrefLists::Sounds)
                react([&] { reactions.setListStyle(lists, style); });
        }
}

} // namespace kelmor
