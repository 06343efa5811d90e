#pragma once

#include "prefs/list_style.h"
#include "ui/drawn_icons.h"
#include "ui/services.h"
#include "ui/tool_commands.h"

#include <QWidget>
#include <QtGlobal>
#include <cstddef>
#include <memory>
#include <optional>
#include <typeinfo>
#include <vector>

class QAction;
class QMenu;

namespace kelmor {

class PreferenceStore;
class TabPage;

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

// What a tab is built with: the services, the preference store, and the other
// tabs' links, the narrow interfaces of ui/tab_links.h.
class TabContext {
public:
    TabContext(Services& services, const PreferenceStore& preferences)
        : services_(services), preferences_(preferences) {}
    virtual ~TabContext() = default;

    Services& services() const { return services_; }
    const PreferenceStore& preferences() const { return preferences_; }

    // The tab that offers the link. A tab listed after the asking one is built
    // first; the asking tab is not offered its own links.
    template <class Link> Link& link() {
        for (std::size_t index = 0; index < tabCount(); ++index)
            if (auto* found = dynamic_cast<Link*>(tab(index)))
                return *found;
        qFatal("no tab offers %s", typeid(Link).name());
    }

protected:
    virtual std::size_t tabCount() const { return 0; }
    // The listed tab at `index`, built if needed; nullptr while it is being built.
    virtual TabPage* tab(std::size_t) { return nullptr; }

private:
    Services& services_;
    const PreferenceStore& preferences_;
};

// One tab of the main window. The main window runs the steps every tab shares
// through this interface and builds the tab's menu and view toggle from it;
// each tab keeps its own tool bar, lists and handlers.
class TabPage : public QWidget {
    Q_OBJECT
public:
    explicit TabPage(const TabHeading& heading, QWidget* parent = nullptr,
                     ContentsBuilt built = ContentsBuilt::WithTab)
        : QWidget(parent), heading_(heading), built_(built == ContentsBuilt::WithTab) {}
    ~TabPage() override;

    const TabHeading& heading() const { return heading_; }
    // The tab's command table; its menu commands fill the tab's own menu.
    const CommandSet& commands() const { return *commands_; }

    // Rebuilds the tab's file lists from their folders.
    virtual void refillLists() {}
    // Switches the tab's file lists between large and small icons.
    virtual void setListsStyle(ListStyle) {}
    // The part of the tab that its "&Views" menu shows and hides; nullptr when none.
    virtual QWidget* togglablePart() { return nullptr; }
    // The Options dialog stored its folders: a tab showing a folder takes it again.
    virtual void foldersChanged() {}
    // The tab's steps when the main window is first shown: its lists are filled.
    virtual void firstShown() { refillWhenBuilt(); }
    // Before the main window closes: asks about the tab's unsaved changes, saving those the
    // user wants kept. False when the user cancelled, and the window stays open.
    virtual bool settleUnsavedWork() { return true; }
    // The main window closes.
    virtual void mainWindowClosing() {}
    // Commands whose keys answer on every tab, not only while this one is shown.
    virtual QList<QAction*> windowWideCommands() { return {}; }
    // The main window filled the tab's menu from its commands: the tab adds what changes at
    // run time (a list of recent files).
    virtual void menuFilled(QMenu&) {}

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
    // The tab's "Sounds..." command: the main window shows the sound window.
    void soundsRequested();
    // A "Design..." button: the main window shows the button designer for one button.
    void buttonDesignerRequested();
    // The tab's document gained or lost changes the title bar marks.
    void windowModifiedChanged(bool modified);

protected:
    void requestOptions() { emit optionsRequested(); }
    void requestSounds() { emit soundsRequested(); }
    void requestButtonDesigner() { emit buttonDesignerRequested(); }
    void setCommands(std::unique_ptr<CommandSet> commands) { commands_ = std::move(commands); }
    // Builds the tool bars, lists and views of a tab built on first use.
    virtual void buildContents() {}
    // A part of the contents, built first if needed: `part` is the member that building sets.
    template <class Part> Part& built(Part* const& part) {
        ensureBuilt();
        return *part;
    }
    // A window the tab opens beside the main window, living as long as the tab.
    // Closing it never ends the program; closing the main window does.
    template <class Window> Window& addSecondaryWindow(std::unique_ptr<Window> window) {
        Window& added = *window;
        added.setAttribute(Qt::WA_QuitOnClose, false);
        secondaryWindows_.push_back(std::move(window));
        return added;
    }

private:
    TabHeading heading_;
    std::unique_ptr<CommandSet> commands_;
    std::vector<std::unique_ptr<QWidget>> secondaryWindows_;
    bool built_;
    std::optional<ListStyle> pendingStyle_;
    std::optional<bool> pendingPartShown_;
    bool pendingRefill_ = false;
};

// How the main window builds a tab: one factory per listed tab.
using TabFactory = std::unique_ptr<TabPage> (*)(TabContext& context);
template <class Tab> std::unique_ptr<TabPage> makeTab(TabContext& context) {
    return std::make_unique<Tab>(context);
}

} // namespace kelmor
