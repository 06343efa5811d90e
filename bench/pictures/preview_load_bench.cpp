// Loading a picture into the Pics tab's preview (reading the file, decoding it and making
// the image the view draws) against decoding the same file with libjpeg or giflib alone.
// The inputs are generated once: a 1024 x 1024 photograph-like picture saved as a JPEG
// (libjpeg, quality 85) and as a GIF of the fixed 216 colours.

#include "imaging/bitmap.h"
#include "imaging/gif_bitmap.h"
#include "imaging/gif_encode.h"
#include "imaging/picture_view.h"
#include "thumbnail_view_bench.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <gif_lib.h>
#include <jpeglib.h>
#include <memory>
#include <random>

namespace {

constexpr int kSize = 1024;

// A smooth scene with edges and fine noise, as a photograph has.
kelmor::Bitmap photo() {
    kelmor::Bitmap bitmap(kSize, kSize, 24);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 6.0f);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float fx = float(x) / float(kSize), fy = float(y) / float(kSize);
            const bool disc = (fx - 0.6f) * (fx - 0.6f) + (fy - 0.4f) * (fy - 0.4f) < 0.04f;
            const float scene[3] = {
                128 + 100 * std::sin(fx * 5.1f + fy * 2.3f) * std::cos(fy * 3.7f) + (disc ? 60 : 0),
                120 + 90 * std::sin(fy * 6.3f - fx * 1.1f),
                110 + 80 * std::cos((fx - 0.4f) * (fy - 0.6f) * 20.0f) - (disc ? 50 : 0)};
            kelmor::Rgb c;
            std::uint8_t* channel[3] = {&c.r, &c.g, &c.b};
            for (int i = 0; i < 3; ++i)
                *channel[i] = std::uint8_t(std::clamp(scene[i] + noise(random), 0.0f, 255.0f));
            bitmap.setColor(x, y, c);
        }
    }
    return bitmap;
}

void writeJpeg(const kelmor::Bitmap& bitmap, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(bitmap.width());
    info.image_height = JDIMENSION(bitmap.height());
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.row(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

// The two input files, written once into a temporary folder.
struct Inputs {
    QTemporaryDir folder;
    std::string jpeg = (folder.path() + QStringLiteral("/photo.jpg")).toStdString();
    std::string gif = (folder.path() + QStringLiteral("/photo.gif")).toStdString();
    Inputs() {
        const kelmor::Bitmap picture = photo();
        writeJpeg(picture, jpeg);
        kelmor::saveGif(gif, kelmor::gifFromBitmap(picture));
    }
};

const Inputs& inputs() {
    static const Inputs files;
    return files;
}

void previewLoad(benchmark::State& state, const std::string& path) {
    kelmor::PictureView preview;
    for (auto _ : state) {
        preview.loadFromFile(path);
        benchmark::DoNotOptimize(preview.image().constBits());
    }
}

void PreviewLoadJpeg(benchmark::State& state) {
    previewLoad(state, inputs().jpeg);
}

void PreviewLoadGif(benchmark::State& state) {
    previewLoad(state, inputs().gif);
}

// libjpeg alone: the file decoded into a new buffer of 24-bit rows.
void PreviewLoadJpegBaseline(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<JSAMPLE[]> pixels(new JSAMPLE[std::size_t(kSize) * kSize * 3]);
        FILE* file = std::fopen(inputs().jpeg.c_str(), "rb");
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.get() + std::size_t(info.output_scanline) * kSize * 3;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        benchmark::DoNotOptimize(pixels.get());
    }
}

// giflib alone: the file read into its frames of colour indices.
void PreviewLoadGifBaseline(benchmark::State& state) {
    for (auto _ : state) {
        int error = 0;
        GifFileType* gif = DGifOpenFileName(inputs().gif.c_str(), &error);
        if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
            state.SkipWithError("giflib could not read the picture");
            break;
        }
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        DGifCloseFile(gif, &error);
    }
}

BENCHMARK(PreviewLoadJpeg)->Name("PreviewLoad/jpeg")->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewLoadJpegBaseline)
    ->Name("PreviewLoad/jpeg_baseline")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewLoadGif)->Name("PreviewLoad/gif")->Unit(benchmark::kMillisecond);
BENCHMARK(PreviewLoadGifBaseline)->Name("PreviewLoad/gif_baseline")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printThumbnailViewRatio();
    return 0;
}
