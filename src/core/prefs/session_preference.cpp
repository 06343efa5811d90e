#include "prefs/session_preference.h"

#include "prefs/ini_file.h"
#include "prefs/preference_values.h"

#include <algorithm>
#include <array>

namespace kelmor {
namespace {

const PrefKey& recentKey(std::size_t slot) {
    return prefKey(PrefKind::Recent, slot);
}

// "l,t,w,h": four integers, each read as the preference file reads numbers.
std::optional<std::array<int, 4>> parseGeometry(const std::string& text) {
    std::array<int, 4> values{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t end = i + 1 < values.size() ? text.find(',', start) : text.size();
        if (end == std::string::npos)
            return std::nullopt;
        const std::optional<int> value = parseProfileInteger(text.substr(start, end - start));
        if (!value)
            return std::nullopt;
        values[i] = *value;
        start = end + 1;
    }
    return values;
}

} // namespace

std::vector<std::string> loadRecentProjects(const std::string& configDir) {
    const IniFile file(configDir, kPrefFileName);
    std::vector<std::string> projects;
    for (std::size_t slot = 0; slot < kRecentProjectCount; ++slot) {
        const PrefKey& key = recentKey(slot);
        std::string path = file.readString(key.section, key.name, key.defaultValue);
        if (!path.empty())
            projects.push_back(std::move(path));
    }
    return projects;
}

void saveRecentProjects(const std::string& configDir, const std::vector<std::string>& projects) {
    std::vector<IniEntry> entries;
    for (std::size_t slot = 0; slot < kRecentProjectCount; ++slot) {
        const PrefKey& key = recentKey(slot);
        entries.push_back(
            {key.section, key.name, slot < projects.size() ? projects[slot] : std::string()});
    }
    IniFile(configDir, kPrefFileName).write(entries);
}

std::vector<std::string> withRecentProject(std::vector<std::string> projects,
                                           const std::string& path) {
    std::erase(projects, path);
    projects.insert(projects.begin(), path);
    if (projects.size() > kRecentProjectCount)
        projects.resize(kRecentProjectCount);
    return projects;
}

std::optional<WindowPlace> loadWindowPlace(const std::string& configDir) {
    const IniFile file(configDir, kPrefFileName);
    auto read = [&file](PrefWindow which) {
        const PrefKey& key = prefKey(which);
        return file.readString(key.section, key.name, key.defaultValue);
    };
    const std::optional<std::array<int, 4>> geometry = parseGeometry(read(PrefWindow::Geometry));
    if (!geometry || (*geometry)[2] <= 0 || (*geometry)[3] <= 0)
        return std::nullopt;
    return WindowPlace{(*geometry)[0],
                       (*geometry)[1],
                       (*geometry)[2],
                       (*geometry)[3],
                       parseProfileInteger(read(PrefWindow::Maximized)).value_or(0) != 0,
                       read(PrefWindow::Splitters)};
}

void saveWindowPlace(const std::string& configDir, const WindowPlace& place) {
    const std::string geometry = std::to_string(place.left) + ',' + std::to_string(place.top) +
                                 ',' + std::to_string(place.width) + ',' +
                                 std::to_string(place.height);
    const PrefKey& geometryKey = prefKey(PrefWindow::Geometry);
    const PrefKey& maximizedKey = prefKey(PrefWindow::Maximized);
    const PrefKey& splittersKey = prefKey(PrefWindow::Splitters);
    const std::vector<IniEntry> entries{
        {geometryKey.section, geometryKey.name, geometry},
        {maximizedKey.section, maximizedKey.name, place.maximized ? "1" : "0"},
        {splittersKey.section, splittersKey.name, place.splitters}};
    IniFile(configDir, kPrefFileName).write(entries);
}

} // namespace kelmor
