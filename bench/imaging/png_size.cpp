// Writes the PNG encoder's files for a varied set of pictures into a folder, for
// bench/png-size.sh to set against optipng: photographs, greys, buttons and icons of a few
// colours, and pictures with transparency. Each picture NAME gives NAME.png, our file, and
// NAME.rgba.png, the same pixels as plain 8-bit RGBA with libspng's default settings. It prints
// the time each encode took.

#include "imaging/picture.h"
#include "imaging/png.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <spng.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using kelmor::RgbaImage;

RgbaImage load(const std::string& path) {
    kelmor::Picture picture;
    picture.loadFromFile(path);
    return picture.rgba();
}

RgbaImage generated(int width, int height,
                    const std::function<void(int x, int y, std::uint8_t* rgba)>& pixel) {
    RgbaImage image = RgbaImage::blank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixel(x, y, image.row(y) + 4 * x);
    }
    return image;
}

RgbaImage greyOf(RgbaImage image) {
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        const auto grey = static_cast<std::uint8_t>(
            (image.pixels[i] * 77 + image.pixels[i + 1] * 150 + image.pixels[i + 2] * 29) >> 8);
        image.pixels[i] = image.pixels[i + 1] = image.pixels[i + 2] = grey;
    }
    return image;
}

// A rounded button: a vertical gradient of `steps` shades, a darker label band of blocky
// letters, and edges whose alpha falls off over a pixel (antialiased) when `soft`, or cut to
// transparent when not.
RgbaImage button(int width, int height, int steps, bool soft) {
    const double radius = height / 3.0;
    return generated(width, height, [&](int x, int y, std::uint8_t* p) {
        const double cx = std::clamp(x + 0.5, radius, width - radius);
        const double cy = std::clamp(y + 0.5, radius, height - radius);
        const double outside = std::hypot(x + 0.5 - cx, y + 0.5 - cy) - radius + 0.5;
        const double coverage = std::clamp(1.0 - outside, 0.0, 1.0);
        const int shade = y * steps / height;
        const bool label = y > height / 3 && y < 2 * height / 3 && x > width / 5 &&
                           x < 4 * width / 5 && ((x / 3 + y / 4) % 3 != 0);
        p[0] = static_cast<std::uint8_t>(label ? 250 : 30 + shade * 6);
        p[1] = static_cast<std::uint8_t>(label ? 250 : 90 + shade * 5);
        p[2] = static_cast<std::uint8_t>(label ? 240 : 180 - shade * 3);
        p[3] = soft ? static_cast<std::uint8_t>(std::lround(coverage * 255))
                    : static_cast<std::uint8_t>(coverage > 0.5 ? 255 : 0);
        if (p[3] == 0)
            p[0] = p[1] = p[2] = 0;
    });
}

// The picture `factor` times as large, interpolated linearly: a larger photograph.
RgbaImage enlarged(const RgbaImage& image, int factor) {
    return generated(
        image.width * factor, image.height * factor, [&](int x, int y, std::uint8_t* p) {
            const double fx = std::min((x + 0.5) / factor - 0.5, image.width - 1.0);
            const double fy = std::min((y + 0.5) / factor - 0.5, image.height - 1.0);
            const int x0 = std::max(0, int(fx)), y0 = std::max(0, int(fy));
            const int x1 = std::min(x0 + 1, image.width - 1),
                      y1 = std::min(y0 + 1, image.height - 1);
            const double ax = std::clamp(fx - x0, 0.0, 1.0), ay = std::clamp(fy - y0, 0.0, 1.0);
            for (int c = 0; c < 4; ++c) {
                const double top =
                    image.row(y0)[4 * x0 + c] * (1 - ax) + image.row(y0)[4 * x1 + c] * ax;
                const double bottom =
                    image.row(y1)[4 * x0 + c] * (1 - ax) + image.row(y1)[4 * x1 + c] * ax;
                p[c] = static_cast<std::uint8_t>(std::lround(top * (1 - ay) + bottom * ay));
            }
        });
}

// The picture with an alpha that fades from the centre out, as a vignette.
RgbaImage vignette(RgbaImage image) {
    const double cx = image.width / 2.0;
    const double cy = image.height / 2.0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const double d = std::hypot((x - cx) / cx, (y - cy) / cy);
            image.row(y)[4 * x + 3] =
                static_cast<std::uint8_t>(std::lround(255 * std::clamp(1.3 - d, 0.0, 1.0)));
        }
    }
    return image;
}

