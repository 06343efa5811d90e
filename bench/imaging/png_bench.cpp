// PNG decoding, Kelmor's decodePng against libspng alone decoding the same bytes to RGBA8, side
// by side: PngDecode/CASE and PngDecodeLibspng/CASE. The files are written by our encoder: a
// 1024 x 768 photograph-like picture (RGB) and a 640 x 480 sheet of buttons (a palette with
// transparent entries).

#include "imaging/png.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <random>
#include <spng.h>
#include <string>

namespace {

using kelmor::RgbaImage;

enum Case { Photo, Buttons };

// Smooth shapes under fine noise, as a photograph's pixels are.
RgbaImage photo() {
    RgbaImage image = RgbaImage::blank(1024, 768);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 3.0f);
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < image.width; ++x, p += 4) {
            const float fx = float(x) / 1024.0f, fy = float(y) / 768.0f;
            const float scene[3] = {128 + 100 * std::sin(fx * 5.1f + fy * 2.3f),
                                    120 + 90 * std::sin(fy * 6.3f - fx * 1.1f),
                                    110 + 80 * std::cos((fx - 0.4f) * (fy - 0.6f) * 20.0f)};
            for (int c = 0; c < 3; ++c)
                p[c] =
                    static_cast<std::uint8_t>(std::clamp(scene[c] + noise(random), 0.0f, 255.0f));
            p[3] = 255;
        }
    }
    return image;
}

// Rounded buttons of a few shades with labels, on a transparent sheet.
RgbaImage buttons() {
    RgbaImage image = RgbaImage::blank(640, 480);
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < image.width; ++x, p += 4) {
            const int bx = x % 160, by = y % 48;
            const int dx = std::max({0, 12 - bx, bx - 147}), dy = std::max({0, 12 - by, by - 35});
            if (dx * dx + dy * dy > 144)
                continue;
            const bool label = by > 16 && by < 32 && bx > 30 && bx < 130 && (bx / 3 + by / 4) % 3;
            const int shade = by / 4 + (x / 160 + y / 48) % 4 * 8;
            p[0] = static_cast<std::uint8_t>(label ? 250 : 30 + shade * 4);
            p[1] = static_cast<std::uint8_t>(label ? 250 : 90 + shade * 3);
            p[2] = static_cast<std::uint8_t>(label ? 240 : 200 - shade * 2);
            p[3] = dx * dx + dy * dy > 100 ? 128 : 255;
        }
    }
    return image;
}

const std::string& file(Case which) {
    static const std::string files[2] = {kelmor::encodePng(photo()), kelmor::encodePng(buttons())};
    return files[which];
}

void PngDecode(benchmark::State& state, Case which) {
    const std::string& bytes = file(which);
    for (auto _ : state) {
        RgbaImage image = kelmor::decodePng(bytes);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}

void PngDecodeLibspng(benchmark::State& state, Case which) {
    const std::string& bytes = file(which);
    for (auto _ : state) {
        spng_ctx* context = spng_ctx_new(0);
        spng_set_png_buffer(context, bytes.data(), bytes.size());
        std::size_t size = 0;
        spng_decoded_image_size(context, SPNG_FMT_RGBA8, &size);
        void* pixels = std::malloc(size);
        if (spng_decode_image(context, pixels, size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
            state.SkipWithError("libspng failed");
        benchmark::DoNotOptimize(pixels);
        std::free(pixels);
        spng_ctx_free(context);
    }
}

BENCHMARK_CAPTURE(PngDecode, photo, Photo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngDecodeLibspng, photo, Photo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngDecode, buttons, Buttons)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PngDecodeLibspng, buttons, Buttons)->Unit(benchmark::kMillisecond);

} // namespace
