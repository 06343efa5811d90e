#include "base/atomic_file.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "base/shown_value.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kelmor {
namespace {

[[noreturn]] void cannotCreate(const std::string& path) {
    throw Error(format(msg::kCannotCreateFile, path));
}

// The part of `path` up to and with its last slash; empty for a name in the current folder.
std::string folderPrefix(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The folder `path` lies in, as a name that opens.
std::string folderOf(const std::string& path) {
    const std::string prefix = folderPrefix(path);
    return prefix.empty() ? std::string(".") : prefix;
}

// Puts the folder's latest change of names on disk as well; some file systems refuse, and the
// file's own bytes are on disk by then.
void syncFolder(const std::string& path) {
    const FileDescriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        static_cast<void>(::fsync(folder.get()));
}

// Symbolic links followed from one path at most, as the kernel allows.
constexpr int kMaxLinkHops = 40;

// Whether the symbolic link `link` (described by `info`) may lead a save to `next`. Anyone may
// plant a link in a sticky folder that everyone may write, such as /tmp: there a link is followed
// only when the process or the folder's owner owns it, as the kernel's protected_symlinks rule
// allows, and what it names is missing or has the link's owner.
bool mayFollow(const std::string& link, const struct stat& info, const std::string& next) {
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0)
        return false;
    if ((folder.st_mode & (S_ISVTX | S_IWOTH)) != (S_ISVTX | S_IWOTH))
        return true;
    if (info.st_uid != ::geteuid() && info.st_uid != folder.st_uid)
        return false;
    struct stat target {};
    return ::lstat(next.c_str(), &target) != 0 || target.st_uid == info.st_uid;
}

// The path a chain of symbolic links ends at; for a link to a missing file, the path of the
// file it names, so that saving creates it there and the link stays. Empty when a link on the
// way may not be followed.
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
        if (next.front() != '/')
            next.insert(0, folderPrefix(current));
        if (!mayFollow(current, info, next))
            return {};
        current = std::move(next);
    }
    return current;
}

// The file a save of `path` writes (see linkTarget); empty when it may not be written at all: an
// empty path, or one holding a NUL byte, where the system would stop reading the name.
std::string saveTarget(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return {};
    return linkTarget(path);
}

// Calls `make` with short random hidden names beside `target` (so that any name the file system
// accepts for the target still leaves room) until one is not taken. The name `make` succeeded
// with, or empty with errno set.
std::string freshName(const std::string& target,
                      const std::function<bool(const std::string&)>& make) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::minstd_rand random(std::random_device{}());
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = folderPrefix(target) + ".kel";
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(random)];
        if (make(name))
            return name;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// Fills a new file's bytes; false on a failure.
using Fill = std::function<bool(int fd)>;

// Refused: the folder takes no new file, or the new file cannot get the owner it must keep.
enum class Written { Done, Refused, Failed };

// Gives a new file `old`'s permission bits, owner and group. Refused when the owner or group
// cannot be given and `ownerRequired`; without it, a file that cannot get them is left to its
// owner alone, so that no other group reads it.
Written keepAttributes(int fd, const struct stat& old, bool ownerRequired) {
    struct stat made {};
    if (::fstat(fd, &made) != 0)
        return Written::Failed;
    const bool given = (made.st_uid == old.st_uid && made.st_gid == old.st_gid) ||
                       ::fchown(fd, old.st_uid, old.st_gid) == 0;
    if (!given && ownerRequired)
        return Written::Refused;
    return ::fchmod(fd, old.st_mode & (given ? 07777 : 0700)) == 0 ? Written::Done
                                                                   : Written::Failed;
}

