#pragma once

#include <string>
#include <string_view>

namespace kelmor {

// Writes a whole file the way a careful editor saves it. Throws Error("Cannot create file
// PATH") when the file cannot be created or written.
// - A symbolic link is followed: its final target is replaced and the link stays. In a sticky
//   folder that everyone may write, such as /tmp, a link is followed only when the process or
//   the folder's owner owns it (what the kernel's protected_symlinks rule allows) and what it
//   names is missing or has the link's owner; any other link there is refused, so that a link
//   planted by another user cannot lead the save to a file of the user's.
// - A file that is not a regular file (a named pipe, a terminal, a device) is written in place.
// - An existing file the process may not write is left as it is, and the save fails.
// - A regular file is otherwise replaced by a new file in its own folder, renamed over it once
//   every byte is on disk: a failure leaves the old file whole. The new file is unnamed
//   (O_TMPFILE) until just before the rename where the file system offers that, so a process
//   killed while it writes leaves nothing behind; elsewhere it has a short hidden name from the
//   start. It keeps the old file's permission bits, owner and group.
// - Where a rename cannot keep the owner or group, would break hard links, or the folder refuses
//   a new file, the bytes are written into the existing file instead. A copy of its old contents
//   is kept first in ".NAME.kelmor-backup" beside it, on disk, and removed once the new contents
//   are; a failed write puts the old contents back, and after a crash the copy is still there.
//   When no copy can be made because the folder takes no new file (a read-only folder holding a
//   writable file) or the file cannot be read, the bytes are written without one, as the user
//   chose to save; any other failure to make the copy fails the save before the file is touched.
//
// A path holding a NUL byte is refused: the system would stop reading it there and write
// another file than the one named.
void writeFileReplacing(const std::string& path, std::string_view bytes);

// Throws Error(format(pattern, path)) when `path` holds a control character (a byte below 0x20,
// or DEL). Every name the program writes that came from a project cell, a field or a command
// line goes through this check before any other, so the name the later checks see is the name
// written.
void checkPathName(std::string_view path, const char* pattern);

// Throws Error("Cannot create file PATH") when writeFileReplacing would refuse `path` for its
// permissions: an existing file the process may not write, a folder on the way that is missing,
// or a new file's folder that takes no new file. A command that writes several files checks the
// last one so before it writes the first.
void checkWritable(const std::string& path);

// Writes all bytes to an open descriptor, retrying after interruptions; false on a failure.
bool writeAllBytes(int fd, std::string_view bytes);

} // namespace kelmor
