#pragma once

#include "base/error.h"

#include <cstddef>
#include <string>

namespace kelmor {

// The most any whole-file read takes unless its caller sets a smaller limit.
inline constexpr std::size_t kReadLimit = std::size_t{1} << 30;

// Raised by readWholeFile for a file that holds more bytes than the caller's limit.
class FileTooLarge : public Error {
public:
    using Error::Error;
};

// An open file descriptor, closed when the object goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) noexcept : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const noexcept { return fd_; }
    // Gives up ownership: the caller closes the descriptor.
    int release() noexcept;

private:
    int fd_;
};

// Opens a regular file for reading. Throws Error("Cannot open file PATH") when it cannot be
// opened or is anything else: a folder, a named pipe, a socket or a device. The open does not
// block (a named pipe without a writer would wait for ever); the descriptor it returns reads
// normally, so a file on a slow device still reads whole.
FileDescriptor openRegularFile(const std::string& path);

// Reads the first `count` bytes of a regular file (fewer when it is shorter), as openRegularFile
// opens it: a header read without reading the rest.
std::string readFileStart(const std::string& path, std::size_t count);

// Reads a whole regular file of at most `limit` bytes. Throws Error("Cannot open file PATH")
// when it cannot be opened or read, or is not a regular file (see openRegularFile), and
// FileTooLarge("File PATH is too large") when it holds more than `limit` bytes. At most
// limit + 1 bytes are ever read, so a file that grows while it is read cannot make the read
// unbounded.
std::string readWholeFile(const std::string& path, std::size_t limit = kReadLimit);

} // namespace kelmor
