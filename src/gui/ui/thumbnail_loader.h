#pragma once

#include "thumbnails/thumbnail_cache.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QAbstractItemModel;
class QListWidget;
class QThreadPool;
class QWidget;

namespace kelmor {

// Gives the items of a picture list their thumbnails while the list is in Thumbnail View, and
// fills the cache with those of the whole folder. The items in view are asked for first, then
// a screen above and below them, the nearest first; then the rest of the folder is made into
// cache files in the background, the rows nearest the view first, without keeping their
// pictures: an item far from the view shows its thumbnail once it comes near the view, from
// the cache. Scrolling, resizing and showing the list ask again in the new order. Everything is
// made on the shared pool and reaches the list through a queued signal, so the window never
// waits for a picture. An item keeps its file-type icon until its thumbnail is ready, and for
// good when none can be made. Refilling the list, changing its folder, hiding it or leaving
// Thumbnail View drops the work not yet started for the list as it was.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    // The loader belongs to the list; captions name files of the folder set below.
    ThumbnailLoader(QListWidget& list, const QString& cacheRoot);
    // Drops the work not yet started and abandons the thumbnails being made, without waiting
    // for them: their results go nowhere.
    ~ThumbnailLoader() override;

    // The folder the list's captions name files in; an empty one is the root folder.
    void setFolder(const QString& folder);
    // Thumbnail View on or off: off, every item takes back its file-type icon.
    void setShown(bool shown);
    bool shown() const { return shown_; }

    // The pool every list's thumbnails are made on: one thread per core, at most four. It is
    // never destroyed, so the end of the program waits for none of its work.
    static QThreadPool& pool();

signals:
    // A thumbnail made for the row of the list as it was in `generation`, on its canvas;
    // a null image when the picture has none. Emitted from the pool's threads.
    void made(quint64 generation, int row, const QImage& canvas);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Request {
        quint64 generation;
        int row;
        std::string file;
        ThumbnailSize size;
    };
    enum class RowState : unsigned char { Waiting, Asked, Done };

    // Forgets the rows' states and the work asked for: the list changed, or it left the view
    // or its folder, when its items also take back their file-type icons.
    void restart();
    void restoreFileIcons();
    // Asks for the rows around the view that have no thumbnail yet, and for the rest of the
    // folder in the background, at the next turn of the event loop, once however often it is
    // called before that.
    void askSoon();
    void ask();
    // The rows to show, in the order to make them: those in view, then those below, then those
    // above, the nearest first; with the first row in view and the one past the last.
    struct Wanted {
        std::vector<int> rows;
        int first = 0;
        int end = 0;
    };
    Wanted wantedRows() const;
    // The file of each row, for the background.
    std::vector<std::string> listedFiles() const;
    void show(quint64 generation, int row, const QImage& canvas);

    // The rows of the list that are only made into cache files, taken by the pool's tasks when
    // the queue of rows to show is empty: alternately the next row below the view and the next
    // above it. Written by the loader's thread under the shared mutex only.
    struct Background {
        std::vector<std::string> files; // by row; none while nothing is to be made
        std::vector<bool> taken;        // queued to be shown, being made or made
        ThumbnailSize size = ThumbnailSize::Normal;
        int below = 0;  // the next row to try under the view
        int above = -1; // the next row to try over it
        bool belowNext = true;
        // The row not yet taken nearest the view, now taken; -1 when there is none.
        int take();
    };

    // What the loader shares with the pool's tasks, kept alive by them: a task still making a
    // thumbnail when the loader goes finds it detached and drops what it made.
    struct Shared {
        explicit Shared(const std::string& cacheRoot) : cache(cacheRoot) {}
        const ThumbnailCache cache;
        std::mutex mutex;
        std::deque<Request> queue;
        Background background;
        int workers = 0;                   // tasks started on the pool and not yet ended
        ThumbnailLoader* loader = nullptr; // none once the loader is gone
        // Forgets the work not yet started; the caller holds the mutex.
        void drop();
    };
    // Gives the background the list's files, every row not yet asked for still to take; the
    // caller holds the mutex.
    void startBackground(std::vector<std::string> files);
    void startWorkers();
    static void work(const std::shared_ptr<Shared>& shared);
    static void storeQuietly(const ThumbnailCache& cache, const std::string& file,
                             ThumbnailSize size);
    static QImage makeCanvas(const ThumbnailCache& cache, const Request& request);

    QListWidget& list_;
    QWidget& viewport_;               // the list's, kept for the event filter
    const QAbstractItemModel& model_; // the list's
    QString folder_;
    bool shown_ = false;
    bool askPending_ = false;
    quint64 generation_ = 0;
    std::vector<RowState> rows_;
    std::shared_ptr<Shared> shared_;
};

} // namespace kelmor
