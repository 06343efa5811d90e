#include "project/project_list_panel.h"

#include "base/folder_scan.h"
#include "ui/error_guard.h"
#include "ui/folder_list.h"
#include "ui/list_style.h"
#include "ui/qt_text.h"
#include "ui/tool_commands.h"
#include "ui/tool_icons.h"

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

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ProjectListToolBar"));
    setUpToolBar(*bar, ToolBarSize::Small);
    addToolCommand(*bar, dialogs_, CommandIcon::LargeView, QStringLiteral("Large View"),
                   "LargeView", [this] { setListStyle(ListStyle::Large); });
    addToolCommand(*bar, dialogs_, CommandIcon::SmallView, QStringLiteral("Small View"),
                   "SmallView", [this] { setListStyle(ListStyle::Small); });
    folder_ = new QLineEdit(bar);
    folder_->setObjectName(QStringLiteral("ProjectsFolder"));
    bar->addWidget(folder_);
    bar->addSeparator();
    addToolCommand(*bar, dialogs_, CommandIcon::Refresh, QStringLiteral("Refresh"), "Refresh",
                   [this] { refill(); });
    addToolCommand(*bar, dialogs_, CommandIcon::PickFolder, QStringLiteral("Buttons Folder"),
                   "ButtonsFolder", [this] { pickFolder(); });
    layout->addWidget(bar);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ProjectList"));
    list_->setToolTip(QStringLiteral("Projects"));
    applyListStyle(*list_, ListStyle::Large);
    connect(list_, &QListWidget::itemClicked, this, [this] { chooseProject(); });
    layout->addWidget(list_, 1);
}

QString ProjectListPanel::folder() const {
    return folder_->text();
}

void ProjectListPanel::setFolder(const QString& folder) {
    folder_->setText(folder);
}

void ProjectListPanel::refill() {
    fillFileList(*list_, folder(), QStringLiteral("*") + kExtension, toolIcon(QStyle::SP_FileIcon),
                 kExtension);
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