// One try of writeNewFile: with an unnamed file, or with a named one from the start. Sets
// `tryNamed` when the file system offers no unnamed file or cannot link it.
Written placeNewFile(const std::string& target, const Fill& fill, const struct stat* old,
                     bool ownerRequired, bool unnamed, bool& tryNamed) {
    const mode_t mode = old ? 0600 : 0666;
    std::string temp;
    FileDescriptor file;
    if (unnamed) {
        file = FileDescriptor(
            ::open(folderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        tryNamed = file.get() < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL);
    } else {
        temp = freshName(target, [&](const std::string& name) {
            file =
                FileDescriptor(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            return file.get() >= 0;
        });
    }
    if (file.get() < 0)
        return errno == EACCES || errno == EPERM ? Written::Refused : Written::Failed;
    const auto discard = [&temp](Written result) {
        if (!temp.empty())
            ::unlink(temp.c_str());
        return result;
    };
    if (const Written kept = old ? keepAttributes(file.get(), *old, ownerRequired) : Written::Done;
        kept != Written::Done)
        return discard(kept);
    if (!fill(file.get()) || ::fsync(file.get()) != 0)
        return discard(Written::Failed);
    if (unnamed) {
        const std::string self = "/proc/self/fd/" + std::to_string(file.get());
        temp = freshName(target, [&self](const std::string& name) {
            return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
        });
        tryNamed = temp.empty();
        if (tryNamed)
            return Written::Failed;
    }
    if (::close(file.release()) != 0 || ::rename(temp.c_str(), target.c_str()) != 0)
        return discard(Written::Failed);
    syncFolder(target);
    return Written::Done;
}

// Writes a new file with `fill` and renames it over `target` once every byte is on disk, so that
// `target` is never seen part-written. The file is unnamed (O_TMPFILE) where the file system
// offers it and named only for the instant between its link and the rename: a write cut short
// leaves nothing behind. Elsewhere it has a short hidden name beside `target` from the start.
// With `old`, the new file gets its permission bits, owner and group (see keepAttributes).
Written writeNewFile(const std::string& target, const Fill& fill, const struct stat* old,
                     bool ownerRequired) {
    bool tryNamed = false;
    const Written result = placeNewFile(target, fill, old, ownerRequired, true, tryNamed);
    return tryNamed ? placeNewFile(target, fill, old, ownerRequired, false, tryNamed) : result;
}

// Copies every byte of `from` to `to` from where `to` stands; the number copied, or -1.
off_t copyContents(int from, int to) {
    char chunk[65536];
    off_t copied = 0;
    for (;;) {
        const ssize_t got = ::pread(from, chunk, sizeof chunk, copied);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0 ? copied : -1;
        if (!writeAllBytes(to, std::string_view(chunk, static_cast<size_t>(got))))
            return -1;
        copied += got;
    }
}

// Writes the bytes over the whole of an open regular file. It is first given the room the bytes
// need, so that a full disk fails before an old byte is touched, and is cut to their length.
bool overwrite(int fd, std::string_view bytes) {
    const auto size = static_cast<off_t>(bytes.size());
    if (::fallocate(fd, 0, 0, size) != 0 && (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
        return false;
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAllBytes(fd, bytes) &&
           ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
}

// Puts the contents of the copy `backup` back into the open file.
bool restore(int fd, const std::string& backup) {
    const FileDescriptor copy(::open(backup.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (copy.get() < 0 || ::lseek(fd, 0, SEEK_SET) != 0)
        return false;
    const off_t size = copyContents(copy.get(), fd);
    return size >= 0 && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
}

// ".NAME.kelmor-backup" beside `target`; NAME is cut where the whole would be longer than any
// name a folder takes.
std::string backupName(const std::string& target) {
    static constexpr std::string_view kEnd = ".kelmor-backup";
    const std::string prefix = folderPrefix(target);
    std::string name = target.substr(prefix.size());
    name.resize(std::min(name.size(), NAME_MAX - 1 - kEnd.size()));
    return prefix + "." + name + std::string(kEnd);
}

// Writes the bytes into the existing regular file `target` itself, the only way for files whose
// owner or hard links a rename would lose. A copy of the old contents stays beside it until the
// new ones are on disk; a failed write puts the old contents back. Without a copy (the folder
// takes no new file, or the file cannot be read) the bytes are written all the same.
bool writeInPlaceKeepingCopy(const std::string& target, std::string_view bytes,
                             const struct stat& old) {
    const FileDescriptor out(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (out.get() < 0)
        return false;
    const std::string backup = backupName(target);
    bool copied = false;
    const FileDescriptor in(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (in.get() < 0 && errno != EACCES)
        return false;
    if (in.get() >= 0) {
        struct stat copyAttributes = old;
        copyAttributes.st_mode &= 0777;
        const Written made = writeNewFile(
            backup, [&in](int fd) { return copyContents(in.get(), fd) >= 0; }, &copyAttributes,
            false);
        if (made == Written::Failed)
            return false;
        copied = made == Written::Done;
    }
    if (!overwrite(out.get(), bytes)) {
        if (copied && restore(out.get(), backup))
            ::unlink(backup.c_str());
        return false;
    }
    if (copied) {
        ::unlink(backup.c_str());
        syncFolder(backup);
    }
    return true;
}

// Writes the bytes to what is not a regular file (a named pipe, a terminal, a device).
bool writeToDevice(const std::string& path, std::string_view bytes) {
    const FileDescriptor out(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    return out.get() >= 0 && writeAllBytes(out.get(), bytes);
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

void checkPathName(std::string_view path, const char* pattern) {
    if (hasControlCharacter(path))
        throw Error(format(pattern, std::string(path)));
}

void checkWritable(const std::string& path) {
    // As writeFileReplacing goes: what the path reaches is written when it exists, otherwise a
    // new file in the folder the links lead to.
    const std::string target = saveTarget(path);
    struct stat existing {};
    const bool exists = !target.empty() && ::stat(path.c_str(), &existing) == 0;
    const bool writable =
        exists ? !S_ISDIR(existing.st_mode) &&
                     ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0
               : !target.empty() && errno == ENOENT &&
                     ::faccessat(AT_FDCWD, folderOf(target).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    if (!writable)
        cannotCreate(path);
}

void writeFileReplacing(const std::string& path, std::string_view bytes) {
    const std::string target = saveTarget(path);
    if (target.empty())
        cannotCreate(path);
    const Fill fill = [bytes](int fd) { return writeAllBytes(fd, bytes); };
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0) {
        if (errno != ENOENT || writeNewFile(target, fill, nullptr, true) != Written::Done)
            cannotCreate(path);
        return;
    }
    if (S_ISDIR(existing.st_mode))
        cannotCreate(path);
    if (!S_ISREG(existing.st_mode)) {
        if (!writeToDevice(path, bytes))
            cannotCreate(path);
        return;
    }
    // A rename needs only the folder's permission: the file's own protection is checked here.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        cannotCreate(path);
    Written result =
        existing.st_nlink > 1 ? Written::Refused : writeNewFile(target, fill, &existing, true);
    if (result == Written::Refused)
        result = writeInPlaceKeepingCopy(target, bytes, existing) ? Written::Done : Written::Failed;
    if (result != Written::Done)
        cannotCreate(path);
}

} // namespace kelmor
