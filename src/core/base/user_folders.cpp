#include "base/user_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kelmor {
namespace {

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return home;
    if (const passwd* account = ::getpwuid(::getuid()); account != nullptr)
        return account->pw_dir;
    return "/";
}

} // namespace

std::filesystem::path userBaseFolder(const char* variable, const char* underHome) {
    if (const char* folder = std::getenv(variable); folder != nullptr && folder[0] == '/')
        return folder;
    return homeFolder() / underHome;
}

} // namespace kelmor
