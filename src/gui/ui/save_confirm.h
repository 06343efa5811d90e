#pragma once

#include <QString>

namespace kelmor {

class Dialogs;

// "Save": asks "Save File as PATH" before writing over the file the current
// file box names. False when the box is empty or the user says no.
bool confirmSaveAs(Dialogs& dialogs, const QString& path);

} // namespace kelmor
