// Thumbnails of every picture kind against Qt's own smooth scaling of the same picture, and an
// SVG against rsvg-convert drawing it at the thumbnail's size.

#include "thumbnail_test_support.h"

#include <QImage>
#include <cmath>
#include <cstdlib>
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

constexpr const char* kLogo =
    R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="600" height="450">
  <defs><radialGradient id="g"><stop offset="0" stop-color="#f80"/>
  <stop offset="1" stop-color="#08f" stop-opacity="0.3"/></radialGradient></defs>
  <rect x="20" y="20" width="560" height="410" rx="60" fill="url(#g)"/>
  <circle cx="300" cy="225" r="120" fill="none" stroke="#000" stroke-width="16"/>
</svg>)svg";

// A picture file: Qt writes the pattern (a WebP goes through cwebp from Qt's PNG), a GIF comes
// from the corpora, the SVG is kLogo.
struct Kind {
    const char* file;
    int width, height;
    bool alpha;
    double meanTolerance;
    int maxTolerance;
};

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

class ThumbnailPixels : public test::ThumbnailTest, public ::testing::WithParamInterface<Kind> {
protected:
    // Writes the kind's file; the picture it holds as Qt reads it (null for the SVG).
    QImage write(const std::string& file) const {
        const QString name = QString::fromStdString(file);
        if (file.ends_with(".svg")) {
            writeFile("pics/logo.svg", kLogo);
            return {};
        }
        if (file.ends_with(".gif"))
            return QImage(name);
        const QImage image = pattern(GetParam().width, GetParam().height, GetParam().alpha);
        if (!file.ends_with(".webp")) {
            EXPECT_TRUE(image.save(name, nullptr, 90));
            return QImage(name);
        }
        EXPECT_TRUE(image.save(name + QStringLiteral(".png")));
        EXPECT_EQ(
            std::system(
                ("cwebp -quiet -lossless -exact '" + file + ".png' -o '" + file + "'").c_str()),
            0);
        return image;
    }
};

TEST_P(ThumbnailPixels, MatchQtsSmoothScalingOrRsvgConvert) {
    const std::string file = std::string(GetParam().file).ends_with(".gif")
                                 ? KELMOR_TEST_DATA "/corpora/blink-images-resources/boston.gif"
                                 : picture(GetParam().file);
    const QImage original = write(file);
    const Thumbnail thumbnail = cache_.thumbnail(file, ThumbnailSize::Normal);
    ASSERT_EQ(thumbnail.origin, Thumbnail::Origin::Made) << thumbnail.failure;
    QImage expected;
    if (original.isNull()) {
        ASSERT_EQ(
            std::system(
                ("rsvg-convert -w 128 -h 96 '" + file + "' -o '" + path("ref.png") + "'").c_str()),
            0);
        expected = QImage(QString::fromStdString(path("ref.png")));
    } else {
        const double longer = std::max(original.width(), original.height());
        expected = original.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                       .scaled(int(std::lround(original.width() * 128 / longer)),
                               int(std::lround(original.height() * 128 / longer)),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    ASSERT_EQ(QSize(thumbnail.image.width, thumbnail.image.height), expected.size());
    const auto [mean, largest] = difference(thumbnail.image, test::fromQt(expected));
    EXPECT_LE(mean, GetParam().meanTolerance);
    EXPECT_LE(largest, GetParam().maxTolerance);
}

// A JPEG is decoded at 1/8 of its size before the box filter, hence its wider tolerance.
INSTANTIATE_TEST_SUITE_P(Kinds, ThumbnailPixels,
                         ::testing::Values(Kind{"photo.jpg", 1200, 800, false, 2.0, 10},
                                           Kind{"alpha.png", 500, 300, true, 0.6, 3},
                                           Kind{"wide.bmp", 400, 160, false, 0.6, 3},
                                           Kind{"tall.webp", 300, 500, true, 0.6, 3},
                                           Kind{"boston.gif", 0, 0, false, 0.6, 3},
                                           Kind{"logo.svg", 0, 0, false, 0.1, 1}),
                         [](const auto& tested) {
                             const std::string name = tested.param.file;
                             return name.substr(name.find('.') + 1);
                         });

} // namespace
} // namespace kelmor
