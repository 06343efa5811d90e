// Thumbnail View on the Pics tab's JPG list over a folder of 60 photos of 3000 x 2000 pixels,
// the whole program built with silent services.
//
// ThumbnailView/FillFolder: the window at its own size, where a few photos are in view, and an
// empty cache: the time from the switch until the cache holds every photo's thumbnail, each
// run right after one of vipsthumbnail -s 128 over the same files so that the load of a shared
// machine weighs on both alike. Counters: the time of our runs over theirs (vs_vipsthumbnail,
// target at most 1.0, also printed at the end), the median and 95th percentile in
// milliseconds of a QTimer::singleShot(0) posted every 10 ms until it runs (target: a median
// of at most 50 ms), and the items showing their thumbnail at the end: the rest were made into
// cache files only.
//
// ThumbnailView/LargeFolder: the same over a folder of 10,000 small JPEGs, once: the time until
// the first item shows its thumbnail (first_ms), the median and 95th percentile of the
// queued call's answer while the whole folder is made (target: a median of at most 50 ms), and
// the process's peak resident memory at the end (peak_MB).
//
// The two below use a window large enough to hold every photo.
// ThumbnailView/EventLoopLatency: the view switched on with an empty cache; while the
// thumbnails are made, a call is queued on the window's thread every 10 ms and the time until
// it runs is kept. Counters: its median and 95th percentile in milliseconds (target: a median
// of at most 50 ms) and the thumbnails shown.
// ThumbnailView/CachedFolder: a second program opening the same folder with the cache full:
// the time from the switch until every thumbnail is shown (target: at most 0.3 s).

#include "thumbnail_view_bench.h"

#include "app/kelmor_app.h"
#include "app/main_window.h"
#include "pictures/pics_tab.h"
#include "support/silent_services.h"
#include "support/test_photos.h"
#include "support/vipsthumbnail.h"
#include "ui/thumbnail_loader.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

using kelmor::PictureListsPanel;
using Clock = std::chrono::steady_clock;

using kelmor::bench::kPhotoCount;
constexpr int kPostEveryMs = 10;
constexpr int kGiveUpMs = 60'000;

std::filesystem::path localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The photos, written once into a temporary folder.
struct Photos {
    QTemporaryDir folder;
    std::vector<std::filesystem::path> files;
    Photos() {
        for (int index = 0; index < kPhotoCount; ++index) {
            files.push_back(
                localPath(folder.path() +
                          QStringLiteral("/photo%1.jpg").arg(index, 2, 10, QLatin1Char('0'))));
            kelmor::bench::writeTestPhoto(files.back(), index);
        }
    }
};

const Photos& photos() {
    static const Photos made;
    return made;
}

const QTemporaryDir& photoFolder() {
    return photos().folder;
}

// Whether the window is made large enough to hold every photo, or left at its own size.
enum class Window { WholeFolder, OwnSize };

// The program over the photo folder with the Pics tab's JPG list in front.
class Session {
public:
    Session(const QString& cacheRoot, Window window, const QString& folder = photoFolder().path())
        : services_{dialogs_,
                    shell_,
                    help_,
                    {config_.path(), config_.path(), config_.path(), cacheRoot}} {
        QFile prefs(config_.path() + QStringLiteral("/KelmorPref.ini"));
        if (!prefs.open(QIODevice::WriteOnly))
            std::abort();
        prefs.write("[PREFERENCES]\nJpg=" + QFile::encodeName(folder) + "\n");
        prefs.close();
        app_ = std::make_unique<kelmor::KelmorApp>(services_);
        if (window == Window::WholeFolder)
            app_->mainWindow().resize(2400, 1800);
        app_->show();
        for (kelmor::TabPage* page : app_->mainWindow().tabPages())
            if (auto* pics = qobject_cast<kelmor::PicsTab*>(page))
                tab_ = pics;
        app_->mainWindow()
            .findChild<QTabWidget*>(QStringLiteral("PageControl1"))
            ->setCurrentWidget(tab_);
        tab_->pictureLists().setCurrentIndex(static_cast<int>(PictureListsPanel::Kind::Jpg));
        // The lists take most of the width from the preview, so every photo is in view.
        auto* splitter = qobject_cast<QSplitter*>(tab_->pictureLists().parentWidget());
        if (splitter && window == Window::WholeFolder)
            splitter->setSizes({2000, 400});
        QCoreApplication::processEvents();
        fileIcon_ = list().item(0)->icon().cacheKey();
    }

