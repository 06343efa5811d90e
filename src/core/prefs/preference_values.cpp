#include "prefs/preference_values.h"

#include "prefs/ini_file.h"

#include <cstdlib>
#include <vector>

namespace kelmor {
namespace {

// The keys of a kind are numbered 0 to count - 1, each number once, so every value has one key.
constexpr bool numbersEachOnce(PrefKind kind, std::size_t count) {
    std::size_t keys = 0;
    for (const PrefKey& key : kPreferenceKeys) {
        if (key.kind != kind)
            continue;
        if (key.slot >= count || &prefKey(kind, key.slot) != &key)
            return false;
        ++keys;
    }
    return keys == count;
}

static_assert(numbersEachOnce(PrefKind::Path, kPrefPathCount));
static_assert(numbersEachOnce(PrefKind::Shown, kPrefFlagCount));
static_assert(numbersEachOnce(PrefKind::LargeIcons, kPrefListsCount));
static_assert(numbersEachOnce(PrefKind::SmallIcons, kPrefListsCount));
static_assert(numbersEachOnce(PrefKind::Recent, kRecentProjectCount));
static_assert(numbersEachOnce(PrefKind::Window, 3));

bool isTrue(const std::string& stored) {
    return stored == "1";
}

std::string boolean(bool value) {
    return value ? "1" : "0";
}

std::string readFrom(const IniFile& file, const PrefKey& key) {
    if (key.holdsText())
        return file.readString(key.section, key.name, key.defaultValue);
    return boolean(file.readBool(key.section, key.name, isTrue(key.defaultValue)));
}

} // namespace

std::optional<ListStyle> buttonStyle(PrefKind kind) {
    if (kind == PrefKind::LargeIcons)
        return ListStyle::Large;
    if (kind == PrefKind::SmallIcons)
        return ListStyle::Small;
    return std::nullopt;
}

std::string Preferences::stored(const PrefKey& key) const {
    if (key.kind == PrefKind::Path)
        return paths_[key.slot];
    if (key.kind == PrefKind::Shown)
        return boolean(flags_[key.slot]);
    return boolean(styles_[key.slot] == buttonStyle(key.kind));
}

bool Preferences::take(const PrefKey& key, const std::string& stored) {
    if (key.kind == PrefKind::Path) {
        paths_[key.slot] = stored;
        return false;
    }
    if (!isTrue(stored))
        return false;
    if (key.kind == PrefKind::Shown)
        flags_[key.slot] = true;
    else
        styles_[key.slot] = buttonStyle(key.kind);
    return true;
}

std::string expandHome(const std::string& path) {
    if (path != "~" && !path.starts_with("~/"))
        return path;
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0')
        return path;
    return std::string(home) + path.substr(1);
}

std::string readPreference(const std::string& configDir, const PrefKey& key) {
    return readFrom(IniFile(configDir, kPrefFileName), key);
}

void loadPreferences(const std::string& configDir, Preferences& values,
                     const std::function<void(const PrefKey&)>& ticked) {
    const IniFile file(configDir, kPrefFileName);
    for (const PrefKey& key : kPreferenceKeys)
        if (key.inOptions() && values.take(key, readFrom(file, key)))
            ticked(key);
}

void savePreferences(const std::string& configDir, const Preferences& values) {
    std::vector<IniEntry> entries;
    for (const PrefKey& key : kPreferenceKeys)
        if (key.inOptions())
            entries.push_back({key.section, key.name, values.stored(key)});
    IniFile(configDir, kPrefFileName).write(entries);
}

} // namespace kelmor
