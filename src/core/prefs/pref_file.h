#pragma once

// The program's preference file: every key it holds, once, with what it means. Pure C++, no Qt.

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>

namespace kelmor {

// The file in the config folder, and the one section its keys live in.
inline constexpr const char* kPrefFileName = "KelmorPref.ini";
inline constexpr const char* kPrefSection = "PREFERENCES";

// The thirteen paths of the Options dialog, in the order of their keys in the file.
enum class PrefPath {
    Images,
    Sounds,
    Projects,
    HtmlEditor,
    Gif,
    Bmp,
    Jpg,
    Html,
    Text,
    Frames,
    Png,
    WebP,
    Svg
};
inline constexpr std::size_t kPrefPathCount = 13;

// The three window flags: which parts of the main window are shown.
enum class PrefFlag { HtmlPanel, PicsPanel, ProjectsToolBar };
inline constexpr std::size_t kPrefFlagCount = 3;

// The four view style pairs, one per group of lists.
enum class PrefLists { Projects, Pics, Sounds, Html };
inline constexpr std::size_t kPrefListsCount = 4;

// The choices a tab keeps itself and writes as soon as they change, outside the Options dialog.
enum class PrefChoice { Html5Page, PicsThumbnails, GifsThumbnails };

// The projects of File / Open Recent, the most recent first.
inline constexpr std::size_t kRecentProjectCount = 8;

// Where the main window was when it last closed.
enum class PrefWindow { Geometry, Maximized, Splitters };

// What a key holds, and which of the enums above numbers it.
enum class PrefKind {
    Path,       // text: a folder or a program (PrefPath)
    Shown,      // "1" or "0": a part of the main window is shown (PrefFlag)
    LargeIcons, // "1" or "0": the "Large Icons" button of a view style pair (PrefLists)
    SmallIcons, // "1" or "0": the "Small Icons" button of the same pair (PrefLists)
    Choice,     // "1" or "0": a choice its tab writes at once (PrefChoice)
    Recent,     // text: the full path of a recent project (0 to kRecentProjectCount - 1)
    Window,     // text: the main window's place (PrefWindow)
};

// The tab or window whose behaviour a key sets.
enum class PrefOwner { ProjectsTab, PicsTab, HtmlTab, GifsTab, SoundWindow, MainWindow };

struct PrefKey {
    const char* section;
    const char* name;
    PrefKind kind;
    const char* defaultValue; // what a missing key reads as, in the file's form
    PrefOwner owner;
    std::size_t slot; // the key's value among those of its kind: its PrefPath, PrefFlag...

