#include "ui/services.h"

#include <QDir>
#include <QFileInfo>

namespace kelmor {

std::optional<QString> Dialogs::enterFolderOf(std::optional<QString> chosen) {
    if (chosen && !chosen->isEmpty())
        QDir::setCurrent(QFileInfo(*chosen).absolutePath());
    return chosen;
}

} // namespace kelmor
