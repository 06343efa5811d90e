#include "base/read_file.h"

#include "base/messages.h"

#include <algorithm>
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

namespace {

// Reads up to `count` bytes, fewer only at the end of the file; retries after interruptions.
std::size_t readUpTo(const FileDescriptor& file, char* into, std::size_t count,
                     const std::string& path) {
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(file.get(), into + got, count - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(format(msg::kCannotOpenFile, path));
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

} // namespace

std::string readFileStart(const std::string& path, std::size_t count) {
    const FileDescriptor file = openRegularFile(path);
    std::string head(count, '\0');
    head.resize(readUpTo(file, head.data(), count, path));
    return head;
}

std::string readWholeFile(const std::string& path, std::size_t limit) {
    const FileDescriptor file = openRegularFile(path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw Error(format(msg::kCannotOpenFile, path));
    if (static_cast<std::size_t>(info.st_size) > limit)
        throw FileTooLarge(format(msg::kFileTooLarge, path));

    // One byte more than the file's size is asked for, to tell a file that grows while it is read.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t got = readUpTo(file, bytes.data(), bytes.size(), path);
    char chunk[65536];
    while (got == bytes.size() && bytes.size() <= limit) {
        const std::size_t left = limit + 1 - bytes.size();
        const std::size_t more = readUpTo(file, chunk, std::min(left, sizeof chunk), path);
        bytes.append(chunk, more);
        got += more;
        if (more == 0)
            break;
    }
    bytes.resize(got);
    if (bytes.size() > limit)
        throw FileTooLarge(format(msg::kFileTooLarge, path));
    return bytes;
}

} // namespace kelmor
