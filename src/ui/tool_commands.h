#pragma once

#include "ui/services.h"

#include <QIcon>
#include <QString>
#include <functional>

class QAction;
class QToolBar;

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
};

QIcon commandIcon(CommandIcon command);

// The icon sizes of the program's tool bars: every button of one bar has the same.
enum class ToolBarSize { Small = 16, Large = 32 };

// Gives a tool bar its icon size and plain, unframed buttons.
void setUpToolBar(QToolBar& bar, ToolBarSize size);

// A command's action: the hint is its tool tip, and the handler runs inside the
// error guard, so a failure is shown in the error box. For a row of buttons that
// is not a tool bar; addToolCommand does this and puts the action on a tool bar.
QAction* makeToolCommand(QObject& owner, Dialogs& dialogs, CommandIcon icon, const QString& hint,
                         const char* objectName, std::function<void()> handler);

// Adds a command button to a tool bar: the hint is its tool tip and accessible
// name, the object name is given to the action and to its button, and the
// handler runs inside the error guard, so a failure is shown in the error box.
QAction* addToolCommand(QToolBar& bar, Dialogs& dialogs, CommandIcon icon, const QString& hint,
                        const char* objectName, std::function<void()> handler);

// The same with a member function of the tab as the handler.
template <class Owner>
QAction* addToolCommand(QToolBar& bar, Dialogs& dialogs, CommandIcon icon, const char* hint,
                        const char* objectName, Owner* owner, void (Owner::*handler)()) {
    return addToolCommand(bar, dialogs, icon, QString::fromLatin1(hint), objectName,
                          [owner, handler] { (owner->*handler)(); });
}

} // namespace kelmor
