#include "project/project_list_panel.h"

#include "base/folder_scan.h"
#include "prefs/list_style.h"
#include "ui/drawn_icons.h"
#include "ui/error_guard.h"
#include "ui/folder_list.h"
#include "ui/qt_text.h"

#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {
namespace {

const QString kExtension = QStringLiteral(".kxq");

} // namespace

ProjectListPanel::ProjectListPanel(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    using C = Command<ProjectListPanel>;
    commands_ = std::make_unique<CommandSet>(
        *this, dialogs_,
        std::initializer_list<C>{
            C::shared(SharedCommand::LargeView, "LargeView", &ProjectListPanel::LargeViewClick),
            C::shared(SharedCommand::SmallView, "SmallView", &ProjectListPanel::SmallViewClick),
            C::separator(Place::ToolBar),
            C::shared(SharedCommand::Refresh, "Refresh", &ProjectListPanel::refill),
            {"ButtonsFolder", "&Buttons Folder", "Buttons Folder", CommandIcon::PickFolder,
             Qt::CTRL | Qt::SHIFT | Qt::Key_O, &ProjectListPanel::pickFolder, Place::ToolBar},
        });
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ProjectListToolBar"));
    setUpToolBar(*bar, ToolBarSize::Small);
    commands_->fillToolBar(*bar);
    folder_ = new QLineEdit(bar);
    folder_->setObjectName(QStringLiteral("ProjectsFolder"));
    folder_->setAccessibleName(QStringLiteral("Projects folder"));
    // The folder box sits between the view commands and the separator before "Refresh".
    bar->insertWidget(bar->actions().at(2), folder_);
    layout->addWidget(bar);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ProjectList"));
    list_->setToolTip(QStringLiteral("Projects"));
    list_->setAccessibleName(QStringLiteral("Projects"));
    applyListStyle(*list_, ListStyle::Large);
    connect(list_, &QListWidget::itemClicked, this, [this] { chooseProject(); });
    layout->addWidget(list_, 1);
}

ProjectListPanel::~ProjectListPanel() = default;

void ProjectListPanel::LargeViewClick() {
    setListStyle(ListStyle::Large);
}

void ProjectListPanel::SmallViewClick() {
    setListStyle(ListStyle::Small);
}

QString ProjectListPanel::folder() const {
    return folder_->text();
}

void ProjectListPanel::setFolder(const QString& folder) {
    folder_->setText(folder);
}

void ProjectListPanel::refill() {
    fillFileList(*list_, folder(), QStringLiteral("*") + kExtension,
                 drawnIcon(DrawnIcon::ProjectFile), kExtension);
}

void ProjectListPanel::setListStyle(ListStyle style) {
    applyListStyle(*list_, style);
}

void ProjectListPanel::chooseProject() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    const QString fileName = selected.first()->text() + kExtension;
    emit projectChosen(toQt(joinPath(toLocal(folder()), toLocal(fileName))), fileName);
}

void ProjectListPanel::pickFolder() {
    if (auto chosen = dialogs_.pickFolder(folder())) {
        setFolder(*chosen);
        refill();
    }
}

} // namespace kelmor
