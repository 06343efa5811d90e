#include "prefs/start_preferences.h"

#include "ui/error_guard.h"
#include "ui/qt_text.h"

namespace kelmor {

void loadStartPreferences(Services& services, PreferenceStore& store,
                          PreferenceReactions& reactions) {
    loadPreferences(toLocal(services.paths.configDir), store, [&](const PrefKey& key) {
        runGuarded(services.dialogs, [&] {
            if (const std::optional<ListStyle> style = buttonStyle(key.kind))
                reactToStyle(reactions, static_cast<PrefLists>(key.slot), *style);
            else
                reactions.showPart(static_cast<PrefFlag>(key.slot), true);
        });
    });
}

void reactToStyle(PreferenceReactions& reactions, PrefLists lists, ListStyle style) {
    if (lists != PrefLists::Sounds)
        reactions.setListStyle(lists, style);
}

} // namespace kelmor
