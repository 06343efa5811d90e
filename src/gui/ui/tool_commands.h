#pragma once

#include "ui/services.h"

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class QWidget;

namespace kelmor {

// The pictures of the program's commands: one per command, so that one picture
// never stands for two different commands, and a command keeps its picture on
// every tool bar that offers it.
enum class CommandIcon {
    NewButton,
    Open,
    Save,
    SaveAs,
    Options,
    Sounds,
    ViewInBrowser,
    Clear,
    Undo,
    Copy,
    Cut,
    Paste,
    HtmlEditor,
    Refresh,
    LargeView,
    SmallView,
    ThumbnailView,
    PickFolder,
    ClearSelected,
    AddRow,
    DeleteRow,
    NewAnimation,
    GifsOptions,
    PlayAnimation,
    PlaySound,
    StopSound,
    RewindSound,
    RecordSound,
    Last = RecordSound, // keep naming the last command
    None,               // a menu command without a picture
};

QIcon commandIcon(CommandIcon command);

// The commands that the file browsing tabs and windows share: each keeps one
// caption, hint, picture and key wherever it shows.
enum class SharedCommand {
    Clear,
    Open,
    Save,
    SaveAs,
    Refresh,
    LargeView,
    SmallView,
    ThumbnailView,
    Options
};

struct SharedCommandText {
    const char* name; // the end of the object name of a browser tab's command ("PicsOpen")
    const char* caption;
    const char* hint;
    CommandIcon icon;
    QKeySequence shortcut;
};
SharedCommandText sharedCommandText(SharedCommand command);

// The icon sizes of the program's tool bars: every button of one bar has the same.
enum class ToolBarSize { Small = 16, Large = 32 };

// Gives a tool bar its icon size and plain, unframed buttons.
void setUpToolBar(QToolBar& bar, ToolBarSize size);

// Where a command shows besides its shortcut: on the tool bar, in the menu,
// in both, or nowhere (a key of its own only).
enum class Place { KeyOnly = 0, ToolBar = 1, Menu = 2, Both = 3 };

// One line of a window's command table. Separators and one level of submenus
// are lines too, so a table reads in the order its tool bar and menu show.
template <class Owner> struct Command {
    enum class Kind { Command, Separator, SubMenu, EndSubMenu };

    std::string id;      // object name of the action and of its tool button
    const char* caption; // menu caption, with its mnemonic
    const char* hint;    // tool tip; the tool button's accessible name
    CommandIcon icon;
    QKeySequence shortcut;
    void (Owner::*handler)();
    Place place;
    Kind kind = Kind::Command;

    static Command shared(SharedCommand command, std::string id, void (Owner::*handler)(),
                          Place place = Place::ToolBar) {
        const SharedCommandText text = sharedCommandText(command);
        return {std::move(id), text.caption, text.hint, text.icon, text.shortcut, handler, place};
    }
    static Command separator(Place place) {
        return {{}, nullptr, nullptr, {}, {}, nullptr, place, Kind::Separator};
    }
    static Command subMenu(const char* id, const char* caption) {
        return {id, caption, nullptr, {}, {}, nullptr, Place::Menu, Kind::SubMenu};
    }
    static Command endSubMenu() {
        return {{}, nullptr, nullptr, {}, {}, nullptr, Place::Menu, Kind::EndSubMenu};
    }
};

// The menu a table fills on the main window's menu bar: before the menus every
// tab shares, or after the "&Views" menus.
enum class MenuPosition { Leading, Trailing };
struct MenuHeading {
    const char* title;
    const char* objectName;
    MenuPosition position;
};

// The actions of one command table. Each runs its handler inside the error
// guard, so a failure is shown in the error box, and answers its shortcut
// while the focus is anywhere inside the owner. Tool bars and menus built from
// the set share its actions, so a command disabled once is disabled everywhere.
class CommandSet {
public:
    template <class Owner>
    CommandSet(Owner& owner, Dialogs& dialogs,
               const std::type_identity_t<std::vector<Command<Owner>>>& table,
               std::optional<MenuHeading> menu = std::nullopt)
        : menu_(menu) {
        for (const Command<Owner>& line : table) {
            std::function<void()> run;
            // An owner that builds its contents on first use builds them before a command runs.
            if (line.handler != nullptr)
                run = [&owner, handler = line.handler] {
                    if constexpr (requires { owner.ensureBuilt(); })
                        owner.ensureBuilt();
                    (owner.*handler)();
                };
            add(owner, dialogs,
                Line{static_cast<LineKind>(line.kind), line.id, line.caption, line.hint, line.icon,
                     line.shortcut, line.place},
                std::move(run));
        }
    }

    // Adds the tool-bar commands and separators: each button carries the
    // command's object name, its hint as accessible name, and no frame.
    void fillToolBar(QToolBar& bar) const;
    // Adds the menu commands, separators and submenus.
    void fillMenu(QMenu& menu) const;
    // A tool button for a command that sits in a row of buttons rather than on a tool bar.
    QToolButton* makeButton(const char* id, QWidget& parent, ToolBarSize size) const;
    const std::optional<MenuHeading>& menu() const { return menu_; }
    QAction& action(const char* id) const;
    // Every command's action, in table order.
    QList<QAction*> actions() const;

private:
    enum class LineKind { Command, Separator, SubMenu, EndSubMenu };
    struct Line {
        LineKind kind;
        std::string id;
        const char* caption;
        const char* hint;
        CommandIcon icon;
        QKeySequence shortcut;
        Place place;
        QAction* action = nullptr;
    };
    void add(QWidget& owner, Dialogs& dialogs, Line line, std::function<void()> handler);

    std::vector<Line> lines_;
    std::optional<MenuHeading> menu_;
};

} // namespace kelmor
