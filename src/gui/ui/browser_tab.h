#pragma once

#include "prefs/list_style.h"
#include "ui/tab_page.h"
#include "ui/tool_commands.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QSplitter;
class QToolBar;
class QWidget;

namespace kelmor {

class HistoryBox;

// The layout the browser tabs share, top to bottom: the tool bar built from
// the tab's commands, the bar with the current file box, and the list panel
// beside the viewer, which takes the room left. fillSplitter creates the list
// panel and then the viewer inside the splitter.
QToolBar* layOutBrowserTab(QWidget& tab, const CommandSet& commands, const char* toolBarName,
                           HistoryBox& box, const char* boxBarName,
                           const std::function<void(QSplitter&)>& fillSplitter);

// Adds the one-part status line under a browser tab's layout; its label is named `labelName`.
QLabel* addStatusLine(QWidget& tab, const char* barName, const char* labelName);

// The views a browser tab offers for its lists: large and small icons, which every file list
// has, and thumbnails, which only picture lists have.
enum class BrowserViews { Icons, IconsAndThumbnails };

// A tab that browses the files of its folders. Its tool bar starts with Clear,
// Open, Save and Save As and ends with Refresh, Large View, Small View (and
// Thumbnail View on a tab of pictures) and Options; each of these is named by
// the tab's prefix and the command ("PicsOpen").
class BrowserTab : public TabPage {
    Q_OBJECT
public:
    using TabPage::TabPage;

protected:
    // What the shared commands do on this tab.
    virtual void clearView() = 0;
    virtual void openFile() = 0;
    virtual void saveFile() = 0;
    virtual void saveFileAs() = 0;
    // Large View, Small View and Thumbnail View: the lists shown take the style.
    virtual void setShownListsStyle(ListStyle style) = 0;

    // The tab's command table: the shared commands with the tab's own `middle` lines
    // between Save As and Refresh, and its `after` lines at the end. Owner: the tab's class.
    template <class Owner>
    void setBrowserCommands(Dialogs& dialogs, const char* prefix,
                            std::initializer_list<Command<Owner>> middle,
                            std::initializer_list<Command<Owner>> after = {},
                            std::optional<MenuHeading> menu = std::nullopt,
                            BrowserViews views = BrowserViews::Icons) {
        using C = Command<Owner>;
        auto line = [prefix](SharedCommand command, void (Owner::*handler)(),
                             Place place = Place::ToolBar) {
            return C::shared(command, prefix + std::string(sharedCommandText(command).name),
                             handler, place);
        };
        std::vector<C> table{line(SharedCommand::Clear, &BrowserTab::clearView),
                             line(SharedCommand::Open, &BrowserTab::openFile),
                             line(SharedCommand::Save, &BrowserTab::saveFile),
                             line(SharedCommand::SaveAs, &BrowserTab::saveFileAs),
                             C::separator(Place::ToolBar)};
        table.insert(table.end(), middle);
        table.insert(table.end(), {line(SharedCommand::Refresh, &BrowserTab::refillLists),
                                   C::separator(Place::ToolBar),
                                   line(SharedCommand::LargeView, &BrowserTab::largeView),
                                   line(SharedCommand::SmallView, &BrowserTab::smallView)});
        if (views == BrowserViews::IconsAndThumbnails)
            // Also on the tab's own menu, which shows its key.
            table.push_back(
                line(SharedCommand::ThumbnailView, &BrowserTab::thumbnailView, Place::Both));
        table.insert(table.end(), {C::separator(Place::ToolBar),
                                   line(SharedCommand::Options, &BrowserTab::requestOptions)});
        table.insert(table.end(), after);
        setCommands(std::make_unique<CommandSet>(static_cast<Owner&>(*this), dialogs, table, menu));
    }

private:
    void largeView() { setShownListsStyle(ListStyle::Large); }
    void smallView() { setShownListsStyle(ListStyle::Small); }
    void thumbnailView() { setShownListsStyle(ListStyle::Thumbnails); }
};

} // namespace kelmor
