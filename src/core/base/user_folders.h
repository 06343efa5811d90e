#pragma once

#include <filesystem>

namespace kelmor {

// One of the user's base folders of the desktop: the absolute path in `variable`
// (XDG_CONFIG_HOME, XDG_CACHE_HOME), or `underHome` (".config", ".cache") in the home folder when
// the variable is unset or relative. The home folder is $HOME, or the account's entry.
std::filesystem::path userBaseFolder(const char* variable, const char* underHome);

} // namespace kelmor
