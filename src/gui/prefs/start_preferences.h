#pragma once

#include "prefs/preference_store.h"
#include "prefs/preferences.h"
#include "ui/services.h"

namespace kelmor {

// Loads "KelmorPref.ini" from the config folder into the store at start and
// shows its values in the main window, as ticking the Options dialog's controls
// would: a true window flag shows its part, a true style button sets its lists'
// style (a pair stored as both true ends on "Small Icons"), a false value
// changes nothing. A missing file or key counts as true. A reaction that fails
// shows its error and the loading goes on.
void loadStartPreferences(Services& services, PreferenceStore& store,
                          PreferenceReactions& reactions);

// What a view style button changes in the main window when it is checked. The sound list has
// no reaction: it takes its style whenever the sound window shows.
void reactToStyle(PreferenceReactions& reactions, PrefLists lists, ListStyle style);

} // namespace kelmor
