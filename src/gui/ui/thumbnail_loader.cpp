#include "ui/thumbnail_loader.h"

#include "base/folder_scan.h"
#include "imaging/picture_qt.h"
#include "ui/qt_text.h"

#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QVariant>
#include <algorithm>

namespace kelmor {
namespace {

constexpr int kMostThreads = 4;
// A large thumbnail's canvas holds twice the list's pixels in each direction.
constexpr qreal kLargeRatio = 2.0;
// Where an item showing its thumbnail keeps its file-type icon.
constexpr int kFileIconRole = Qt::UserRole + 1;

} // namespace

QThreadPool& ThumbnailLoader::pool() {
    static QThreadPool* const threads = [] {
        auto* made = new QThreadPool;
        made->setMaxThreadCount(std::min(QThread::idealThreadCount(), kMostThreads));
        return made;
    }();
    return *threads;
}

ThumbnailLoader::ThumbnailLoader(QListWidget& list, const QString& cacheRoot)
    : QObject(&list), list_(list), viewport_(*list.viewport()), model_(*list.model()),
      shared_(std::make_shared<Shared>(toLocal(cacheRoot))) {
    shared_->loader = this;
    connect(this, &ThumbnailLoader::made, this, &ThumbnailLoader::show, Qt::QueuedConnection);
    const QAbstractItemModel* model = &model_;
    connect(model, &QAbstractItemModel::modelReset, this, &ThumbnailLoader::restart);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ThumbnailLoader::restart);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ThumbnailLoader::restart);
    connect(model, &QAbstractItemModel::layoutChanged, this, &ThumbnailLoader::restart);
    for (const QScrollBar* bar : {list.verticalScrollBar(), list.horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &ThumbnailLoader::askSoon);
    list.installEventFilter(this);
    viewport_.installEventFilter(this);
    // Closing the program waits for no picture that was only asked for.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        const std::lock_guard lock(shared_->mutex);
        shared_->drop();
    });
}

ThumbnailLoader::~ThumbnailLoader() {
    const std::lock_guard lock(shared_->mutex);
    shared_->drop();
    shared_->loader = nullptr;
}

void ThumbnailLoader::Shared::drop() {
    queue.clear();
    background = Background();
}

void ThumbnailLoader::setFolder(const QString& folder) {
    folder_ = folder;
    restoreFileIcons();
    restart();
}

void ThumbnailLoader::setShown(bool shown) {
    if (shown == shown_)
        return;
    shown_ = shown;
    restoreFileIcons();
    restart();
}

// Compares addresses only: the viewport's events also come while the list is destroyed. A
// hidden list asks for nothing, which drops its work.
bool ThumbnailLoader::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == &list_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) ||
        (watched == &viewport_ && event->type() == QEvent::Resize))
        askSoon();
    return QObject::eventFilter(watched, event);
}

void ThumbnailLoader::restart() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->drop();
    }
    ++generation_;
    // Counted on the model: it also resets while the list is destroyed, when the list can no
    // longer be asked.
    rows_.assign(shown_ ? static_cast<std::size_t>(model_.rowCount()) : 0, RowState::Waiting);
    askSoon();
}

void ThumbnailLoader::restoreFileIcons() {
    for (int row = 0; row < list_.count(); ++row) {
        QListWidgetItem& item = *list_.item(row);
        if (const QVariant icon = item.data(kFileIconRole); icon.isValid()) {
            item.setIcon(icon.value<QIcon>());
            item.setData(kFileIconRole, QVariant());
        }
    }
}

void ThumbnailLoader::askSoon() {
    if (!shown_ || askPending_)
        return;
    askPending_ = true;
    QTimer::singleShot(0, this, [this] {
        askPending_ = false;
        ask();
    });
}