std::string plainRgba(const RgbaImage& image) {
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(context, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(image.width);
    header.height = static_cast<std::uint32_t>(image.height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    spng_set_ihdr(context, &header);
    spng_encode_image(context, image.pixels.data(), image.pixels.size(), SPNG_FMT_PNG,
                      SPNG_ENCODE_FINALIZE);
    std::size_t length = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(context, &length, &error);
    std::string bytes(static_cast<const char*>(buffer), length);
    std::free(buffer);
    spng_ctx_free(context);
    return bytes;
}

void write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: png-size CORPORA_FOLDER OUT_FOLDER\n");
        return 2;
    }
    const std::string corpora = std::string(argv[1]) + "/";
    const std::filesystem::path out = argv[2];
    const RgbaImage peacock = load(corpora + "raster-misc/wuffs/peacock.default.jpeg");
    const RgbaImage video = load(corpora + "raster-misc/golang/video-001.jpeg");
    const RgbaImage testorig = load(corpora + "raster-misc/libjpeg-turbo/testorig.jpg");
    std::vector<std::pair<std::string, RgbaImage>> set = {
        {"photo-peacock", peacock},
        {"photo-video", video},
        {"photo-uma", load(corpora + "raster-misc/blink/cs-uma-ycbcr-420.jpg")},
        {"photo-testorig", testorig},
        {"photo-large", enlarged(testorig, 4)},
        {"photo-synthetic",
         generated(1024, 768,
                   [](int x, int y, std::uint8_t* p) {
                       static std::mt19937 random(7);
                       static std::normal_distribution<float> noise(0.0f, 3.0f);
                       const float fx = float(x) / 1024.0f, fy = float(y) / 768.0f;
                       const float scene[3] = {
                           128 + 100 * std::sin(fx * 5.1f + fy * 2.3f),
                           120 + 90 * std::sin(fy * 6.3f - fx * 1.1f),
                           110 + 80 * std::cos((fx - 0.4f) * (fy - 0.6f) * 20.0f)};
                       for (int c = 0; c < 3; ++c)
                           p[c] = static_cast<std::uint8_t>(
                               std::clamp(scene[c] + noise(random), 0.0f, 255.0f));
                       p[3] = 255;
                   })},
        {"grey-large", greyOf(enlarged(video, 4))},
        {"grey-video", load(corpora + "raster-misc/golang/video-005.gray.jpeg")},
        {"grey-peacock", greyOf(peacock)},
        {"grey-uma", load(corpora + "raster-misc/blink/cs-uma-grayscale.jpg")},
        {"alpha-vignette", vignette(video)},
        {"alpha-grey-vignette", vignette(greyOf(video))},
        {"button-soft", button(160, 48, 12, true)},
        {"button-hard", button(160, 48, 12, false)},
        {"button-large-soft", button(480, 120, 40, true)},
        {"icon-two-colours", generated(64, 64,
                                       [](int x, int y, std::uint8_t* p) {
                                           const bool on =
                                               (x - 32) * (x - 32) + (y - 32) * (y - 32) < 600;
                                           p[0] = p[1] = on ? 200 : 20;
                                           p[2] = 90;
                                           p[3] = 255;
                                       })},
        {"gif-hat", load(corpora + "wuffs-testdata/hat.gif")},
        {"gif-bricks", load(corpora + "wuffs-testdata/bricks-nodither.gif")},
        {"gif-bricks-dither", load(corpora + "wuffs-testdata/bricks-dither.gif")},
        {"gif-hippopotamus", load(corpora + "wuffs-testdata/hippopotamus.regular.gif")},
        {"gif-transparent", load(corpora + "wuffs-testdata/transparent-index.gif")},
        {"gif-boston-large", enlarged(load(corpora + "blink-images-resources/boston.gif"), 2)},
        {"gif-boston", load(corpora + "blink-images-resources/boston.gif")},
        {"bmp-pal8", load(corpora + "bmpsuite/g/pal8.bmp")},
        {"bmp-rgba32", load(corpora + "bmpsuite/q/rgba32-1.bmp")},
    };
    for (const auto& [name, image] : set) {
        const auto start = std::chrono::steady_clock::now();
        const std::string ours = kelmor::encodePng(image);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        write(out / (name + ".png"), ours);
        write(out / (name + ".rgba.png"), plainRgba(image));
        std::printf("%-22s %5d x %-5d %9zu bytes %8.1f ms\n", name.c_str(), image.width,
                    image.height, ours.size(), took.count());
    }
    return 0;
}
