#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// Names (not paths) of the entries of `folder` matching the wildcard `pattern` (* and ?), letter
// case ignored, files and folders alike, hidden ones too; an empty folder means the filesystem
// root. A missing folder gives none.
std::vector<std::string> scanFolder(const std::string& folder, const std::string& pattern);
bool wildcardMatch(std::string_view pattern, std::string_view name); // case-insensitive
// folder + separator + name; an empty folder gives "/" + name.
std::string joinPath(const std::string& folder, const std::string& name);

} // namespace kelmor
