// GIF decoding and encoding, Kelmor against giflib, and encoding against cgif too, on three
// generated pictures: a 1024 x 1024 photograph-like picture reduced to 256 colours, a
// 20-frame 320 x 240 animation and a 4096 x 4096 two-colour picture. The run ends with the
// CPU time of Kelmor's encoder over each baseline's, per picture (below 1 is ahead).
//
// GifDecode/kelmor also reports the peak heap use while decoding, divided by
// the bytes of the decoded pixel buffers (peak_per_pixel_byte).

#include "base/error.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_decode.h"
#include "imaging/gif_encode.h"
#include "support/cpu_time_reporter.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cgif.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gif_lib.h>
#include <map>
#include <new>
#include <random>
#include <stdexcept>
#include <string>

namespace {

// Live and peak heap bytes, counted by the replaced global allocation functions.
std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void* allocate(std::size_t size) {
    void* block = std::malloc(size + 16);
    if (block == nullptr)
        throw std::bad_alloc();
    std::memcpy(block, &size, sizeof size);
    std::size_t live = liveBytes += size;
    std::size_t peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
    }
    return static_cast<char*>(block) + 16;
}

void release(void* p) {
    if (p == nullptr)
        return;
    void* block = static_cast<char*>(p) - 16;
    std::size_t size;
    std::memcpy(&size, block, sizeof size);
    liveBytes -= size;
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}

namespace {

using kelmor::Bitmap;
using kelmor::GifImage;
using kelmor::Rgb;

enum Picture { Photo, Animation, TwoColour };

// A smooth scene with fine noise, reduced to a 3-3-2 palette of 256 colours
// with error diffusion, as a photograph reduced to 256 colours looks.
Bitmap photo() {
    const int size = 1024;
    Bitmap bitmap(size, size, 8);
    for (int i = 0; i < 256; ++i)
        bitmap.palette.push_back({static_cast<std::uint8_t>((i >> 5) * 255 / 7),
                                  static_cast<std::uint8_t>(((i >> 2) & 7) * 255 / 7),
                                  static_cast<std::uint8_t>((i & 3) * 255 / 3)});
    std::mt19937 random(42);
    std::normal_distribution<float> noise(0.0f, 4.0f);
    std::vector<float> error(std::size_t(size + 2) * 3 * 2, 0.0f);
    for (int y = 0; y < size; ++y) {
        float* current = error.data() + std::size_t(y % 2) * (size + 2) * 3;
        float* next = error.data() + std::size_t((y + 1) % 2) * (size + 2) * 3;
        std::fill(next, next + (size + 2) * 3, 0.0f);
        for (int x = 0; x < size; ++x) {
            const float fx = float(x) / float(size), fy = float(y) / float(size);
            const float scene[3] = {128 +
                                        100 * std::sin(fx * 5.1f + fy * 2.3f) * std::cos(fy * 3.7f),
                                    120 + 90 * std::sin(fy * 6.3f - fx * 1.1f),
                                    110 + 80 * std::cos((fx - 0.4f) * (fy - 0.6f) * 20.0f)};
            int levels[3];
            for (int c = 0; c < 3; ++c) {
                const int steps = c == 2 ? 3 : 7;
                float v = scene[c] + noise(random) + current[(x + 1) * 3 + c];
                v = std::clamp(v, 0.0f, 255.0f);
                levels[c] = int(std::lround(v * float(steps) / 255.0f));
                const float err = v - float(levels[c]) * 255.0f / float(steps);
                current[(x + 2) * 3 + c] += err * 7 / 16;
                next[x * 3 + c] += err * 3 / 16;
                next[(x + 1) * 3 + c] += err * 5 / 16;
                next[(x + 2) * 3 + c] += err * 1 / 16;
            }
            bitmap.setIndex(x, y, unsigned(levels[0] << 5 | levels[1] << 2 | levels[2]));
        }
    }
    return bitmap;
}

// Twenty frames of balls moving over a banded background, 64 colours.
std::vector<Bitmap> animationFrames() {
    std::vector<Bitmap> frames;
    for (int f = 0; f < 20; ++f) {
        Bitmap bitmap(320, 240, 8);
        for (int i = 0; i < 64; ++i)
            bitmap.palette.push_back({static_cast<std::uint8_t>(i * 4),
                                      static_cast<std::uint8_t>(255 - i * 4),
                                      static_cast<std::uint8_t>((i * 37) % 256)});
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                unsigned index = unsigned((x / 16 + y / 12) % 8);
                for (int b = 0; b < 5; ++b) {
                    const int cx = (40 + b * 60 + f * (b + 3) * 3) % 320;
                    const int cy = 120 + int(80 * std::sin((f + b * 4) * 0.3));
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < 400 + b * 100)
                        index = unsigned(8 + b * 11 + (x + y) % 11);
                }
                bitmap.setIndex(x, y, index);
            }
        frames.push_back(std::move(bitmap));
    }
    return frames;
}