    QListWidget& list() const { return tab_->pictureLists().list(PictureListsPanel::Kind::Jpg); }
    void thumbnailView() const {
        tab_->findChild<QAction*>(QStringLiteral("PicsThumbnailView"))->trigger();
    }
    // The items that show a thumbnail rather than the file-type icon.
    int shown() const {
        int count = 0;
        for (int row = 0; row < list().count(); ++row)
            count += list().item(row)->icon().cacheKey() != fileIcon_ ? 1 : 0;
        return count;
    }

private:
    kelmor::bench::SilentDialogs dialogs_;
    kelmor::bench::SilentShell shell_;
    kelmor::bench::SilentHelp help_;
    QTemporaryDir config_;
    kelmor::Services services_;
    std::unique_ptr<kelmor::KelmorApp> app_;
    kelmor::PicsTab* tab_ = nullptr;
    qint64 fileIcon_ = 0;
};

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// Runs the event loop, looking every 10 ms, until `done` holds; false when it gave up. The
// loop sleeps between its events: the thumbnails' threads have the cores to themselves.
template <class Done> bool waitUntil(Done done) {
    QElapsedTimer waited;
    waited.start();
    bool finished = done();
    QEventLoop loop;
    QTimer look;
    look.setInterval(kPostEveryMs);
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        finished = done();
        if (finished || waited.elapsed() > kGiveUpMs)
            loop.quit();
    });
    look.start();
    if (!finished)
        loop.exec();
    return finished;
}

// Runs the event loop until every photo shows its thumbnail; false when it gave up.
bool waitForEveryThumbnail(const Session& session) {
    return waitUntil([&session] { return session.shown() >= kPhotoCount; });
}

void eventLoopLatency(benchmark::State& state) {
    photoFolder();
    std::vector<double> latencies;
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            QTemporaryDir cache;
            Session session(cache.path(), Window::WholeFolder);
            QObject context;
            QTimer ticker;
            ticker.setInterval(kPostEveryMs);
            QObject::connect(&ticker, &QTimer::timeout, &context, [&] {
                const Clock::time_point posted = Clock::now();
                QMetaObject::invokeMethod(
                    &context,
                    [posted, &latencies] {
                        latencies.push_back(
                            std::chrono::duration<double, std::milli>(Clock::now() - posted)
                                .count());
                    },
                    Qt::QueuedConnection);
            });
            state.ResumeTiming();
            session.thumbnailView();
            ticker.start();
            const bool every = waitForEveryThumbnail(session);
            ticker.stop();
            if (!every) {
                state.SkipWithError("not every thumbnail was shown");
                break;
            }
            shown = session.shown();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["median_ms"] = percentile(latencies, 0.5);
    state.counters["p95_ms"] = percentile(latencies, 0.95);
    state.counters["calls"] = static_cast<double>(latencies.size());
    state.counters["shown"] = shown;
}

