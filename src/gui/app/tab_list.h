#pragma once

#include "prefs/preference_store.h"
#include "ui/tab_page.h"

#include <optional>
#include <span>

namespace kelmor {

// Whether the main window's first show gives a tab's lists their stored style again.
enum class StyleOnFirstShow { Again, AsLoaded };

// One tab of the main window: how it is built, and whose keys of the preference table are its.
struct TabEntry {
    TabFactory make;
    PrefOwner owner;
    StyleOnFirstShow style = StyleOnFirstShow::Again;

    // The window flag that shows the tab's togglable part.
    std::optional<PrefFlag> part() const { return slot<PrefFlag>(PrefKind::Shown); }
    // The view style pair of the tab's file lists.
    std::optional<PrefLists> lists() const { return slot<PrefLists>(PrefKind::LargeIcons); }

private:
    template <class Slot> std::optional<Slot> slot(PrefKind kind) const {
        if (const std::optional<std::size_t> owned = ownedSlot(owner, kind))
            return static_cast<Slot>(*owned);
        return std::nullopt;
    }
};

// The main window's tabs, in their order on the tab control.
std::span<const TabEntry> mainWindowTabs();

} // namespace kelmor
