#pragma once

#include "ui/services.h"

namespace kelmor {

// The help contents page inside the program's data folder.
QString helpFile(const AppPaths& paths);

// Puts the help pages and the empty default sound (sounds/default.wav, which
// recording starts from) into the data folder from the copies embedded in the
// program, where they are missing or empty, as an installer would.
void installDataFiles(const AppPaths& paths);

} // namespace kelmor
