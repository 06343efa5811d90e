#include "ui/tool_commands.h"

#include "ui/drawn_icons.h"
#include "ui/error_guard.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace kelmor {

QIcon commandIcon(CommandIcon command) {
    switch (command) {
    case CommandIcon::NewButton:
        return drawnIcon(DrawnIcon::New);
    case CommandIcon::Open:
        return drawnIcon(DrawnIcon::Open);
    case CommandIcon::Save:
        return drawnIcon(DrawnIcon::Save);
    case CommandIcon::SaveAs:
        return drawnIcon(DrawnIcon::SaveAs);
    case CommandIcon::Options:
        return drawnIcon(DrawnIcon::Options);
    case CommandIcon::Sounds:
        return drawnIcon(DrawnIcon::Speaker);
    case CommandIcon::ViewInBrowser:
        return drawnIcon(DrawnIcon::Globe);
    case CommandIcon::Clear:
        return drawnIcon(DrawnIcon::ClearSheet);
    case CommandIcon::Undo:
        return drawnIcon(DrawnIcon::Undo);
    case CommandIcon::Copy:
        return drawnIcon(DrawnIcon::Copy);
    case CommandIcon::Cut:
        return drawnIcon(DrawnIcon::Cut);
    case CommandIcon::Paste:
        return drawnIcon(DrawnIcon::Paste);
    case CommandIcon::HtmlEditor:
        return drawnIcon(DrawnIcon::HtmlSheet);
    case CommandIcon::Refresh:
        return drawnIcon(DrawnIcon::Refresh);
    case CommandIcon::LargeView:
        return drawnIcon(DrawnIcon::LargeTiles);
    case CommandIcon::SmallView:
        return drawnIcon(DrawnIcon::SmallList);
    case CommandIcon::PickFolder:
        return drawnIcon(DrawnIcon::Folder);
    case CommandIcon::ClearSelected:
        return drawnIcon(DrawnIcon::ClearSelection);
    case CommandIcon::AddRow:
        return drawnIcon(DrawnIcon::AddRow);
    case CommandIcon::DeleteRow:
        return drawnIcon(DrawnIcon::DeleteRow);
    case CommandIcon::NewAnimation:
        return drawnIcon(DrawnIcon::NewFilm);
    case CommandIcon::GifsOptions:
        return drawnIcon(DrawnIcon::FilmSettings);
    case CommandIcon::PlayAnimation:
        return drawnIcon(DrawnIcon::Play);
    case CommandIcon::PlaySound:
        return drawnIcon(DrawnIcon::PlaySound);
    case CommandIcon::StopSound:
        return drawnIcon(DrawnIcon::Stop);
    case CommandIcon::RewindSound:
        return drawnIcon(DrawnIcon::Rewind);
    case CommandIcon::RecordSound:
        return drawnIcon(DrawnIcon::Record);
    case CommandIcon::None:
        break;
    }
    return {};
}

void setUpToolBar(QToolBar& bar, ToolBarSize size) {
    const int side = static_cast<int>(size);
    bar.setIconSize(QSize(side, side));
    bar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar.setMovable(false);
}

namespace {

void nameButton(QToolButton& button, const QAction& action) {
    button.setObjectName(action.objectName());
    button.setAccessibleName(action.toolTip());
    button.setAutoRaise(true);
}

} // namespace

void CommandSet::add(QWidget& owner, Dialogs& dialogs, Line line, std::function<void()> handler) {
    if (line.kind == LineKind::Command) {
        const QString hint = QString::fromLatin1(line.hint);
        auto* action =
            new QAction(commandIcon(line.icon), QString::fromLatin1(line.caption), &owner);
        action->setObjectName(QString::fromLatin1(line.id));
        action->setToolTip(hint);
        action->setShortcut(line.shortcut);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(action, &QAction::triggered, &owner, guarded(dialogs, std::move(handler)));
        owner.addAction(action);
        line.action = action;
    }
    lines_.push_back(line);
}

void CommandSet::fillToolBar(QToolBar& bar) const {
    for (const Line& line : lines_) {
        if ((static_cast<int>(line.place) & static_cast<int>(Place::ToolBar)) == 0)
            continue;
        if (line.kind == LineKind::Separator) {
            bar.addSeparator();
        } else if (line.action != nullptr) {
            bar.addAction(line.action);
            if (auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(line.action)))
                nameButton(*button, *line.action);
        }
    }
}

void CommandSet::fillMenu(QMenu& menu) const {
    QMenu* into = &menu;
    for (const Line& line : lines_) {
        if ((static_cast<int>(line.place) & static_cast<int>(Place::Menu)) == 0)
            continue;
        switch (line.kind) {
        case LineKind::Command:
            into->addAction(line.action);
            break;
        case LineKind::Separator:
            into->addSeparator();
            break;
        case LineKind::SubMenu:
            into = into->addMenu(QString::fromLatin1(line.caption));
            into->setObjectName(QString::fromLatin1(line.id));
            break;
        case LineKind::EndSubMenu:
            into = &menu;
            break;
        }
    }
}

QToolButton* CommandSet::makeButton(const char* id, QWidget& parent, ToolBarSize size) const {
    auto* button = new QToolButton(&parent);
    QAction& command = action(id);
    button->setDefaultAction(&command);
    nameButton(*button, command);
    const int side = static_cast<int>(size);
    button->setIconSize(QSize(side, side));
    return button;
}

QAction& CommandSet::action(const char* id) const {
    for (const Line& line : lines_)
        if (line.action != nullptr && qstrcmp(line.id, id) == 0)
            return *line.action;
    qFatal("no command %s", id);
}

QList<QAction*> CommandSet::actions() const {
    QList<QAction*> all;
    for (const Line& line : lines_)
        if (line.action != nullptr)
            all.append(line.action);
    return all;
}

QStringList CommandSet::keyboardHelp() const {
    QStringList help;
    for (const Line& line : lines_)
        if (line.action != nullptr && !line.shortcut.isEmpty())
            help << line.shortcut.toString(QKeySequence::NativeText) + QStringLiteral("\t") +
                        QString::fromLatin1(line.hint);
    return help;
}

} // namespace kelmor