void cachedFolder(benchmark::State& state) {
    QTemporaryDir cache;
    {
        Session first(cache.path(), Window::WholeFolder);
        first.thumbnailView();
        if (!waitForEveryThumbnail(first)) {
            state.SkipWithError("the cache was not filled");
            return;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        {
            Session second(cache.path(), Window::WholeFolder);
            state.ResumeTiming();
            second.thumbnailView();
            if (!waitForEveryThumbnail(second)) {
                state.SkipWithError("not every thumbnail was shown");
                break;
            }
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

// The time of the FillFolder runs and of the vipsthumbnail runs paired with them.
double fillSeconds = 0, vipsSeconds = 0;

// Posts a QTimer::singleShot(0) every 10 ms while it lives, keeping how long each took to run.
class QueuedCalls {
public:
    explicit QueuedCalls(std::vector<double>& latencies) {
        ticker_.setInterval(kPostEveryMs);
        QObject::connect(&ticker_, &QTimer::timeout, &context_, [this, &latencies] {
            const Clock::time_point posted = Clock::now();
            QTimer::singleShot(0, &context_, [posted, &latencies] {
                latencies.push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - posted).count());
            });
        });
        ticker_.start();
    }

private:
    QObject context_;
    QTimer ticker_;
};

// One run: vipsthumbnail, then Thumbnail View until the cache holds every photo; false when
// either failed.
bool fillOnce(benchmark::State& state, std::vector<double>& latencies, int& shown) {
    QTemporaryDir cache, vips;
    const double theirs = kelmor::bench::runVipsthumbnail(photos().files, localPath(vips.path()));
    Session session(cache.path(), Window::OwnSize);
    const QDir made(cache.path() + QStringLiteral("/normal"));
    bool every = false;
    Clock::time_point start;
    {
        const QueuedCalls calls(latencies);
        start = Clock::now();
        session.thumbnailView();
        every = waitUntil([&made] { return made.entryList(QDir::Files).size() >= kPhotoCount; });
    }
    const double ours = std::chrono::duration<double>(Clock::now() - start).count();
    shown = session.shown();
    // Nothing of this run may go on into the next.
    kelmor::ThumbnailLoader::pool().waitForDone();
    if (theirs < 0 || !every)
        return false;
    state.SetIterationTime(ours);
    fillSeconds += ours;
    vipsSeconds += theirs;
    return true;
}

void fillFolder(benchmark::State& state) {
    photos();
    std::vector<double> latencies;
    int shown = 0;
    for (auto _ : state) {
        if (!fillOnce(state, latencies, shown)) {
            state.SkipWithError("vipsthumbnail failed or the cache was not filled");
            break;
        }
    }
    if (vipsSeconds > 0)
        state.counters["vs_vipsthumbnail"] = fillSeconds / vipsSeconds;
    state.counters["median_ms"] = percentile(latencies, 0.5);
    state.counters["p95_ms"] = percentile(latencies, 0.95);
    state.counters["shown"] = shown;
}

constexpr int kLargeFolderCount = 10'000;

// The folder of 10,000 copies of one 320 x 240 JPEG, written once.
const QTemporaryDir& largeFolder() {
    static const QTemporaryDir* const folder = [] {
        auto* made = new QTemporaryDir;
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "JPEG", 90))
            std::abort();
        for (int index = 0; index < kLargeFolderCount; ++index) {
            QFile file(made->path() +
                       QStringLiteral("/p%1.jpg").arg(index, 5, 10, QLatin1Char('0')));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                std::abort();
        }
        return made;
    }();
    return *folder;
}

void largeFolderFill(benchmark::State& state) {
    const QString folder = largeFolder().path();
    std::vector<double> latencies;
    double first = 0;
    for (auto _ : state) {
        QTemporaryDir cache;
        Session session(cache.path(), Window::OwnSize, folder);
        const QDir made(cache.path() + QStringLiteral("/normal"));
        const qint64 fileIcon = session.list().item(0)->icon().cacheKey();
        bool every = false;
        {
            const QueuedCalls calls(latencies);
            const Clock::time_point start = Clock::now();
            session.thumbnailView();
            waitUntil([&] { return session.list().item(0)->icon().cacheKey() != fileIcon; });
            first = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            // Listing 10,000 files takes milliseconds: done four times a second only.
            QElapsedTimer listed;
            listed.start();
            every = waitUntil([&] {
                if (listed.elapsed() < 250)
                    return false;
                listed.restart();
                return made.entryList(QDir::Files).size() >= kLargeFolderCount;
            });
        }
        kelmor::ThumbnailLoader::pool().waitForDone();
        if (!every) {
            state.SkipWithError("the cache was not filled");
            break;
        }
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["first_ms"] = first;
    state.counters["median_ms"] = percentile(latencies, 0.5);
    state.counters["p95_ms"] = percentile(latencies, 0.95);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

} // namespace

void printThumbnailViewRatio() {
    if (fillSeconds > 0 && vipsSeconds > 0)
        std::printf("Thumbnail View filling the cache with %d photos of %d x %d, paired runs: "
                    "Kelmor %.0f ms, vipsthumbnail %.0f ms in all, ratio %.2fx (target <= 1.0x)\n",
                    kPhotoCount, kelmor::bench::kPhotoWidth, kelmor::bench::kPhotoHeight,
                    fillSeconds * 1e3, vipsSeconds * 1e3, fillSeconds / vipsSeconds);
}

BENCHMARK(fillFolder)
    ->Name("ThumbnailView/FillFolder")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);
BENCHMARK(largeFolderFill)
    ->Name("ThumbnailView/LargeFolder")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK(eventLoopLatency)
    ->Name("ThumbnailView/EventLoopLatency")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK(cachedFolder)
    ->Name("ThumbnailView/CachedFolder")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
