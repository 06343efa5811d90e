#pragma once

#include <string>
#include <string_view>

namespace kelmor {

// Writes a whole file the way a careful editor saves it. Throws Error("Cannot create file
// PATH") when the file cannot be created or written.
// - A symbolic link is followed: its final target is replaced and the link stays.
// - A file that is not a regular file (a named pipe, a terminal, a device) is written in place.
// - An existing file the process may not write is left as it is, and the save fails.
// - A regular file is otherwise replaced through a temporary file with a short name in its own
//   folder, renamed over it once every byte is on disk: a failure leaves the old file whole.
//   The new file keeps the old one's permission bits, owner and group. Where a rename cannot
//   keep the owner or group, would break hard links, or the folder refuses a temporary file,
//   the bytes are written into the existing file instead.
void writeFileReplacing(const std::string& path, std::string_view bytes);

// Writes all bytes to an open descriptor, retrying after interruptions; false on a failure.
bool writeAllBytes(int fd, std::string_view bytes);

} // namespace kelmor
