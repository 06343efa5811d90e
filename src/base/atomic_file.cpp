#include "base/atomic_file.h"

#include "base/error.h"
#include "base/messages.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kelmor {
namespace {

[[noreturn]] void cannotCreate(const std::string& path) {
    throw Error(format(msg::kCannotCreateFile, path));
}

// Symbolic links followed from one path at most, as the kernel allows.
constexpr int kMaxLinkHops = 40;

// The path a chain of symbolic links ends at; for a link to a missing file, the path of the
// file it names, so that saving creates it there and the link stays.
std::string linkTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) == sizeof target)
            return current;
        std::string next(target, static_cast<size_t>(length));
        const size_t slash = current.rfind('/');
        if (next.front() != '/' && slash != std::string::npos)
            next.insert(0, current, 0, slash + 1);
        current = std::move(next);
    }
    return current;
}

// Creates a new file with a short random name beside `target` (so that any name the file
// system accepts for the target still leaves room); -1 with errno set when it cannot.
int createTemporary(const std::string& target, mode_t mode, std::string& temp) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::minstd_rand random(std::random_device{}());
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder + ".kel";
        for (int i = 0; i < 6; ++i)
            temp += kLetters[pick(random)];
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes the bytes into the existing file itself: the only way for pipes and devices, and for
// files whose owner or links a rename would lose. A regular file is first given the room the
// bytes need, so a full disk fails before its old bytes are touched, and cut to their length.
bool writeInPlace(const std::string& path, std::string_view bytes, bool regular) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const auto size = static_cast<off_t>(bytes.size());
    bool ok = true;
    if (regular && ::fallocate(fd, 0, 0, size) != 0)
        ok = errno != ENOSPC && errno != EDQUOT && errno != EFBIG;
    ok = ok && writeAllBytes(fd, bytes);
    if (regular)
        ok = ok && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

enum class Replaced { Done, NeedsInPlace, Failed };

// Writes the bytes to a temporary file and renames it over `target`. An existing target's
// permission bits, owner and group go to the new file first; NeedsInPlace when the process
// cannot give it the owner or group, or the folder refuses a temporary file.
Replaced replaceThroughTemporary(const std::string& target, std::string_view bytes,
                                 const struct stat* old) {
    std::string temp;
    const int fd = createTemporary(target, old ? 0600 : 0666, temp);
    if (fd < 0)
        return old && (errno == EACCES || errno == EPERM) ? Replaced::NeedsInPlace
                                                          : Replaced::Failed;
    bool ok = true;
    if (old) {
        struct stat made {};
        ok = ::fstat(fd, &made) == 0;
        if (ok && (made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
            ::fchown(fd, old->st_uid, old->st_gid) != 0) {
            ::close(fd);
            ::unlink(temp.c_str());
            return Replaced::NeedsInPlace;
        }
        ok = ok && ::fchmod(fd, old->st_mode & 07777) == 0;
    }
    ok = ok && writeAllBytes(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), target.c_str()) == 0)
        return Replaced::Done;
    ::unlink(temp.c_str());
    return Replaced::Failed;
}

} // namespace

bool writeAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

void writeFileReplacing(const std::string& path, std::string_view bytes) {
    if (path.empty())
        cannotCreate(path);
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0) {
        if (errno != ENOENT ||
            replaceThroughTemporary(linkTarget(path), bytes, nullptr) != Replaced::Done)
            cannotCreate(path);
        return;
    }
    if (S_ISDIR(existing.st_mode))
        cannotCreate(path);
    if (!S_ISREG(existing.st_mode)) {
        if (!writeInPlace(path, bytes, false))
            cannotCreate(path);
        return;
    }
    const std::string target = linkTarget(path);
    // A rename needs only the folder's permission: the file's own protection is checked here.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        cannotCreate(path);
    Replaced result = existing.st_nlink > 1 ? Replaced::NeedsInPlace
                                            : replaceThroughTemporary(target, bytes, &existing);
    if (result == Replaced::NeedsInPlace)
        result = writeInPlace(target, bytes, true) ? Replaced::Done : Replaced::Failed;
    if (result != Replaced::Done)
        cannotCreate(path);
}

} // namespace kelmor
