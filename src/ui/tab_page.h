#pragma once

#include "prefs/list_style.h"
#include "ui/drawn_icons.h"
#include "ui/tool_commands.h"

#include <QWidget>
#include <memory>
#include <optional>

namespace kelmor {

// How the main window shows a tab: its caption and picture on the tab control,
// the window caption while it is shown, and its "&Views" menu with the one item
// that shows and hides the tab's togglable part (no menu when viewItem is null).
struct TabHeading {
    const char* caption;
    DrawnIcon icon;
    const char* windowTitle;
    const char* viewMenuName = nullptr;
    const char* viewItem = nullptr;
};

// When a tab builds its contents: with the tab, or when it is first shown or
// used, so that a tab the user has not opened yet costs nothing at start.
enum class ContentsBuilt { WithTab, OnFirstUse };

// One tab of the main window. The main window runs the steps every tab shares
// through this interface and builds the tab's menu and view toggle from it;
// each tab keeps its own tool bar, lists and handlers.
class TabPage : public QWidget {
    Q_OBJECT
public:
    explicit TabPage(const TabHeading& heading, QWidget* parent = nullptr,
                     ContentsBuilt built = ContentsBuilt::WithTab)
        : QWidget(parent), heading_(heading), built_(built == ContentsBuilt::WithTab) {}

    const TabHeading& heading() const { return heading_; }
    // The tab's command table; its menu commands fill the tab's own menu.
    const CommandSet& commands() const { return *commands_; }

    // Rebuilds the tab's file lists from their folders.
    virtual void refillLists() {}
    // Switches the tab's file lists between large and small icons.
    virtual void setListsStyle(ListStyle) {}
    // The part of the tab that its "&Views" menu shows and hides; nullptr when none.
    virtual QWidget* togglablePart() { return nullptr; }

    // Builds the contents of a tab built on first use; does nothing once built.
    void ensureBuilt();
    // The steps the main window runs on every tab at start and on the Options
    // dialog's changes. A tab whose contents are not built yet keeps them and
    // runs them, in this order, right after building its contents.
    void refillWhenBuilt();
    void setListsStyleWhenBuilt(ListStyle style);
    void showTogglablePart(bool shown);
    bool togglablePartShown();

    void setVisible(bool visible) override;

signals:
    // The tab's "Options..." command: the main window shows the Options dialog.
    void optionsRequested();

protected:
    void requestOptions() { emit optionsRequested(); }
    void setCommands(std::unique_ptr<CommandSet> commands) { commands_ = std::move(commands); }
    // Builds the tool bars, lists and views of a tab built on first use.
    virtual void buildContents() {}
    // A part of the contents, built first if needed: `part` is the member that building sets.
    template <class Part> Part& built(Part* const& part) {
        ensureBuilt();
        return *part;
    }

private:
    TabHeading heading_;
    std::unique_ptr<CommandSet> commands_;
    bool built_;
    std::optional<ListStyle> pendingStyle_;
    std::optional<bool> pendingPartShown_;
    bool pendingRefill_ = false;
};

} // namespace kelmor
