#pragma once

#include "prefs/preference_store.h"
#include "ui/tab_page.h"

#include <optional>
#include <span>

namespace kelmor {

// Whether the main window's first show gives a tab's lists their stored style again.
enum class StyleOnFirstShow { Again, AsLoaded };

// One tab of the main window: how it is built and the preferences that belong to it.
struct TabEntry {
    TabFactory make;
    // The window flag that shows the tab's togglable part.
    std::optional<PrefFlag> part = std::nullopt;
    // The view style pair of the tab's file lists.
    std::optional<PrefLists> lists = std::nullopt;
    StyleOnFirstShow style = StyleOnFirstShow::Again;
};

// The main window's tabs, in their order on the tab control.
std::span<const TabEntry> mainWindowTabs();

} // namespace kelmor
