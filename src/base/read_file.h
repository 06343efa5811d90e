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

// Reads a whole file of at most `limit` bytes. Throws Error("Cannot open file PATH") when it
// cannot be opened or read (a folder included), and FileTooLarge("File PATH is too large")
// when it holds more than `limit` bytes. At most limit + 1 bytes are ever read, so a file that
// grows while it is read, or a device without a size, cannot make the read unbounded.
std::string readWholeFile(const std::string& path, std::size_t limit = kReadLimit);

} // namespace kelmor
