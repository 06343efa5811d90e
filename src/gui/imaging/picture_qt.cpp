#include "imaging/picture_qt.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/picture.h"

#include <QByteArray>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

namespace kelmor {

namespace {

// One row of 24-bit pixels (blue, green, red) as RGB32 values, four pixels from
// three 32-bit words at a time: the conversion of every JPEG shown.
void convertRow24(const std::uint8_t* source, QRgb* target, int width) {
    constexpr QRgb opaque = 0xFF000000u;
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 4 <= width; x += 4, source += 12) {
            std::uint32_t w[3];
            std::memcpy(w, source, sizeof w);
            target[x] = opaque | (w[0] & 0xFFFFFFu);
            target[x + 1] = opaque | (w[0] >> 24) | ((w[1] & 0xFFFFu) << 8);
            target[x + 2] = opaque | (w[1] >> 16) | ((w[2] & 0xFFu) << 16);
            target[x + 3] = opaque | (w[2] >> 8);
        }
    }
    for (; x < width; ++x, source += 3)
        target[x] = opaque | (QRgb(source[2]) << 16) | (QRgb(source[1]) << 8) | source[0];
}

// One row of 1/4/8-bit palette indices as RGB32 values.
void convertIndexedRow(const Bitmap& bitmap, int y, const std::array<QRgb, 256>& lookup,
                       QRgb* target) {
    const std::uint8_t* source = bitmap.row(y);
    if (bitmap.bitsPerPixel() == 8) {
        for (int x = 0; x < bitmap.width(); ++x)
            target[x] = lookup[source[x]];
        return;
    }
    for (int x = 0; x < bitmap.width(); ++x)
        target[x] = lookup[bitmap.index(x, y)];
}

} // namespace

QImage toQImage(const Bitmap& bitmap) {
    if (bitmap.empty())
        return {};
    const int width = bitmap.width();
    const int height = bitmap.height();
    const bool withAlpha = bitmap.alphaMask != 0;
    QImage image(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const int bpp = bitmap.bitsPerPixel();
    std::array<QRgb, 256> lookup{};
    lookup.fill(qRgb(0, 0, 0));
    for (std::size_t i = 0; i < bitmap.palette.size() && i < lookup.size(); ++i) {
        const Rgb c = bitmap.palette[i];
        lookup[i] = qRgb(c.r, c.g, c.b);
    }
    for (int y = 0; y < height; ++y) {
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (bpp <= 8) {
            convertIndexedRow(bitmap, y, lookup, target);
        } else if (bpp == 24) {
            convertRow24(bitmap.row(y), target, width);
        } else {
            for (int x = 0; x < width; ++x) {
                const Rgb c = bitmap.color(x, y);
                target[x] = qRgba(c.r, c.g, c.b, bitmap.alpha(x, y));
            }
        }
    }
    return image;
}

QImage toQImage(std::shared_ptr<const FrameCanvas> canvas) {
    // The image reads the canvas's pixels in place; it keeps the canvas alive
    // until the last copy of it is gone.
    const auto* pixels = reinterpret_cast<const uchar*>(canvas->pixels().data());
    const int width = canvas->width();
    const int height = canvas->height();
    auto* owner = new std::shared_ptr<const FrameCanvas>(std::move(canvas));
    return QImage(
        pixels, width, height, qsizetype(width) * 4, QImage::Format_ARGB32,
        [](void* info) { delete static_cast<std::shared_ptr<const FrameCanvas>*>(info); }, owner);
}

QImage rgbaView(const RgbaImage& image) {
    return QImage(image.pixels.data(), image.width, image.height, qsizetype(image.width) * 4,
                  QImage::Format_RGBA8888);
}

Bitmap toBitmap(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    Bitmap bitmap(argb.width(), argb.height(), 32);
    bitmap.alphaMask = 0xFF000000u;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* target = bitmap.row(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = source[x];
            target[x * 4] = static_cast<std::uint8_t>(qBlue(p));
            target[x * 4 + 1] = static_cast<std::uint8_t>(qGreen(p));
            target[x * 4 + 2] = static_cast<std::uint8_t>(qRed(p));
            target[x * 4 + 3] = static_cast<std::uint8_t>(qAlpha(p));
        }
    }
    return bitmap;
}

void installQtIconDecoder() {
    if (Picture::hasIconDecoder())
        return;
    Picture::setIconDecoder([](std::string_view bytes) {
        const QImage image = QImage::fromData(
            QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())), "ICO");
        if (image.isNull())
            throw Error(msg::kIconNotValid);
        return toBitmap(image);
    });
}

} // namespace kelmor
