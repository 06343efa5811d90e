// Colour reduction of a 1024 x 1024 photograph-like RGBA picture (smooth scenes under noise, some
// 600,000 colours) to a GIF table: GifQuantise/kelmor, Kelmor's median cut to 255 colours with
// Floyd-Steinberg diffusion, against GifQuantise/giflib, giflib's GifQuantizeBuffer (a median cut
// of colours kept to 5 bits a channel, without dithering) to 256.

#include "imaging/gif_quantise.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <gif_lib.h>
#include <random>

namespace {

constexpr int kSide = 1024;

const kelmor::RgbaImage& photo() {
    static const kelmor::RgbaImage image = [] {
        kelmor::RgbaImage picture = kelmor::RgbaImage::blank(kSide, kSide);
        std::mt19937 random(7);
        std::normal_distribution<double> noise(0.0, 5.0);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const double fx = double(x) / kSide, fy = double(y) / kSide;
                const double scene[3] = {128 + 100 * std::sin(fx * 5.1 + fy * 2.3),
                                         120 + 90 * std::sin(fy * 6.3 - fx * 1.1),
                                         110 + 80 * std::cos((fx - 0.4) * (fy - 0.6) * 20)};
                std::uint8_t* pixel = picture.row(y) + x * 4;
                for (int c = 0; c < 3; ++c)
                    pixel[c] =
                        static_cast<std::uint8_t>(std::clamp(scene[c] + noise(random), 0.0, 255.0));
                pixel[3] = 255;
            }
        return picture;
    }();
    return image;
}

void GifQuantiseKelmor(benchmark::State& state) {
    const kelmor::RgbaImage& picture = photo();
    for (auto _ : state) {
        const std::vector<kelmor::Rgb> palette = kelmor::medianCutPalette(picture, 255);
        benchmark::DoNotOptimize(kelmor::ditherToPalette(picture, palette));
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kSide * kSide);
}

void GifQuantiseGiflib(benchmark::State& state) {
    const kelmor::RgbaImage& picture = photo();
    std::vector<GifByteType> red, green, blue;
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
        red.push_back(picture.pixels[i]);
        green.push_back(picture.pixels[i + 1]);
        blue.push_back(picture.pixels[i + 2]);
    }
    std::vector<GifByteType> indices(red.size());
    std::vector<GifColorType> colours(256);
    for (auto _ : state) {
        int size = 256;
        if (GifQuantizeBuffer(kSide, kSide, &size, red.data(), green.data(), blue.data(),
                              indices.data(), colours.data()) != GIF_OK) {
            state.SkipWithError("giflib could not reduce the picture");
            break;
        }
        benchmark::DoNotOptimize(indices.data());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kSide * kSide);
}

BENCHMARK(GifQuantiseKelmor)->Name("GifQuantise/kelmor")->Unit(benchmark::kMillisecond);
BENCHMARK(GifQuantiseGiflib)->Name("GifQuantise/giflib")->Unit(benchmark::kMillisecond);

} // namespace