// Black shapes and text-like strokes on white.
Bitmap twoColour() {
    const int size = 4096;
    Bitmap bitmap(size, size, 1);
    bitmap.palette = {{255, 255, 255}, {0, 0, 0}};
    std::mt19937 random(5);
    for (int y = 0; y < size; ++y) {
        std::uint8_t* row = bitmap.row(y);
        for (int x = 0; x < size; x += 8) {
            std::uint8_t bits = 0;
            for (int k = 0; k < 8; ++k) {
                const int px = x + k;
                const bool ring =
                    std::abs(((px - 2048) * (px - 2048) + (y - 2048) * (y - 2048)) / 4096 % 64 -
                             32) < 3;
                const bool stroke = (y / 24) % 3 == 0 && (px / 6 + y / 24) % 7 < 4 &&
                                    (y % 24) > 4 && (y % 24) < 18 && px % 6 < 2;
                bits = static_cast<std::uint8_t>(bits << 1 | (ring || stroke ? 1 : 0));
            }
            row[x / 8] = bits;
        }
    }
    return bitmap;
}

GifImage picture(Picture which) {
    GifImage image;
    switch (which) {
    case Photo:
        appendFrame(image, photo());
        break;
    case Animation:
        for (const Bitmap& frame : animationFrames()) {
            int index = appendFrame(image, frame);
            if (index == 0)
                image.addLoopExtension(0);
            image.addGraphicControlExtension(index).setDelayTime(10);
        }
        break;
    case TwoColour:
        appendFrame(image, twoColour());
        break;
    }
    return image;
}

const GifImage& cachedPicture(Picture which) {
    static GifImage pictures[3] = {picture(Photo), picture(Animation), picture(TwoColour)};
    return pictures[which];
}

const std::string& cachedFile(Picture which) {
    static std::string files[3] = {encodeGif(cachedPicture(Photo)),
                                   encodeGif(cachedPicture(Animation)),
                                   encodeGif(cachedPicture(TwoColour))};
    return files[which];
}

const char* nameOf(Picture which) {
    static const char* const names[] = {"photo-1024x1024-256", "animation-20x320x240",
                                        "two-colour-4096x4096"};
    return names[which];
}

std::size_t pixelBytes(const GifImage& image) {
    std::size_t total = 0;
    for (const auto& frame : image.frames())
        total += frame.pixels.size();
    return total;
}

struct Memory {
    const std::string* bytes;
    std::size_t at = 0;
};

int readMemory(GifFileType* gif, GifByteType* dst, int n) {
    auto* in = static_cast<Memory*>(gif->UserData);
    const std::size_t take =
        std::min<std::size_t>(static_cast<std::size_t>(n), in->bytes->size() - in->at);
    std::memcpy(dst, in->bytes->data() + in->at, take);
    in->at += take;
    return static_cast<int>(take);
}

int writeMemory(GifFileType* gif, const GifByteType* src, int n) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(src), static_cast<std::size_t>(n));
    return n;
}

