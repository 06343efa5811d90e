#pragma once

// The keys of the preference file that record the last session: File / Open Recent and the
// main window's place. Pure C++, no Qt.

#include "prefs/pref_file.h"

#include <optional>
#include <string>
#include <vector>

namespace kelmor {

// The recent projects in the file, the most recent first, empty keys left out.
std::vector<std::string> loadRecentProjects(const std::string& configDir);

// Writes all eight keys at once, the unused ones empty; throws "Unable to write to PATH".
void saveRecentProjects(const std::string& configDir, const std::vector<std::string>& projects);

// The list with `path` put first: an equal entry further down goes, and the list keeps
// kRecentProjectCount entries at most.
std::vector<std::string> withRecentProject(std::vector<std::string> projects,
                                           const std::string& path);

// The main window's frame as it was when it closed.
struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    std::string splitters; // "NAME:a,b;NAME:a,b", as the window wrote it

    bool operator==(const WindowPlace&) const = default;
};

// Nothing when the file holds no place, or one whose geometry is not four integers with a
// positive width and height.
std::optional<WindowPlace> loadWindowPlace(const std::string& configDir);

// Writes the three keys at once; throws "Unable to write to PATH".
void saveWindowPlace(const std::string& configDir, const WindowPlace& place);

} // namespace kelmor
