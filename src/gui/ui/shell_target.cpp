#include "ui/shell_target.h"

#include "base/error.h"
#include "base/messages.h"
#include "ui/qt_text.h"
#include "ui/services.h"

#include <QDir>
#include <QFileInfo>

namespace kelmor {

QUrl shellTarget(const QString& text, const QString& folder) {
    const QUrl url(text, QUrl::StrictMode);
    // A one-letter scheme is a drive, not an address; an existing file wins over an address.
    const QString path = QDir(folder).absoluteFilePath(text);
    if (url.isValid() && url.scheme().size() > 1 && !QFileInfo::exists(path))
        return url;
    return QUrl::fromLocalFile(QDir::cleanPath(path));
}

void openInShell(Shell& shell, const QUrl& target) {
    if (!shell.open(target)) {
        const QString shown = target.isLocalFile() ? target.toLocalFile() : target.toString();
        throw Error(format(msg::kNoProgramOpened, toLocal(shown)));
    }
}

} // namespace kelmor
