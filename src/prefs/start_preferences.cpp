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
                reactToFlag(reactions, static_cast<PrefFlag>(key.slot), true);
        });
    });
}

void reactToFlag(PreferenceReactions& reactions, PrefFlag flag, bool shown) {
    switch (flag) {
    case PrefFlag::HtmlPanel:
        return reactions.showHtmlFileLists(shown);
    case PrefFlag::PicsPanel:
        return reactions.showPicsImageLists(shown);
    case PrefFlag::ProjectsToolBar:
        return reactions.showProjectsToolBar(shown);
    }
}

void reactToStyle(PreferenceReactions& reactions, PrefLists lists, ListStyle style) {
    switch (lists) {
    case PrefLists::Projects:
        return reactions.setProjectListStyle(style);
    case PrefLists::Pics:
        return reactions.setPictureListsStyle(style);
    case PrefLists::Sounds:
        return;
    case PrefLists::Html:
        return reactions.setHtmlListsStyle(style);
    }
}

} // namespace kelmor