ThumbnailLoader::Wanted ThumbnailLoader::wantedRows() const {
    Wanted wanted;
    const int count = std::min(list_.count(), static_cast<int>(rows_.size()));
    if (!shown_ || count == 0 || !list_.isVisible())
        return wanted;
    // Rows follow each other down the view, so the first row past a line is found by halving,
    // whatever the number of items.
    const auto firstRow = [this, count](auto past) {
        int low = 0, high = count;
        while (low < high) {
            const int middle = (low + high) / 2;
            if (past(list_.visualItemRect(list_.item(middle))))
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    };
    const auto reaching = [&firstRow](int y) {
        return firstRow([y](const QRect& rect) { return rect.bottom() >= y; });
    };
    const auto startingBelow = [&firstRow](int y) {
        return firstRow([y](const QRect& rect) { return rect.top() > y; });
    };
    const QRect view = list_.viewport()->rect();
    const int firstShown = reaching(view.top());
    const int endShown = startingBelow(view.bottom());
    const int endBelow = startingBelow(view.bottom() + view.height());
    const int firstAbove = reaching(view.top() - view.height());
    for (int row = firstShown; row < endShown; ++row)
        wanted.rows.push_back(row);
    for (int row = endShown; row < endBelow; ++row)
        wanted.rows.push_back(row);
    for (int row = firstShown - 1; row >= firstAbove; --row)
        wanted.rows.push_back(row);
    wanted.first = firstShown;
    wanted.end = endShown;
    return wanted;
}

std::vector<std::string> ThumbnailLoader::listedFiles() const {
    const std::string folder = toLocal(folder_);
    const int count = std::min(list_.count(), static_cast<int>(rows_.size()));
    std::vector<std::string> files;
    files.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        files.push_back(joinPath(folder, toLocal(list_.item(row)->text())));
    return files;
}

void ThumbnailLoader::ask() {
    const Wanted wanted = wantedRows();
    // The files are read from the list before the pool's tasks are held up; the loader's
    // thread alone writes them.
    std::vector<std::string> files;
    if (!wanted.rows.empty() && shared_->background.files.empty())
        files = listedFiles();
    Shared& shared = *shared_;
    Background& background = shared.background;
    const std::lock_guard lock(shared.mutex);
    // Rows still waiting in the queue are asked for again below if they are still wanted, or
    // left to the background; those asked for and no longer queued are being made.
    for (const Request& dropped : shared.queue) {
        rows_[static_cast<std::size_t>(dropped.row)] = RowState::Waiting;
        if (!background.taken.empty())
            background.taken[static_cast<std::size_t>(dropped.row)] = false;
    }
    shared.queue.clear();
    if (wanted.rows.empty()) {
        background = Background();
        return;
    }
    if (background.files.empty())
        startBackground(std::move(files));
    background.size =
        list_.devicePixelRatioF() > 1.0 ? ThumbnailSize::Large : ThumbnailSize::Normal;
    background.below = wanted.end;
    background.above = wanted.first - 1;
    background.belowNext = true;
    for (const int row : wanted.rows) {
        const auto at = static_cast<std::size_t>(row);
        if (rows_[at] != RowState::Waiting)
            continue;
        rows_[at] = RowState::Asked;
        background.taken[at] = true;
        shared.queue.push_back({generation_, row, background.files[at], background.size});
    }
    startWorkers();
}

void ThumbnailLoader::startBackground(std::vector<std::string> files) {
    Background& background = shared_->background;
    background.taken.assign(files.size(), false);
    for (std::size_t row = 0; row < files.size(); ++row)
        background.taken[row] = rows_[row] != RowState::Waiting;
    background.files = std::move(files);
}

void ThumbnailLoader::startWorkers() {
    Shared& shared = *shared_;
    QThreadPool& threads = pool();
    // The background keeps every thread busy until it has taken every row.
    const int more = threads.maxThreadCount() - shared.workers;
    for (int started = 0; started < more; ++started) {
        ++shared.workers;
        threads.start([task = shared_] { work(task); });
    }
}

int ThumbnailLoader::Background::take() {
    const int count = static_cast<int>(files.size());
    while (below < count && taken[static_cast<std::size_t>(below)])
        ++below;
    while (above >= 0 && taken[static_cast<std::size_t>(above)])
        --above;
    const bool down = below < count && (belowNext || above < 0);
    if (!down && above < 0)
        return -1;
    const int row = down ? below++ : above--;
    belowNext = !down;
    taken[static_cast<std::size_t>(row)] = true;
    return row;
}

// One task of the pool: makes the queued thumbnails, one at a time, and hands each to the
// loader while it is there; with the queue empty, makes the background's next row into a
// cache file; ends when neither has work. The signal is queued, so the loader takes it on its
// own thread; one still queued when the loader goes goes with it.
void ThumbnailLoader::work(const std::shared_ptr<Shared>& shared) {
    std::unique_lock lock(shared->mutex);
    for (;;) {
        if (!shared->queue.empty()) {
            const Request request = std::move(shared->queue.front());
            shared->queue.pop_front();
            lock.unlock();
            const QImage canvas = makeCanvas(shared->cache, request);
            lock.lock();
            if (shared->loader)
                emit shared->loader->made(request.generation, request.row, canvas);
            continue;
        }
        Background& background = shared->background;
        const int row = background.take();
        if (row < 0) {
            --shared->workers;
            return;
        }
        const std::string file = background.files[static_cast<std::size_t>(row)];
        const ThumbnailSize size = background.size;
        lock.unlock();
        storeQuietly(shared->cache, file, size);
        lock.lock();
    }
}

void ThumbnailLoader::storeQuietly(const ThumbnailCache& cache, const std::string& file,
                                   ThumbnailSize size) {
    try {
        cache.store(file, size);
    } catch (...) {
        // Out of memory: the file is tried again once it comes near the view.
    }
}

QImage ThumbnailLoader::makeCanvas(const ThumbnailCache& cache, const Request& request) {
    try {
        const Thumbnail thumbnail = cache.thumbnail(request.file, request.size);
        if (thumbnail.image.empty())
            return {};
        const QImage picture = rgbaView(thumbnail.image);
        const int edge = thumbnailEdge(request.size);
        QImage canvas(edge, edge, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        // Fitted into the canvas, keeping its proportions, and centred.
        const QSize fitted = picture.size().boundedTo(canvas.size()) == picture.size()
                                 ? picture.size()
                                 : picture.size().scaled(canvas.size(), Qt::KeepAspectRatio);
        {
            QPainter painter(&canvas);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(
                QRect(QPoint((edge - fitted.width()) / 2, (edge - fitted.height()) / 2), fitted),
                picture);
        }
        if (request.size == ThumbnailSize::Large)
            canvas.setDevicePixelRatio(kLargeRatio);
        return canvas;
    } catch (...) {
        // A picture that cannot be shown keeps its file-type icon, as a damaged one does.
        return {};
    }
}

void ThumbnailLoader::show(quint64 generation, int row, const QImage& canvas) {
    if (generation != generation_ || row >= list_.count())
        return;
    rows_[static_cast<std::size_t>(row)] = RowState::Done;
    if (canvas.isNull())
        return;
    QListWidgetItem& item = *list_.item(row);
    if (!item.data(kFileIconRole).isValid())
        item.setData(kFileIconRole, item.icon());
    item.setIcon(QIcon(QPixmap::fromImage(canvas)));
}

} // namespace kelmor
