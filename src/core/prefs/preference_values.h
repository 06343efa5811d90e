#pragma once

// The values of the Options dialog's keys for the run, and their loading and saving over the
// table of the preference file's keys. Pure C++, no Qt.

#include "prefs/list_style.h"
#include "prefs/pref_file.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace kelmor {

// Created before every window; the Options dialog edits it as its controls change, and every
// reader asks it at the moment of use. Paths are kept as the file holds them.
class Preferences {
public:
    const std::string& path(PrefPath key) const { return paths_[index(key)]; }
    void setPath(PrefPath key, std::string value) { paths_[index(key)] = std::move(value); }

    bool flag(PrefFlag key) const { return flags_[index(key)]; }
    void setFlag(PrefFlag key, bool shown) { flags_[index(key)] = shown; }

    // The checked button of a pair; empty when neither is checked.
    std::optional<ListStyle> listStyle(PrefLists key) const { return styles_[index(key)]; }
    void setListStyle(PrefLists key, std::optional<ListStyle> style) {
        styles_[index(key)] = style;
    }

    // A key of the Options dialog in the file's form: a path as it stands, "1" or "0" for a
    // flag or a view style button.
    std::string stored(const PrefKey& key) const;
    // Takes a key of the Options dialog as read from the file, the way ticking its control
    // would: a path as it stands; a true flag or style button ticks it (a pair's "Small Icons"
    // then replaces its "Large Icons"); a false one changes nothing. True when it ticked.
    bool take(const PrefKey& key, const std::string& stored);

private:
    template <class Key> static std::size_t index(Key key) { return static_cast<std::size_t>(key); }

    std::array<std::string, kPrefPathCount> paths_;
    std::array<bool, kPrefFlagCount> flags_{};
    std::array<std::optional<ListStyle>, kPrefListsCount> styles_;
};

// The view style a style button's key stands for; nothing for other kinds.
std::optional<ListStyle> buttonStyle(PrefKind kind);

// A folder or program as typed, with a leading "~" or "~/" standing for the home folder ($HOME);
// any other text as it stands.
std::string expandHome(const std::string& path);

// A key's value in the file in the config folder, in the file's form ("1" or "0" for a
// boolean, whatever number the file holds); its default when the file or the key is missing.
std::string readPreference(const std::string& configDir, const PrefKey& key);

// Takes every key of the Options dialog from the file in the config folder, in the table's
// order, and hands each key that ticked its control to `ticked` before the next is read.
void loadPreferences(const std::string& configDir, Preferences& values,
                     const std::function<void(const PrefKey&)>& ticked);

// Writes every key of the Options dialog in one rewrite of the file, which ends as writing
// them one by one in the table's order would leave it (see IniFile::write).
void savePreferences(const std::string& configDir, const Preferences& values);

} // namespace kelmor
