#pragma once

#include <QString>

namespace kelmor {

// The program's modules (kelmor-sound.so, kelmor-drawing.so) hold what only some commands need,
// with the libraries behind it, so that starting the program loads none of them. A module is
// looked for beside the program, then in the folder it is installed into; `setModuleFolder`
// names a folder to look in first (the tests' build tree).
void setModuleFolder(const QString& folder);

// Loads the module `file` and finds its entry `entry`. The module stays loaded until the program
// ends, as what it made may live that long. Null when it cannot be loaded or has no such entry,
// with the reason in `failure`.
void* loadModuleEntry(const char* file, const char* entry, QString& failure);

// The module's table, which its entry, a function of no arguments, returns; null as above.
template <typename Table>
const Table* loadModuleTable(const char* file, const char* entry, QString& failure) {
    using Entry = const Table* (*)();
    void* found = loadModuleEntry(file, entry, failure);
    return found != nullptr ? reinterpret_cast<Entry>(found)() : nullptr;
}

} // namespace kelmor
