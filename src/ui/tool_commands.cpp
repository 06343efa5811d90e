#include "ui/tool_commands.h"

#include "ui/drawn_icons.h"
#include "ui/error_guard.h"
#include "ui/tool_icons.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

namespace kelmor {

QIcon commandIcon(CommandIcon command) {
    switch (command) {
    case CommandIcon::NewButton:
        return toolIcon(QStyle::SP_FileIcon);
    case CommandIcon::Open:
        return toolIcon(QStyle::SP_DialogOpenButton);
    case CommandIcon::Save:
        return toolIcon(QStyle::SP_DialogSaveButton);
    case CommandIcon::SaveAs:
        return toolIcon(QStyle::SP_DriveFDIcon);
    case CommandIcon::Options:
        return drawnIcon(DrawnIcon::Options);
    case CommandIcon::Sounds:
        return toolIcon(QStyle::SP_MediaVolume);
    case CommandIcon::ViewInBrowser:
        return toolIcon(QStyle::SP_ComputerIcon);
    case CommandIcon::Clear:
        return toolIcon(QStyle::SP_DialogResetButton);
    case CommandIcon::Undo:
        return toolIcon(QStyle::SP_ArrowBack);
    case CommandIcon::Copy:
        return drawnIcon(DrawnIcon::Copy);
    case CommandIcon::Cut:
        return drawnIcon(DrawnIcon::Cut);
    case CommandIcon::Paste:
        return drawnIcon(DrawnIcon::Paste);
    case CommandIcon::HtmlEditor:
        return toolIcon(QStyle::SP_FileDialogInfoView);
    case CommandIcon::Refresh:
        return toolIcon(QStyle::SP_BrowserReload);
    case CommandIcon::LargeView:
        return toolIcon(QStyle::SP_FileDialogContentsView);
    case CommandIcon::SmallView:
        return toolIcon(QStyle::SP_FileDialogListView);
    case CommandIcon::PickFolder:
        return toolIcon(QStyle::SP_DirIcon);
    case CommandIcon::ClearSelected:
        return toolIcon(QStyle::SP_DialogDiscardButton);
    case CommandIcon::AddRow:
        return toolIcon(QStyle::SP_FileDialogNewFolder);
    case CommandIcon::DeleteRow:
        return toolIcon(QStyle::SP_TrashIcon);
    case CommandIcon::NewAnimation:
        return toolIcon(QStyle::SP_MediaSeekBackward);
    case CommandIcon::GifsOptions:
        return drawnIcon(DrawnIcon::FilmSettings);
    case CommandIcon::PlayAnimation:
        return toolIcon(QStyle::SP_MediaPlay);
    case CommandIcon::PlaySound:
        return drawnIcon(DrawnIcon::PlaySound);
    case CommandIcon::StopSound:
        return toolIcon(QStyle::SP_MediaStop);
    case CommandIcon::RewindSound:
        return toolIcon(QStyle::SP_MediaSkipBackward);
    case CommandIcon::RecordSound:
        return drawnIcon(DrawnIcon::Record);
    }
    return {};
}

void setUpToolBar(QToolBar& bar, ToolBarSize size) {
    const int side = static_cast<int>(size);
    bar.setIconSize(QSize(side, side));
    bar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar.setMovable(false);
}

QAction* makeToolCommand(QObject& owner, Dialogs& dialogs, CommandIcon icon, const QString& hint,
                         const char* objectName, std::function<void()> handler) {
    auto* action = new QAction(commandIcon(icon), hint, &owner);
    action->setToolTip(hint);
    action->setObjectName(QString::fromLatin1(objectName));
    QObject::connect(action, &QAction::triggered, &owner, guarded(dialogs, std::move(handler)));
    return action;
}

QAction* addToolCommand(QToolBar& bar, Dialogs& dialogs, CommandIcon icon, const QString& hint,
                        const char* objectName, std::function<void()> handler) {
    QAction* action = makeToolCommand(bar, dialogs, icon, hint, objectName, std::move(handler));
    bar.addAction(action);
    QWidget* button = bar.widgetForAction(action);
    button->setObjectName(action->objectName());
    button->setAccessibleName(hint);
    if (auto* toolButton = qobject_cast<QToolButton*>(button))
        toolButton->setAutoRaise(true);
    return action;
}

} // namespace kelmor
