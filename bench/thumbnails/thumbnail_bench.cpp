// Thumbnails of 60 photos of 3000 x 2000 pixels, written into a fresh empty cache by the batch's
// worker threads (Thumbnails/Kelmor), against vipsthumbnail -s 128 over the same files
// (Thumbnails/Vipsthumbnail), started from here as a program. The photos are made once, as JPEG
// files of quality 90 in a temporary folder: smooth scenes under fine noise, 1 to 3 MB each, as a
// camera's are. Kelmor's benchmark runs vipsthumbnail before each of its own runs and reports
// the time of its runs over theirs as the counter "vs_vipsthumbnail"; the run ends with that
// ratio printed. The target is at most 1.0.

#include "thumbnails/thumbnail_batch.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <jpeglib.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 60;
constexpr int kWidth = 3000;
constexpr int kHeight = 2000;

// Writes photo `index`: a few broad shapes of colour, a finer texture, and noise.
void writePhoto(const fs::path& file, int index) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr)
        std::abort();
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(kWidth * 3);
    std::uint32_t random = 2463534242u + static_cast<std::uint32_t>(index) * 7919u;
    const float phase = index * 0.37f;
    while (info.next_scanline < info.image_height) {
        const float fy = float(info.next_scanline) / kHeight;
        for (int x = 0; x < kWidth; ++x) {
            const float fx = float(x) / kWidth;
            const float scene[3] = {128 + 90 * std::sin(fx * 4.1f + fy * 2.3f + phase),
                                    120 + 80 * std::sin(fy * 5.3f - fx * 1.7f + phase * 2),
                                    110 + 70 * std::cos((fx - 0.4f) * (fy - 0.6f) * 18.0f + phase) +
                                        20 * std::sin(fx * 160.0f) * std::sin(fy * 110.0f)};
            for (int c = 0; c < 3; ++c) {
                random ^= random << 13;
                random ^= random >> 17;
                random ^= random << 5;
                const float noise = float(random % 29) - 14.0f;
                row[x * 3 + c] = static_cast<JSAMPLE>(std::clamp(scene[c] + noise, 0.0f, 255.0f));
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

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
        for (int i = 0; i < kPhotos; ++i) {
            files.push_back(folder / "photos" / ("photo" + std::to_string(i) + ".jpg"));
            writePhoto(files.back(), i);
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
    std::vector<std::string> arguments = {"vipsthumbnail", "-s", "128", "-o",
                                          (input.fresh("vips") / "tn_%s.jpg").string()};
    for (const fs::path& file : input.files)
        arguments.push_back(file.string());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 0;
    if (::posix_spawnp(&child, "vipsthumbnail", nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
    state.counters["photo_MB"] = double(input.bytes) / kPhotos / 1e6;
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
                    kPhotos, kWidth, kHeight, kelmorSeconds * 1e3, vipsSeconds * 1e3,
                    kelmorSeconds / vipsSeconds);
    return 0;
}
