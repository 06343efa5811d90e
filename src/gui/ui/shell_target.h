#pragma once

#include <QString>
#include <QUrl>

namespace kelmor {

class Shell;

// What the shell is handed for a file box's text: a web address as it stands, anything else
// as the file it names, a relative name taken from `folder` (the folder the file was written
// or read in), as an absolute file:// address.
QUrl shellTarget(const QString& text, const QString& folder);

// Opens the target; throws "No program opened %s" when the desktop reports that nothing
// could open it.
void openInShell(Shell& shell, const QUrl& target);

} // namespace kelmor
