#include "ui/save_confirm.h"

#include "ui/services.h"

namespace kelmor {

bool confirmSaveAs(Dialogs& dialogs, const QString& path) {
    return !path.isEmpty() && dialogs.confirm(QStringLiteral("Save File as ") + path);
}

} // namespace kelmor
