#include "editor/file_lists_panel.h"

#include "ui/file_icons.h"
#include "ui/folder_list.h"

#include <QListWidget>
#include <QTabBar>

namespace kelmor {

FileListsPanel::FileListsPanel(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControl3"));
    setDocumentMode(true);
    tabBar()->setDrawBase(false);
    htmlList_ = addList(Kind::Html, "ListView5", QStringLiteral("Html"));
    textList_ = addList(Kind::Text, "ListView6", QStringLiteral("Text"));
    setCurrentIndex(0);
}

QListWidget* FileListsPanel::addList(Kind kind, const char* objectName, const QString& caption) {
    auto* files = new QListWidget(this);
    files->setObjectName(QString::fromLatin1(objectName));
    files->setAccessibleName(caption + QStringLiteral(" files"));
    files->setSelectionMode(QAbstractItemView::SingleSelection);
    files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    applyListStyle(*files, ListStyle::Large);
    connect(files, &QListWidget::itemClicked, this,
            [this, kind](QListWidgetItem* item) { emit fileClicked(kind, item->text()); });
    addTab(files, caption);
    return files;
}

void FileListsPanel::refill(const QString& htmlFolder, const QString& textFolder) {
    fillFileList(*htmlList_, htmlFolder, QStringLiteral("*.html"), fileIcon(FileIcon::Html));
    fillFileList(*textList_, textFolder, QStringLiteral("*.txt"), fileIcon(FileIcon::Text));
}

void FileListsPanel::setListsStyle(ListStyle style) {
    applyListStyle(*htmlList_, style);
    applyListStyle(*textList_, style);
}

void FileListsPanel::setShownListStyle(ListStyle style) {
    applyListStyle(currentIndex() == 0 ? *htmlList_ : *textList_, style);
}

} // namespace kelmor