    // The Options dialog edits and writes its folders, window flags and view style pairs.
    constexpr bool inOptions() const {
        return kind == PrefKind::Path || kind == PrefKind::Shown || kind == PrefKind::LargeIcons ||
               kind == PrefKind::SmallIcons;
    }
    // Whether the value is text rather than "1" or "0".
    constexpr bool holdsText() const {
        return kind == PrefKind::Path || kind == PrefKind::Recent ||
               (kind == PrefKind::Window &&
                slot != static_cast<std::size_t>(PrefWindow::Maximized));
    }
};

namespace pref_table {
template <class Slot>
constexpr PrefKey key(const char* name, PrefKind kind, const char* defaultValue, PrefOwner owner,
                      Slot slot) {
    return {kPrefSection, name, kind, defaultValue, owner, static_cast<std::size_t>(slot)};
}
} // namespace pref_table

// Every key of the file, in the order a file the program creates lists them: the Options
// dialog's OK writes its keys in this order. A missing key reads as its default, so a missing
// file shows every part of the window and ends every view style pair on "Small Icons".
// "Smalll Icons" is spelt with three l's: that is the key's name in the file.
inline constexpr auto kPreferenceKeys = [] {
    using enum PrefKind;
    using enum PrefOwner;
    using pref_table::key;
    return std::array{
        key("Image Directory", Path, "", ProjectsTab, PrefPath::Images),
        key("Sounds Directory", Path, "", SoundWindow, PrefPath::Sounds),
        key("Buttons Directory", Path, "", ProjectsTab, PrefPath::Projects),
        key("Html Editor", Path, "", HtmlTab, PrefPath::HtmlEditor),
        key("Gif", Path, "", PicsTab, PrefPath::Gif),
        key("Bmp", Path, "", PicsTab, PrefPath::Bmp),
        key("Jpg", Path, "", PicsTab, PrefPath::Jpg),
        key("Html2", Path, "", HtmlTab, PrefPath::Html),
        key("Text", Path, "", HtmlTab, PrefPath::Text),
        key("Bmp2", Path, "", GifsTab, PrefPath::Frames),
        key("Html", Shown, "1", HtmlTab, PrefFlag::HtmlPanel),
        key("Image", Shown, "1", PicsTab, PrefFlag::PicsPanel),
        key("Project", Shown, "1", ProjectsTab, PrefFlag::ProjectsToolBar),
        key("Large Icons", LargeIcons, "1", ProjectsTab, PrefLists::Projects),
        key("Smalll Icons", SmallIcons, "1", ProjectsTab, PrefLists::Projects),
        key("Large Icons2", LargeIcons, "1", PicsTab, PrefLists::Pics),
        key("Smalll Icons2", SmallIcons, "1", PicsTab, PrefLists::Pics),
        key("Large Icons3", LargeIcons, "1", SoundWindow, PrefLists::Sounds),
        key("Smalll Icons3", SmallIcons, "1", SoundWindow, PrefLists::Sounds),
        key("Large Icons4", LargeIcons, "1", HtmlTab, PrefLists::Html),
        key("Smalll Icons4", SmallIcons, "1", HtmlTab, PrefLists::Html),
        // The PNG, WebP and SVG folders came after every key above, so a file the program
        // creates lists them where an older file gains them: at the end.
        key("Png", Path, "", PicsTab, PrefPath::Png),
        key("WebP", Path, "", PicsTab, PrefPath::WebP),
        key("Svg", Path, "", PicsTab, PrefPath::Svg),
        // The "HTML5 page" box of the Page tab in the Projects tab's button editor.
        key("HTML5 Page", Choice, "0", ProjectsTab, PrefChoice::Html5Page),
        // Thumbnail View, remembered per list pair with the suffix of the pair's "Large Icons"
        // key: the Pics tab's lists, and the Gifs tab's frame source list.
        key("Thumbnails2", Choice, "0", PicsTab, PrefChoice::PicsThumbnails),
        key("Thumbnails5", Choice, "0", GifsTab, PrefChoice::GifsThumbnails),
        // File / Open Recent, the most recent first, and the main window's place when it last
        // closed: "left,top,width,height", whether it was maximised, and the splitters' sizes
        // as "NAME:a,b;NAME:a,b".
        key("Recent Project1", Recent, "", ProjectsTab, 0),
        key("Recent Project2", Recent, "", ProjectsTab, 1),
        key("Recent Project3", Recent, "", ProjectsTab, 2),
        key("Recent Project4", Recent, "", ProjectsTab, 3),
        key("Recent Project5", Recent, "", ProjectsTab, 4),
        key("Recent Project6", Recent, "", ProjectsTab, 5),
        key("Recent Project7", Recent, "", ProjectsTab, 6),
        key("Recent Project8", Recent, "", ProjectsTab, 7),
        key("Window Geometry", Window, "", MainWindow, PrefWindow::Geometry),
        key("Window Maximized", Window, "0", MainWindow, PrefWindow::Maximized),
        key("Window Splitters", Window, "", MainWindow, PrefWindow::Splitters),
    };
}();

// The key of a kind and slot; a pair that no key has does not compile where it is constant.
constexpr const PrefKey& prefKey(PrefKind kind, std::size_t slot) {
    for (const PrefKey& key : kPreferenceKeys)
        if (key.kind == kind && key.slot == slot)
            return key;
    throw std::out_of_range("no such preference key");
}

// The slot of the key of `kind` that belongs to `owner`: a tab's window flag or view style pair
// (LargeIcons); nothing when it has none.
constexpr std::optional<std::size_t> ownedSlot(PrefOwner owner, PrefKind kind) {
    for (const PrefKey& key : kPreferenceKeys)
        if (key.owner == owner && key.kind == kind)
            return key.slot;
    return std::nullopt;
}

constexpr const PrefKey& prefKey(PrefPath path) {
    return prefKey(PrefKind::Path, static_cast<std::size_t>(path));
}

constexpr const PrefKey& prefKey(PrefChoice choice) {
    return prefKey(PrefKind::Choice, static_cast<std::size_t>(choice));
}

constexpr const PrefKey& prefKey(PrefWindow place) {
    return prefKey(PrefKind::Window, static_cast<std::size_t>(place));
}

} // namespace kelmor
