#pragma once

#include "prefs/list_style.h"
#include "prefs/preference_store.h"

namespace kelmor {

// What the Options dialog's controls change in the main window as soon as they
// are clicked (and while the preference file is loaded). The main window hands
// each reaction to the tab the preference belongs to.
class PreferenceReactions {
public:
    virtual ~PreferenceReactions() = default;
    // A window flag: shows or hides the part of the main window it names.
    virtual void showPart(PrefFlag flag, bool shown) = 0;
    // A view style pair: the lists of its group take the style.
    virtual void setListStyle(PrefLists lists, ListStyle style) = 0;
    // "&OK" stored the folders.
    virtual void foldersChanged() = 0;
};

} // namespace kelmor
