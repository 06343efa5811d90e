#include "base/atomic_file.h"

#include "base/error.h"
#include "base/messages.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelmor {
namespace {

[[noreturn]] void cannotCreate(const std::string& path) {
    throw Error(format(msg::kCannotCreateFile, path));
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

void writeFileReplacing(const std::string& path, std::string_view bytes) {
    if (path.empty())
        cannotCreate(path);
    struct stat existing {};
    bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        cannotCreate(path);

    std::string temp = path + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        cannotCreate(path);
    mode_t mode = exists ? (existing.st_mode & 07777) : 0666;
    if (!exists) {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        cannotCreate(path);
    }
}

} // namespace kelmor
