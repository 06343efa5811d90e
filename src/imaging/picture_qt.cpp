#include "imaging/picture_qt.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/picture.h"

#include <QByteArray>
#include <array>
#include <cstring>

namespace kelmor {

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
        const std::uint8_t* source = bitmap.row(y);
        for (int x = 0; x < width; ++x) {
            if (bpp <= 8) {
                target[x] = lookup[bitmap.index(x, y)];
            } else if (bpp == 24) {
                target[x] = qRgb(source[x * 3 + 2], source[x * 3 + 1], source[x * 3]);
            } else {
                const Rgb c = bitmap.color(x, y);
                target[x] = qRgba(c.r, c.g, c.b, bitmap.alpha(x, y));
            }
        }
    }
    return image;
}

QImage toQImage(const FrameCanvas& canvas) {
    QImage image(canvas.width(), canvas.height(), QImage::Format_ARGB32);
    for (int y = 0; y < canvas.height(); ++y) {
        std::memcpy(image.scanLine(y),
                    canvas.pixels().data() + static_cast<std::size_t>(y) * canvas.width(),
                    static_cast<std::size_t>(canvas.width()) * sizeof(std::uint32_t));
    }
    return image;
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
