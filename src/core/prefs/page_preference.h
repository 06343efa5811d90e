#pragma once

// The keys of the preference file that the Options dialog does not own: the tabs' choices,
// written as soon as they change. Pure C++, no Qt.

#include "prefs/pref_file.h"

#include <optional>
#include <string>

namespace kelmor {

// "1" when ticked, "0" when not; a missing key, or a value that is no integer, reads as not
// ticked.
bool loadHtml5Page(const std::string& configDir);

// Writes the key at once, keeping every other key of the file; throws "Unable to write to PATH".
void saveHtml5Page(const std::string& configDir, bool ticked);

// The Thumbnails key of a view style pair whose lists offer Thumbnail View.
constexpr std::optional<PrefChoice> thumbnailChoice(PrefLists pair) {
    if (pair == PrefLists::Pics)
        return PrefChoice::PicsThumbnails;
    return std::nullopt;
}

// Whether a list pair starts in Thumbnail View: its Thumbnails key is "1" and, when it has a
// view style pair, neither of the pair's keys is, so a button chosen later in the Options
// dialog wins.
bool loadThumbnailView(const std::string& configDir, PrefChoice thumbnails,
                       std::optional<PrefLists> pair = std::nullopt);

// Writes the Thumbnails key at once, keeping every other key; choosing Thumbnail View also
// writes both keys of the view style pair "0". Throws "Unable to write to PATH".
void saveThumbnailView(const std::string& configDir, PrefChoice thumbnails, bool chosen,
                       std::optional<PrefLists> pair = std::nullopt);

} // namespace kelmor
