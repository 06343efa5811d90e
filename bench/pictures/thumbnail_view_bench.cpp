// Thumbnail View on the Pics tab's JPG list over a folder of 60 photos of 3000 x 2000 pixels,
// the whole program built with silent services and a window large enough to hold every photo.
//
// ThumbnailView/EventLoopLatency: the view switched on with an empty cache; while the
// thumbnails are made, a call is queued on the window's thread every 10 ms and the time until
// it runs is kept. Counters: its median and 95th percentile in milliseconds (target: a median
// of at most 50 ms) and the thumbnails shown.
// ThumbnailView/CachedFolder: a second program opening the same folder with the cache full:
// the time from the switch until every thumbnail is shown (target: at most 0.3 s).

#include "app/kelmor_app.h"
#include "app/main_window.h"
#include "pictures/pics_tab.h"
#include "support/silent_services.h"
#include "support/test_photos.h"
#include "ui/thumbnail_loader.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

namespace {

using kelmor::PictureListsPanel;
using Clock = std::chrono::steady_clock;

using kelmor::bench::kPhotoCount;
constexpr int kPostEveryMs = 10;
constexpr int kGiveUpMs = 60'000;

// The photos, written once into a temporary folder.
struct Photos {
    QTemporaryDir folder;
    Photos() {
        for (int index = 0; index < kPhotoCount; ++index)
            kelmor::bench::writeTestPhoto(
                QFile::encodeName(
                    folder.path() +
                    QStringLiteral("/photo%1.jpg").arg(index, 2, 10, QLatin1Char('0')))
                    .toStdString(),
                index);
    }
};

const QTemporaryDir& photoFolder() {
    static const Photos photos;
    return photos.folder;
}

// The program over the photo folder with the Pics tab's JPG list in front.
class Session {
public:
    explicit Session(const QString& cacheRoot)
        : services_{dialogs_,
                    shell_,
                    help_,
                    {config_.path(), config_.path(), config_.path(), cacheRoot}} {
        QFile prefs(config_.path() + QStringLiteral("/KelmorPref.ini"));
        if (!prefs.open(QIODevice::WriteOnly))
            std::abort();
        prefs.write("[PREFERENCES]\nJpg=" + QFile::encodeName(photoFolder().path()) + "\n");
        prefs.close();
        app_ = std::make_unique<kelmor::KelmorApp>(services_);
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
        if (auto* splitter = qobject_cast<QSplitter*>(tab_->pictureLists().parentWidget()))
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

// Runs the event loop until every photo shows its thumbnail; false when it gave up.
bool waitForEveryThumbnail(const Session& session) {
    QElapsedTimer waited;
    waited.start();
    while (session.shown() < kPhotoCount) {
        if (waited.elapsed() > kGiveUpMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                        kPostEveryMs);
    }
    return true;
}

void eventLoopLatency(benchmark::State& state) {
    photoFolder();
    std::vector<double> latencies;
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            QTemporaryDir cache;
            Session session(cache.path());
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
        Session first(cache.path());
        first.thumbnailView();
        if (!waitForEveryThumbnail(first)) {
            state.SkipWithError("the cache was not filled");
            return;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        {
            Session second(cache.path());
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

} // namespace

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
