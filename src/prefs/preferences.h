#pragma once

#include "prefs/list_style.h"

#include <QString>

namespace kelmor {

// What the Options dialog's controls change in the main window as soon as they
// are clicked (and while the preference file is loaded).
class PreferenceReactions {
public:
    virtual ~PreferenceReactions() = default;
    virtual void showHtmlFileLists(bool shown) = 0;
    virtual void showPicsImageLists(bool shown) = 0;
    virtual void showProjectsToolBar(bool shown) = 0;
    virtual void setProjectListStyle(ListStyle style) = 0;
    virtual void setPictureListsStyle(ListStyle style) = 0;
    virtual void setHtmlListsStyle(ListStyle style) = 0;
    virtual void setProjectsFolder(const QString& folder) = 0;
};

} // namespace kelmor