void GifDecodeKelmor(benchmark::State& state) {
    const auto which = static_cast<Picture>(state.range(0));
    const std::string& file = cachedFile(which);
    std::size_t pixels = 0;
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t base = liveBytes.load();
        peakBytes = base;
        const GifImage image = kelmor::decodeGif(file);
        pixels = pixelBytes(image);
        peak = std::max(peak, peakBytes.load() - base);
        benchmark::DoNotOptimize(image);
    }
    state.SetLabel(nameOf(which));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(pixels));
    state.counters["peak_per_pixel_byte"] = double(peak) / double(pixels);
}

void GifDecodeGiflib(benchmark::State& state) {
    const auto which = static_cast<Picture>(state.range(0));
    const std::string& file = cachedFile(which);
    std::size_t pixels = pixelBytes(cachedPicture(which));
    for (auto _ : state) {
        Memory in{&file};
        int error = 0;
        GifFileType* gif = DGifOpen(&in, readMemory, &error);
        if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
            state.SkipWithError("giflib could not read the picture");
            break;
        }
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        DGifCloseFile(gif, &error);
    }
    state.SetLabel(nameOf(which));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(pixels));
}

void GifEncodeKelmor(benchmark::State& state) {
    const auto which = static_cast<Picture>(state.range(0));
    const GifImage& image = cachedPicture(which);
    for (auto _ : state) {
        std::string bytes = encodeGif(image);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetLabel(nameOf(which));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(pixelBytes(image)));
}

ColorMapObject* colorMap(const std::vector<Rgb>& colors) {
    std::vector<GifColorType> entries(std::size_t(1) << GifBitSize(int(colors.size())));
    for (std::size_t i = 0; i < colors.size(); ++i)
        entries[i] = {colors[i].r, colors[i].g, colors[i].b};
    return GifMakeMapObject(int(entries.size()), entries.data());
}

// The same picture through giflib: the same tables, one EGifPutLine per row.
void GifEncodeGiflib(benchmark::State& state) {
    const auto which = static_cast<Picture>(state.range(0));
    const GifImage& image = cachedPicture(which);
    for (auto _ : state) {
        std::string bytes;
        int error = 0;
        GifFileType* gif = EGifOpen(&bytes, writeMemory, &error);
        EGifSetGifVersion(gif, image.frameCount() > 1);
        EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, nullptr);
        for (const auto& frame : image.frames()) {
            for (const auto& extension : frame.extensions) {
                if (const auto* gce = std::get_if<kelmor::GifGraphicControlExtension>(&extension)) {
                    const GifByteType block[4] = {gce->packed, GifByteType(gce->delayTime & 0xFF),
                                                  GifByteType(gce->delayTime >> 8),
                                                  gce->transparentColorIndex};
                    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
                } else if (std::holds_alternative<kelmor::GifLoopExtension>(extension)) {
                    const GifByteType loop[3] = {1, 0, 0};
                    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
                    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
                    EGifPutExtensionBlock(gif, 3, loop);
                    EGifPutExtensionTrailer(gif);
                }
            }
            ColorMapObject* map = colorMap(frame.localColorTable.colors);
            EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false, map);
            GifFreeMapObject(map);
            for (int y = 0; y < frame.height; ++y)
                EGifPutLine(gif,
                            const_cast<GifPixelType*>(frame.pixels.data()) +
                                std::size_t(y) * frame.width,
                            frame.width);
        }
        EGifCloseFile(gif, &error);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetLabel(nameOf(which));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(pixelBytes(image)));
}

int appendBytes(void* context, const std::uint8_t* data, std::size_t count) {
    static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(data), count);
    return CGIF_OK;
}

