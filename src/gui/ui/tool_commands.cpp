#include "ui/tool_commands.h"

#include "ui/drawn_icons.h"
#include "ui/error_guard.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <iterator>

namespace kelmor {

QIcon commandIcon(CommandIcon command) {
    // The pictures in the order of CommandIcon.
    static constexpr DrawnIcon pictures[] = {
        DrawnIcon::New,
        DrawnIcon::Open,
        DrawnIcon::Save,
        DrawnIcon::SaveAs,
        DrawnIcon::Options,
        DrawnIcon::Speaker,
        DrawnIcon::Globe,
        DrawnIcon::ClearSheet,
        DrawnIcon::Undo,
        DrawnIcon::Copy,
        DrawnIcon::Cut,
        DrawnIcon::Paste,
        DrawnIcon::HtmlSheet,
        DrawnIcon::Refresh,
        DrawnIcon::LargeTiles,
        DrawnIcon::SmallList,
        DrawnIcon::Thumbnails,
        DrawnIcon::Folder,
        DrawnIcon::ClearSelection,
        DrawnIcon::AddRow,
        DrawnIcon::DeleteRow,
        DrawnIcon::NewFilm,
        DrawnIcon::FilmSettings,
        DrawnIcon::Play,
        DrawnIcon::PlaySound,
        DrawnIcon::Stop,
        DrawnIcon::Rewind,
        DrawnIcon::Record,
    };
    static_assert(std::size(pictures) == static_cast<std::size_t>(CommandIcon::Last) + 1);
    if (command == CommandIcon::None)
        return {};
    return drawnIcon(pictures[static_cast<std::size_t>(command)]);
}

SharedCommandText sharedCommandText(SharedCommand command) {
    struct Row {
        const char* name;
        const char* caption;
        const char* hint;
        CommandIcon icon;
        QKeySequence::StandardKey standardKey; // UnknownKey: the key below
        QKeyCombination key;
    };
    // In the order of SharedCommand.
    static constexpr Row rows[] = {
        {"Clear", "&Clear", "Clear", CommandIcon::Clear, QKeySequence::UnknownKey,
         Qt::CTRL | Qt::Key_N},
        {"Open", "&Open...", "Open...", CommandIcon::Open, QKeySequence::Open, {}},
        {"Save", "&Save", "Save", CommandIcon::Save, QKeySequence::Save, {}},
        {"SaveAs", "Save &As...", "Save As...", CommandIcon::SaveAs, QKeySequence::UnknownKey,
         Qt::CTRL | Qt::SHIFT | Qt::Key_S},
        {"Refresh", "&Refresh", "Refresh", CommandIcon::Refresh, QKeySequence::UnknownKey,
         Qt::Key_F5},
        {"LargeView", "&Large View", "Large View", CommandIcon::LargeView, QKeySequence::UnknownKey,
         Qt::CTRL | Qt::Key_1},
        {"SmallView", "S&mall View", "Small View", CommandIcon::SmallView, QKeySequence::UnknownKey,
         Qt::CTRL | Qt::Key_2},
        {"ThumbnailView", "&Thumbnail View", "Thumbnail View", CommandIcon::ThumbnailView,
         QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_3},
        {"Options", "O&ptions...", "Options...", CommandIcon::Options, QKeySequence::UnknownKey,
         Qt::CTRL | Qt::Key_Comma},
    };
    const Row& row = rows[static_cast<std::size_t>(command)];
    return {row.name, row.caption, row.hint, row.icon,
            row.standardKey != QKeySequence::UnknownKey ? QKeySequence(row.standardKey)
                                                        : QKeySequence(row.key)};
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
        action->setObjectName(QString::fromStdString(line.id));
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
            into->setObjectName(QString::fromStdString(line.id));
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
        if (line.action != nullptr && line.id == id)
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

} // namespace kelmor
