#pragma once

#include "ui/services.h"

#include <QString>
#include <functional>

namespace kelmor {

// One document of a tab that may hold changes no file has yet: the Button list, the Html
// editor's text, the Gifs tab's frame slots.
struct UnsavedWork {
    bool modified = false;
    QString name; // what "Save changes to %s?" names
    // Saves the document; false when the user cancelled a dialog on the way.
    std::function<bool()> save;
};

// Before changes would be lost: asks "Save changes to NAME?" when the document holds any, and
// saves on Save. True when the caller may go on: nothing was changed, the user discarded the
// changes, or they were saved; false on Cancel or a cancelled save.
bool settleUnsavedWork(Dialogs& dialogs, const UnsavedWork& work);

} // namespace kelmor
