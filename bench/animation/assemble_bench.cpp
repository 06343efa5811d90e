// The assembly of 20 frames of 320 x 240 24-bit bitmaps into a written GIF:
// with all three options (Assemble/all) against none (Assemble/none), and the
// no-option assembly against giflib writing the same frames' indices and
// tables (Assemble/giflib_write).

#include "animation/assembly.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <gif_lib.h>
#include <string>
#include <vector>

namespace {

using kelmor::Bitmap;
using kelmor::GifImage;
using kelmor::Picture;
using kelmor::Rgb;

constexpr int kFrames = 20;
constexpr int kWidth = 320;
constexpr int kHeight = 240;

// A sky-to-ground gradient with a ball that moves across it and a clock hand
// that turns: most of each frame repeats the frame before, as in a hand-made
// animation.
Bitmap frame(int index) {
    Bitmap bitmap(kWidth, kHeight, 24);
    const double ballX = 30 + index * 13.0;
    const double ballY = 120 + 60 * std::sin(index * 0.6);
    const double angle = index * 0.3;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb c{std::uint8_t(60 + y / 2), std::uint8_t(120 + x / 4), std::uint8_t(230 - y / 3)};
            const double dx = x - ballX, dy = y - ballY;
            if (dx * dx + dy * dy < 400)
                c = Rgb{230, std::uint8_t(40 + 3 * std::abs(dx)), 30};
            const double hx = x - 270.0, hy = y - 50.0;
            const double along = hx * std::cos(angle) + hy * std::sin(angle);
            const double across = -hx * std::sin(angle) + hy * std::cos(angle);
            if (along > 0 && along < 35 && std::abs(across) < 2)
                c = Rgb{20, 20, 20};
            bitmap.setColor(x, y, c);
        }
    }
    return bitmap;
}

const std::vector<Picture>& slots() {
    static const std::vector<Picture> pictures = [] {
        std::vector<Picture> all;
        for (int i = 0; i < kFrames; ++i)
            all.emplace_back(frame(i));
        return all;
    }();
    return pictures;
}

kelmor::FixedAnimationSettings settings(bool allOptions) {
    kelmor::FixedAnimationSettings s;
    s.cropOn = s.mergeOn = s.paletteOn = allOptions;
    return s;
}

void assembleAndWrite(benchmark::State& state, bool allOptions) {
    const auto options = settings(allOptions);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const Picture animation(kelmor::assembleAnimation(slots(), kFrames, options));
        const std::string file = animation.encoded();
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["file_bytes"] = double(bytes);
}

void AssembleAll(benchmark::State& state) {
    assembleAndWrite(state, true);
}

void AssembleNone(benchmark::State& state) {
    assembleAndWrite(state, false);
}

int writeMemory(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// giflib writes the frames of the no-option assembly: the same extensions,
// local tables and pixel indices, one EGifPutLine per row.
void AssembleGiflibWrite(benchmark::State& state) {
    const GifImage image = kelmor::assembleAnimation(slots(), kFrames, settings(false));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string file;
        int error = 0;
        GifFileType* gif = EGifOpen(&file, writeMemory, &error);
        EGifSetGifVersion(gif, true);
        EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, nullptr);
        for (const auto& f : image.frames()) {
            for (const auto& extension : f.extensions) {
                if (const auto* gce = std::get_if<kelmor::GifGraphicControlExtension>(&extension)) {
                    const GifByteType block[4] = {gce->packed, GifByteType(gce->delayTime & 0xFF),
                                                  GifByteType(gce->delayTime >> 8),
                                                  gce->transparentColorIndex};
                    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
                } else if (const auto* loop = std::get_if<kelmor::GifLoopExtension>(&extension)) {
                    const GifByteType count[3] = {1, GifByteType(loop->loopCount & 0xFF),
                                                  GifByteType(loop->loopCount >> 8)};
                    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
                    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
                    EGifPutExtensionBlock(gif, 3, count);
                    EGifPutExtensionTrailer(gif);
                }
            }
            const auto& colors = f.localColorTable.colors;
            std::vector<GifColorType> entries(std::size_t(1) << GifBitSize(int(colors.size())));
            for (std::size_t i = 0; i < colors.size(); ++i)
                entries[i] = {colors[i].r, colors[i].g, colors[i].b};
            ColorMapObject* map = GifMakeMapObject(int(entries.size()), entries.data());
            EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, map);
            GifFreeMapObject(map);
            for (int y = 0; y < f.height; ++y)
                EGifPutLine(gif,
                            const_cast<GifPixelType*>(f.pixels.data()) + std::size_t(y) * f.width,
                            f.width);
        }
        EGifCloseFile(gif, &error);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["file_bytes"] = double(bytes);
}

BENCHMARK(AssembleAll)->Name("Assemble/all")->Unit(benchmark::kMillisecond);
BENCHMARK(AssembleNone)->Name("Assemble/none")->Unit(benchmark::kMillisecond);
BENCHMARK(AssembleGiflibWrite)->Name("Assemble/giflib_write")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
