// Thumbnails of 60 photos of 3000 x 2000 pixels, written into a fresh empty cache by the batch's
// worker threads (Thumbnails/Kelmor), against vipsthumbnail -s 128 over the same files
// (Thumbnails/Vipsthumbnail), started from here as a program. The photos are made once in a
// temporary folder. Kelmor's benchmark runs vipsthumbnail before each of its own runs and reports
// the time of its runs over theirs as the counter "vs_vipsthumbnail"; the run ends with that
// ratio printed. The target is at most 1.0.

#include "support/test_photos.h"
#include "support/vipsthumbnail.h"
#include "thumbnails/thumbnail_batch.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using kelmor::bench::kPhotoCount;
using kelmor::bench::kPhotoHeight;
using kelmor::bench::kPhotoWidth;

// The temporary folder with the photos, made on first use and removed at the end.
struct Photos {
    fs::path folder;
    std::vector<fs::path> files;
    std::uintmax_t bytes = 0;

    Photos() {
        std::string pattern = (fs::temp_directory_path() / "kelmor-thumbs-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder = pattern;
        fs::create_directory(folder / "photos");
        for (int i = 0; i < kPhotoCount; ++i) {
            files.push_back(folder / "photos" / ("photo" + std::to_string(i) + ".jpg"));
            kelmor::bench::writeTestPhoto(files.back(), i);
            bytes += fs::file_size(files.back());
        }
    }
    ~Photos() { fs::remove_all(folder); }

    // An empty folder of the name, emptied if it was there.
    fs::path fresh(const char* name) const {
        fs::remove_all(folder / name);
        fs::create_directory(folder / name);
        return folder / name;
    }
};

const Photos& photos() {
    static const Photos made;
    return made;
}

// One run of vipsthumbnail over the photos into a fresh folder: its seconds, or a negative
// number when it fails.
double runVipsthumbnail(const Photos& input) {
    return kelmor::bench::runVipsthumbnail(input.files, input.fresh("vips"));
}

// Our thumbnails of the photos into a fresh cache: its seconds, or a negative number when one
// was not written.
double runKelmor(const Photos& input) {
    const kelmor::ThumbnailCache cache(input.fresh("cache") / "thumbnails");
    const auto start = std::chrono::steady_clock::now();
    const std::vector<kelmor::Thumbnail> made =
        kelmor::makeThumbnails(cache, input.files, kelmor::ThumbnailSize::Normal);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const kelmor::Thumbnail& thumbnail : made) {
        if (thumbnail.origin != kelmor::Thumbnail::Origin::Made || thumbnail.file.empty())
            return -1;
    }
    return seconds;
}

// The ratio over paired runs: each of ours right after one of vipsthumbnail, so that the load of
// a shared machine weighs on both alike.
double kelmorSeconds = 0, vipsSeconds = 0;

void Vipsthumbnail(benchmark::State& state) {
    const Photos& input = photos();
    for (auto _ : state) {
        const double seconds = runVipsthumbnail(input);
        if (seconds < 0) {
            state.SkipWithError("vipsthumbnail failed (is libvips-tools installed?)");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["photo_MB"] = double(input.bytes) / kPhotoCount / 1e6;
}

void Kelmor(benchmark::State& state) {
    const Photos& input = photos();
    for (auto _ : state) {
        const double theirs = runVipsthumbnail(input);
        const double ours = runKelmor(input);
        if (ours < 0 || theirs < 0) {
            state.SkipWithError(ours < 0 ? "a thumbnail was not written" : "vipsthumbnail failed");
            break;
        }
        state.SetIterationTime(ours);
        kelmorSeconds += ours;
        vipsSeconds += theirs;
    }
    if (vipsSeconds > 0)
        state.counters["vs_vipsthumbnail"] = kelmorSeconds / vipsSeconds;
    state.counters["workers"] = kelmor::thumbnailWorkerCount();
}

BENCHMARK(Vipsthumbnail)
    ->Name("Thumbnails/Vipsthumbnail")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(Kelmor)
    ->Name("Thumbnails/Kelmor")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (vipsSeconds > 0 && kelmorSeconds > 0)
        std::printf("Thumbnails of %d photos of %d x %d, paired runs: Kelmor %.0f ms, "
                    "vipsthumbnail %.0f ms in all, ratio %.2fx (target <= 1.0x)\n",
                    kPhotoCount, kPhotoWidth, kPhotoHeight, kelmorSeconds * 1e3, vipsSeconds * 1e3,
                    kelmorSeconds / vipsSeconds);
    return 0;
}
