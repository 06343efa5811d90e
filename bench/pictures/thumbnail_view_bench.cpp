// Thumbnail View on the Pics tab's JPG list over a folder of 60 photos of 3000 x 2000 pixels,
// the whole program built with silent services and a window large enough to hold every photo.
// The photos are made once, as JPEG files of quality 90: smooth scenes under fine noise.
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
#include <cmath>
#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <random>
#include <vector>

namespace {

using kelmor::PictureListsPanel;
using Clock = std::chrono::steady_clock;

constexpr int kPhotos = 60;
constexpr int kWidth = 3000;
constexpr int kHeight = 2000;
constexpr int kPostEveryMs = 10;
constexpr int kGiveUpMs = 60'000;

// Photo `index`: broad waves of colour that differ per photo, under noise.
void writePhoto(const QString& path, int index) {
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr)
        std::abort();
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::mt19937 random(static_cast<unsigned>(index));
    std::uniform_int_distribution<int> noise(-12, 12);
    std::vector<JSAMPLE> row(std::size_t{kWidth} * 3);
    const float phase = static_cast<float>(index) * 0.41f;
    while (info.next_scanline < info.image_height) {
        const float fy = static_cast<float>(info.next_scanline) / kHeight;
        for (int x = 0; x < kWidth; ++x) {
            const float fx = static_cast<float>(x) / kWidth;
            const float scene[3] = {128 + 100 * std::sin(fx * 5.1f + fy * 2.3f + phase),
                                    120 + 90 * std::sin(fy * 6.3f - fx * 1.1f + phase),
                                    110 + 80 * std::cos((fx - 0.4f) * (fy - 0.6f) * 20.0f)};
            for (int c = 0; c < 3; ++c)
                row[std::size_t(x) * 3 + std::size_t(c)] = static_cast<JSAMPLE>(
                    std::clamp(scene[c] + static_cast<float>(noise(random)), 0.0f, 255.0f));
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

// The photos, written once into a temporary folder.
struct Photos {
    QTemporaryDir folder;
    Photos() {
        for (int index = 0; index < kPhotos; ++index)
            writePhoto(folder.path() +
                           QStringLiteral("/photo%1.jpg").arg(index, 2, 10, QLatin1Char('0')),
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
    while (session.shown() < kPhotos) {
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
