#include "ui/folder_list.h"

#include "base/folder_scan.h"
#include "ui/qt_text.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QStyledItemDelegate>
#include <algorithm>
#include <set>
#include <vector>

namespace kelmor {
namespace {

// Large icons and thumbnails sit in cells of one size, the caption wrapped to
// at most two lines below the icon, as file managers show them.
constexpr int kCellWidth = 96;
constexpr int kCellMargin = 16; // beside an icon wider than a large-icon cell
constexpr int kCaptionLines = 2;
constexpr int kThumbnailEdge = 128;

// Gives every item of the large-icon view the same cell size. File lists use
// uniform item sizes, so the view measures a single sample item instead of
// ten thousand wrapped captions; without a fixed cell, that sample's caption
// width would cut every other caption.
class FileItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (option.decorationPosition != QStyleOptionViewItem::Top)
            return QStyledItemDelegate::sizeHint(option, index);
        const int textHeight = option.fontMetrics.lineSpacing() * kCaptionLines;
        const int width = std::max(kCellWidth, option.decorationSize.width() + kCellMargin);
        return {width - 4, option.decorationSize.height() + textHeight + 8};
    }
};

struct Caption {
    QString text;
    QCollatorSortKey key;
    std::size_t pattern; // the pattern the entry matched
};

} // namespace

void fillFileList(QListWidget& list, const QString& folder, const QString& pattern,
                  const QIcon& icon, const QString& cutAt) {
    const FilePattern one{pattern, icon};
    fillFileList(list, folder, std::span(&one, 1), cutAt);
}

void fillFileList(QListWidget& list, const QString& folder, std::span<const FilePattern> patterns,
                  const QString& cutAt) {
    // Only the list's own switch is restored: updatesEnabled() is also false while a
    // parent holds updates off (a tab control does while it changes pages), and
    // restoring that would keep the list from ever painting again.
    const bool updatesOff = list.testAttribute(Qt::WA_ForceUpdatesDisabled);
    list.setUpdatesEnabled(false);
    list.setSortingEnabled(false);
    list.clear();

    // One sort key per caption makes the locale-aware sort cheap: comparing
    // keys is a byte comparison, while QCollator::compare redoes the work on
    // every comparison.
    const QCollator collator;
    std::vector<Caption> captions;
    std::set<std::string> listed;
    for (std::size_t p = 0; p < patterns.size(); ++p) {
        const std::string local = toLocal(patterns[p].pattern);
        for (const std::string& name : scanFolder(toLocal(folder), local)) {
            // A name two patterns match is listed once.
            if (patterns.size() > 1 && !listed.insert(name).second)
                continue;
            QString text = toQt(name);
            if (!cutAt.isEmpty())
                if (const qsizetype at = text.indexOf(cutAt); at >= 0)
                    text.truncate(at);
            QCollatorSortKey key = collator.sortKey(text);
            captions.push_back(Caption{std::move(text), std::move(key), p});
        }
    }
    std::stable_sort(captions.begin(), captions.end(),
                     [](const Caption& a, const Caption& b) { return a.key.compare(b.key) < 0; });
    // One insertion for all items, then the icons: adding items one by one
    // makes the view react to every single row.
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(captions.size()));
    for (Caption& caption : captions)
        texts.push_back(std::move(caption.text));
    list.addItems(texts);
    for (int row = 0; row < list.count(); ++row)
        list.item(row)->setIcon(patterns[captions[static_cast<std::size_t>(row)].pattern].icon);

    list.setUpdatesEnabled(!updatesOff);
}

void applyListStyle(QListWidget& list, ListStyle style) {
    // Switching the view mode or the movement also switches dragging and
    // dropping; a list keeps whatever its owner set up for them.
    const bool dragEnabled = list.dragEnabled();
    const bool acceptDrops = list.acceptDrops();
    const bool viewportAcceptDrops = list.viewport()->acceptDrops();

    list.setMovement(QListView::Static);
    list.setResizeMode(QListView::Adjust);
    list.setUniformItemSizes(true);
    list.setGridSize(QSize());
    if (!dynamic_cast<FileItemDelegate*>(list.itemDelegate()))
        list.setItemDelegate(new FileItemDelegate(&list));
    if (style == ListStyle::Large) {
        list.setViewMode(QListView::IconMode);
        list.setIconSize(QSize(32, 32));
        list.setFlow(QListView::TopToBottom);
        list.setWrapping(true);
        list.setWordWrap(true);
        list.setSpacing(4);
    } else if (style == ListStyle::Thumbnails) {
        // Rows of pictures read left to right and scroll downwards, as picture browsers show
        // them.
        list.setViewMode(QListView::IconMode);
        list.setIconSize(QSize(kThumbnailEdge, kThumbnailEdge));
        list.setFlow(QListView::LeftToRight);
        list.setWrapping(true);
        list.setWordWrap(true);
        list.setSpacing(4);
    } else {
        list.setViewMode(QListView::ListMode);
        list.setIconSize(QSize(16, 16));
        list.setFlow(QListView::TopToBottom);
        list.setWrapping(false);
        list.setWordWrap(false);
        list.setSpacing(0);
    }

    list.setDragEnabled(dragEnabled);
    list.setAcceptDrops(acceptDrops);
    list.viewport()->setAcceptDrops(viewportAcceptDrops);
}

} // namespace kelmor
