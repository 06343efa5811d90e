// Thumbnails of every picture kind against Qt's own smooth scaling of the same picture (for SVG,
// against rsvg-convert drawing it at the thumbnail's size).

#include "base/read_file.h"
#include "thumbnail_test_support.h"

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

// A picture with smooth gradients, soft stripes and, with `alpha`, a transparency gradient.
QImage pattern(int width, int height, bool alpha) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int stripes = int(60 * std::sin(x / 9.0 + y / 13.0));
            image.setPixel(x, y,
                           qRgba(std::clamp(x * 255 / width + stripes, 0, 255), y * 255 / height,
                                 std::clamp(128 - stripes, 0, 255),
                                 alpha ? (x + y) * 255 / (width + height) : 255));
        }
    return image;
}

// One kind: writes its file into `folder` and gives the picture the file holds, or the
// reference thumbnail itself when `reference` sizes are given to a tool.
struct Kind {
    const char* name;
    std::function<QImage(const std::string& folder, std::string& file)> write;
    double meanTolerance;
    int maxTolerance;
};

QImage savedByQt(const QImage& image, const std::string& file, const char* format) {
    EXPECT_TRUE(image.save(QString::fromStdString(file), format, 90));
    return QImage(QString::fromStdString(file));
}

const Kind kKinds[] = {
    {"jpeg",
     [](const std::string& folder, std::string& file) {
         file = folder + "/photo.jpg";
         return savedByQt(pattern(1200, 800, false), file, "JPEG");
     },
     2.0, 10},
    {"png",
     [](const std::string& folder, std::string& file) {
         file = folder + "/alpha.png";
         return savedByQt(pattern(500, 300, true), file, "PNG");
     },
     0.6, 3},
    {"bmp",
     [](const std::string& folder, std::string& file) {
         file = folder + "/wide.bmp";
         return savedByQt(pattern(400, 160, false), file, "BMP");
     },
     0.6, 3},
    {"gif",
     [](const std::string&, std::string& file) {
         file = KELMOR_TEST_DATA "/corpora/blink-images-resources/boston.gif";
         return QImage(QString::fromStdString(file));
     },
     0.6, 3},
    {"webp",
     [](const std::string& folder, std::string& file) {
         const QImage image = savedByQt(pattern(300, 500, true), folder + "/tall.png", "PNG");
         file = folder + "/tall.webp";
         EXPECT_EQ(std::system(
                       ("cwebp -quiet -lossless -exact '" + folder + "/tall.png' -o '" + file + "'")
                           .c_str()),
                   0);
         return image;
     },
     0.6, 3},
};

class ThumbnailPixels : public test::ThumbnailTest, public ::testing::WithParamInterface<Kind> {};

// The mean and the largest difference of the channels as they show over black (premultiplied
// by alpha): the colour of a nearly transparent pixel hardly shows, and Qt scales it in 8-bit
// premultiplied values that keep little of it.
std::pair<double, int> difference(const RgbaImage& actual, const RgbaImage& expected) {
    double sum = 0;
    int largest = 0;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
        const auto shown = [i](const RgbaImage& image) {
            return i % 4 == 3 ? image.pixels[i] : image.pixels[i] * image.pixels[i | 3] / 255;
        };
        const int d = std::abs(shown(actual) - shown(expected));
        sum += d;
        largest = std::max(largest, d);
    }
    return {sum / double(actual.pixels.size()), largest};
}

TEST_P(ThumbnailPixels, MatchQtsSmoothScaling) {
    std::string file;
    const QImage original = GetParam().write(path("pics"), file);
    ASSERT_FALSE(original.isNull());
    const Thumbnail thumbnail = cache_.thumbnail(file, ThumbnailSize::Normal);
    ASSERT_EQ(thumbnail.origin, Thumbnail::Origin::Made) << thumbnail.failure;
    const double longer = std::max(original.width(), original.height());
    const QSize fitted(int(std::lround(original.width() * 128 / longer)),
                       int(std::lround(original.height() * 128 / longer)));
    const RgbaImage expected =
        test::fromQt(original.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                         .scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    ASSERT_EQ(thumbnail.image.width, expected.width);
    ASSERT_EQ(thumbnail.image.height, expected.height);
    const auto [mean, largest] = difference(thumbnail.image, expected);
    EXPECT_LE(mean, GetParam().meanTolerance);
    EXPECT_LE(largest, GetParam().maxTolerance);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ThumbnailPixels, ::testing::ValuesIn(kKinds),
                         [](const auto& tested) { return std::string(tested.param.name); });

// An SVG is drawn straight at the thumbnail's size, as rsvg-convert draws it at that size.
using SvgThumbnail = test::ThumbnailTest;

constexpr const char* kLogo =
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="600" height="450">
  <defs><radialGradient id="g"><stop offset="0" stop-color="#f80"/>
  <stop offset="1" stop-color="#08f" stop-opacity="0.3"/></radialGradient></defs>
  <rect x="20" y="20" width="560" height="410" rx="60" fill="url(#g)"/>
  <circle cx="300" cy="225" r="120" fill="none" stroke="#000" stroke-width="16"/>
</svg>)svg";

TEST_F(SvgThumbnail, IsDrawnAtTheThumbnailsSize) {
    const std::string file = writeFile("pics/logo.svg", kLogo);
    ASSERT_EQ(
        std::system(
            ("rsvg-convert -w 128 -h 96 '" + file + "' -o '" + path("ref.png") + "'").c_str()),
        0);
    const Thumbnail thumbnail = cache_.thumbnail(file, ThumbnailSize::Normal);
    ASSERT_EQ(thumbnail.origin, Thumbnail::Origin::Made) << thumbnail.failure;
    const RgbaImage expected = test::fromQt(QImage(QString::fromStdString(path("ref.png"))));
    ASSERT_EQ(thumbnail.image.width, expected.width);
    ASSERT_EQ(thumbnail.image.height, expected.height);
    const auto [mean, largest] = difference(thumbnail.image, expected);
    EXPECT_LE(mean, 0.1);
    EXPECT_LE(largest, 2);
}

} // namespace
} // namespace kelmor
