#pragma once

#include "ui/list_style.h"

#include <QString>
#include <optional>

namespace kelmor {

// The preference values as other windows read them, at the moment of use.
class Preferences {
public:
    virtual ~Preferences() = default;
    virtual QString imagesFolder() const = 0;
    virtual QString soundsFolder() const = 0;
    virtual QString projectsFolder() const = 0;
    virtual QString htmlEditor() const = 0;
    virtual QString gifFolder() const = 0;
    virtual QString bmpFolder() const = 0;
    virtual QString jpgFolder() const = 0;
    virtual QString htmlFolder() const = 0;
    virtual QString textFolder() const = 0;
    virtual QString framesFolder() const = 0;

    virtual bool htmlPanelShown() const = 0;
    virtual bool picsPanelShown() const = 0;
    virtual bool projectsToolBarShown() const = 0;

    // The checked button of a view style pair; empty when neither is checked.
    virtual std::optional<ListStyle> projectsStyle() const = 0;
    virtual std::optional<ListStyle> picsStyle() const = 0;
    virtual std::optional<ListStyle> soundsStyle() const = 0;
    virtual std::optional<ListStyle> htmlStyle() const = 0;
};

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
