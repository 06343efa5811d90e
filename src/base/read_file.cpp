#include "base/read_file.h"

#include "base/messages.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelmor {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

int FileDescriptor::release() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

FileDescriptor openRegularFile(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw Error(format(msg::kCannotOpenFile, path));
    // Non-blocking only mattered for the open; reads from here on wait for slow devices.
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw Error(format(msg::kCannotOpenFile, path));
    return file;
}

std::string readWholeFile(const std::string& path, std::size_t limit) {
    const FileDescriptor file = openRegularFile(path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw Error(format(msg::kCannotOpenFile, path));
    if (static_cast<std::size_t>(info.st_size) > limit)
        throw FileTooLarge(format(msg::kFileTooLarge, path));

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    while (bytes.size() <= limit) {
        const std::size_t left = limit - bytes.size();
        const std::size_t want = left < sizeof chunk ? left + 1 : sizeof chunk;
        const ssize_t got = ::read(file.get(), chunk, want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw Error(format(msg::kCannotOpenFile, path));
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    if (bytes.size() > limit)
        throw FileTooLarge(format(msg::kFileTooLarge, path));
    return bytes;
}

} // namespace kelmor
