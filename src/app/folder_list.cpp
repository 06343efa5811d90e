#include "app/folder_list.h"

#include "app/qt_text.h"
#include "base/folder_scan.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <algorithm>
#include <vector>

namespace kelmor {
namespace {

struct Caption {
    QString text;
    QCollatorSortKey key;
};

} // namespace

void fillFileList(QListWidget& list, const QString& folder, const QString& pattern,
                  const QIcon& icon, const QString& cutAt) {
    const bool updates = list.updatesEnabled();
    list.setUpdatesEnabled(false);
    list.setSortingEnabled(false);
    list.clear();

    const std::vector<std::string> names = scanFolder(toLocal(folder), toLocal(pattern));
    // One sort key per caption makes the locale-aware sort cheap: comparing
    // keys is a byte comparison, while QCollator::compare redoes the work on
    // every comparison.
    const QCollator collator;
    std::vector<Caption> captions;
    captions.reserve(names.size());
    for (const std::string& name : names) {
        QString text = toQt(name);
        if (!cutAt.isEmpty())
            if (const qsizetype at = text.indexOf(cutAt); at >= 0)
                text.truncate(at);
        QCollatorSortKey key = collator.sortKey(text);
        captions.push_back(Caption{std::move(text), std::move(key)});
    }
    std::stable_sort(captions.begin(), captions.end(),
                     [](const Caption& a, const Caption& b) { return a.key.compare(b.key) < 0; });
    for (const Caption& caption : captions)
        new QListWidgetItem(icon, caption.text, &list);

    list.setUpdatesEnabled(updates);
}

void applyListStyle(QListWidget& list, ListStyle style) {
    // Switching the view mode or the movement also switches dragging and
    // dropping; a list keeps whatever its owner set up for them.
    const bool dragEnabled = list.dragEnabled();
    const bool acceptDrops = list.acceptDrops();
    const bool viewportAcceptDrops = list.viewport()->acceptDrops();

    list.setMovement(QListView::Static);
    list.setResizeMode(QListView::Adjust);
    if (style == ListStyle::Large) {
        list.setViewMode(QListView::IconMode);
        list.setIconSize(QSize(32, 32));
        list.setFlow(QListView::TopToBottom);
        list.setWrapping(true);
        list.setWordWrap(true);
        list.setGridSize(QSize(96, 64));
    } else {
        list.setViewMode(QListView::ListMode);
        list.setIconSize(QSize(16, 16));
        list.setFlow(QListView::TopToBottom);
        list.setWrapping(false);
        list.setWordWrap(false);
        list.setGridSize(QSize());
        list.setUniformItemSizes(true);
    }

    list.setDragEnabled(dragEnabled);
    list.setAcceptDrops(acceptDrops);
    list.viewport()->setAcceptDrops(viewportAcceptDrops);
}

} // namespace kelmor
