#include "pictures/picture_lists_panel.h"

#include "ui/folder_list.h"
#include "ui/picture_kinds.h"
#include "ui/thumbnail_loader.h"

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QTabBar>

namespace kelmor {
namespace {

const PictureKind& kindOf(PictureListsPanel::Kind kind) {
    return kPictureKinds[static_cast<std::size_t>(kind)];
}

} // namespace

PictureListsPanel::PictureListsPanel(const QString& thumbnailRoot, QWidget* parent)
    : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControl2"));
    setDocumentMode(true);
    tabBar()->setDrawBase(false);
    for (Kind kind : kKinds)
        lists_[static_cast<std::size_t>(kind)] = addList(kind, thumbnailRoot);
    addConvertMenu(list(Kind::Gif), ConversionDirection::GifToBmp,
                   QStringLiteral("Convert  &GIF -> BMP"), "PopupGifToBmp");
    addConvertMenu(list(Kind::Bmp), ConversionDirection::BmpToGif,
                   QStringLiteral("Convert  &BMP -> GIF"), "PopupBmpToGif");
    setCurrentIndex(0);
}

QListWidget* PictureListsPanel::addList(Kind kind, const QString& thumbnailRoot) {
    auto* files = new QListWidget(this);
    const PictureKind& k = kindOf(kind);
    files->setObjectName(QString::fromLatin1(k.listName));
    files->setAccessibleName(QString::fromLatin1(k.caption) + QStringLiteral(" pictures"));
    files->setSelectionMode(QAbstractItemView::SingleSelection);
    files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    applyListStyle(*files, ListStyle::Large);
    thumbnails_[static_cast<std::size_t>(kind)] = new ThumbnailLoader(*files, thumbnailRoot);
    connect(files, &QListWidget::itemClicked, this, [this, kind] { emitClicked(kind); });
    files->installEventFilter(this);
    addTab(files, QString::fromLatin1(k.caption));
    return files;
}

void PictureListsPanel::emitClicked(Kind kind) {
    const QList<QListWidgetItem*> selected = list(kind).selectedItems();
    emit pictureClicked(kind, selected.isEmpty() ? QString() : selected.front()->text());
}

bool PictureListsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (std::size_t i = 0; i < lists_.size(); ++i) {
            if (watched == lists_[i] && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                emitClicked(static_cast<Kind>(i));
                return true;
            }
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

void PictureListsPanel::addConvertMenu(QListWidget& list, ConversionDirection direction,
                                       const QString& caption, const char* objectName) {
    auto* action = new QAction(caption, &list);
    action->setObjectName(QString::fromLatin1(objectName));
    list.addAction(action);
    list.setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(action, &QAction::triggered, this,
            [this, direction] { emit convertRequested(direction); });
}

void PictureListsPanel::refill(Kind kind, const QString& folder) {
    const PictureKind& k = kindOf(kind);
    thumbnails_[static_cast<std::size_t>(kind)]->setFolder(folder);
    fillFileList(list(kind), folder, listPattern(k), pictureFileIcon(k));
}

void PictureListsPanel::applyStyle(std::size_t index, ListStyle style) {
    applyListStyle(*lists_[index], style);
    thumbnails_[index]->setShown(style == ListStyle::Thumbnails);
}

void PictureListsPanel::setListsStyle(ListStyle style) {
    for (std::size_t index = 0; index < lists_.size(); ++index)
        applyStyle(index, style);
}

void PictureListsPanel::setShownListStyle(ListStyle style) {
    applyStyle(static_cast<std::size_t>(currentIndex()), style);
}

bool PictureListsPanel::shownListInThumbnails() const {
    return thumbnails_[static_cast<std::size_t>(currentIndex())]->shown();
}

} // namespace kelmor
