#pragma once

#include <QString>

namespace kelmor {

// The program's modules (kelmor-sound.so, kelmor-drawing.so) hold what only some commands need,
// with the libraries behind it, so that starting the program loads none of them. A module is
// looked for beside the program, then in the folder it is installed into; `setModuleFolder`
// names a folder to look in first (the tests' build tree).
void setModuleFolder(const QString& folder);

// Loads the module `file` once and calls its entry `entry`, a function of no arguments
// returning the module's table. The module stays loaded until the program ends, as what it made
// may live that long. Null when it cannot be loaded, with the reason in `failure`.
const void* loadModuleTable(const char* file, const char* entry, QString& failure);

} // namespace kelmor
