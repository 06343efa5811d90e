#pragma once

#include "ui/list_style.h"

#include <QString>
#include <array>
#include <optional>

namespace kelmor {

// The ten paths of the Options dialog, in the order of their keys in the file.
enum class PrefPath { Images, Sounds, Projects, HtmlEditor, Gif, Bmp, Jpg, Html, Text, Frames };
inline constexpr std::size_t kPrefPathCount = 10;

// The three window flags: which parts of the main window are shown.
enum class PrefFlag { HtmlPanel, PicsPanel, ProjectsToolBar };
inline constexpr std::size_t kPrefFlagCount = 3;

// The four view style pairs, one per group of lists.
enum class PrefLists { Projects, Pics, Sounds, Html };
inline constexpr std::size_t kPrefListsCount = 4;

// The preference values of the run. Created before every window; the Options
// dialog edits it as its controls change, and every reader asks it at the
// moment of use.
class PreferenceStore {
public:
    QString path(PrefPath key) const { return paths_[index(key)]; }
    void setPath(PrefPath key, const QString& value) { paths_[index(key)] = value; }

    bool flag(PrefFlag key) const { return flags_[index(key)]; }
    void setFlag(PrefFlag key, bool shown) { flags_[index(key)] = shown; }

    // The checked button of a pair; empty when neither is checked.
    std::optional<ListStyle> listStyle(PrefLists key) const { return styles_[index(key)]; }
    void setListStyle(PrefLists key, std::optional<ListStyle> style) {
        styles_[index(key)] = style;
    }

private:
    template <class Key> static std::size_t index(Key key) { return static_cast<std::size_t>(key); }

    std::array<QString, kPrefPathCount> paths_;
    std::array<bool, kPrefFlagCount> flags_{};
    std::array<std::optional<ListStyle>, kPrefListsCount> styles_;
};

} // namespace kelmor
