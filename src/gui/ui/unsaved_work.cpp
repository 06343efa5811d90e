#include "ui/unsaved_work.h"

#include "base/error.h"
#include "base/messages.h"
#include "ui/qt_text.h"

namespace kelmor {

bool settleUnsavedWork(Dialogs& dialogs, const UnsavedWork& work) {
    if (!work.modified)
        return true;
    switch (dialogs.askSaveChanges(work.name)) {
    case Dialogs::SaveChoice::Save:
        return work.save();
    case Dialogs::SaveChoice::Discard:
        return true;
    case Dialogs::SaveChoice::Cancel:
        break;
    }
    return false;
}

} // namespace kelmor