// The same picture through cgif as it is used for whole frames: each frame with its own local
// table, no frame optimisation, written to memory.
void GifEncodeCgif(benchmark::State& state) {
    const auto which = static_cast<Picture>(state.range(0));
    const GifImage& image = cachedPicture(which);
    const bool animated = image.frameCount() > 1;
    std::vector<std::vector<std::uint8_t>> palettes;
    for (const auto& frame : image.frames()) {
        std::vector<std::uint8_t>& palette = palettes.emplace_back();
        for (const Rgb& colour : frame.localColorTable.colors)
            palette.insert(palette.end(), {colour.r, colour.g, colour.b});
    }
    for (auto _ : state) {
        std::string bytes;
        CGIF_Config config{};
        config.attrFlags = CGIF_ATTR_NO_GLOBAL_TABLE | (animated ? CGIF_ATTR_IS_ANIMATED : 0);
        config.width = static_cast<std::uint16_t>(image.width());
        config.height = static_cast<std::uint16_t>(image.height());
        config.numLoops = CGIF_INFINITE_LOOP;
        config.pWriteFn = appendBytes;
        config.pContext = &bytes;
        CGIF* gif = cgif_newgif(&config);
        for (std::size_t i = 0; gif != nullptr && i < image.frames().size(); ++i) {
            CGIF_FrameConfig frame{};
            frame.attrFlags = CGIF_FRAME_ATTR_USE_LOCAL_TABLE;
            frame.pLocalPalette = palettes[i].data();
            frame.numLocalPaletteEntries = static_cast<std::uint16_t>(palettes[i].size() / 3);
            frame.pImageData = const_cast<std::uint8_t*>(image.frames()[i].pixels.data());
            frame.delay = animated ? 10 : 0;
            cgif_addframe(gif, &frame);
        }
        if (gif == nullptr || cgif_close(gif) != CGIF_OK) {
            state.SkipWithError("cgif could not write the picture");
            break;
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetLabel(nameOf(which));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(pixelBytes(image)));
}

// Twenty frames that each claim 8192 x 8192 pixels (1.25 Gi pixels in all) in a file of a
// few hundred bytes: the reader refuses it from the frame headers, before decoding any frame.
std::string bombFile() {
    const std::string side("\x00\x20", 2); // 8192, little-endian
    std::string file = "GIF89a" + side + side + std::string(3, '\0');
    for (int frame = 0; frame < 20; ++frame)
        file += std::string(",\0\0\0\0", 5) + side + side + std::string("\0\x02\0", 3);
    return file + ";";
}

void GifDecodeBomb(benchmark::State& state) {
    const std::string file = bombFile();
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(kelmor::decodeGif(file));
            state.SkipWithError("the twenty-frame file was read");
            break;
        } catch (const kelmor::Error&) {
        }
    }
    state.SetLabel(std::to_string(file.size()) + " bytes");
}

void pictures(benchmark::internal::Benchmark* b) {
    b->ArgName("picture")->Arg(Photo)->Arg(Animation)->Arg(TwoColour)->Unit(
        benchmark::kMillisecond);
}

BENCHMARK(GifDecodeKelmor)->Name("GifDecode/kelmor")->Apply(pictures);
BENCHMARK(GifDecodeGiflib)->Name("GifDecode/giflib")->Apply(pictures);
BENCHMARK(GifEncodeKelmor)->Name("GifEncode/kelmor")->Apply(pictures);
BENCHMARK(GifEncodeGiflib)->Name("GifEncode/giflib")->Apply(pictures);
BENCHMARK(GifEncodeCgif)->Name("GifEncode/cgif")->Apply(pictures);
BENCHMARK(GifDecodeBomb)->Name("GifDecode/bomb")->Unit(benchmark::kMillisecond);

void printEncodeRatios(const std::map<std::string, double>& times) {
    for (const char* baseline : {"giflib", "cgif"})
        for (int which = Photo; which <= TwoColour; ++which) {
            const std::string arg = "/picture:" + std::to_string(which);
            const auto ours = times.find("GifEncode/kelmor" + arg);
            const auto theirs = times.find(std::string("GifEncode/") + baseline + arg);
            if (ours != times.end() && theirs != times.end() && theirs->second > 0)
                std::printf("GifEncode/kelmor takes %.2fx the CPU time of %s on %s (target: "
                            "below 1)\n",
                            ours->second / theirs->second, baseline,
                            nameOf(static_cast<Picture>(which)));
        }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    kelmor::bench::CpuTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printEncodeRatios(reporter.times);
    return 0;
}
