#include "ui/file_icons.h"

#include "ui/icon_drawings.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cstring>

namespace kelmor {
namespace {

struct Look {
    QColor band;
    const char* label;
};

Look lookOf(FileIcon kind) {
    switch (kind) {
    case FileIcon::Gif:
        return {QColor(0x2e, 0x8b, 0x57), "GIF"};
    case FileIcon::Bmp:
        return {QColor(0x1e, 0x64, 0xc8), "BMP"};
    case FileIcon::Jpg:
        return {QColor(0xd2, 0x69, 0x1e), "JPG"};
    case FileIcon::Png:
        return {QColor(0x6a, 0x3d, 0x9a), "PNG"};
    case FileIcon::WebP:
        return {QColor(0x00, 0x80, 0x80), "WEBP"};
    case FileIcon::Svg:
        return {QColor(0xb8, 0x86, 0x0b), "SVG"};
    case FileIcon::Html:
        return {QColor(0xc0, 0x1c, 0x28), "HTM"};
    case FileIcon::Text:
        break;
    }
    return {QColor(0x60, 0x60, 0x60), "TXT"};
}

// A sheet of paper with a folded corner and a coloured band; the large
// picture writes the type on the band, the small one has no room for it.
QPixmap drawIcon(FileIcon kind, int size) {
    const Look look = lookOf(kind);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal unit = size / 16.0;
    const QRectF sheet(2.5 * unit, 0.5 * unit, 11 * unit, 15 * unit);
    const qreal fold = 4 * unit;
    painter.setPen(QPen(QColor(0x50, 0x50, 0x50), qMax(1.0, unit * 0.75)));
    painter.setBrush(Qt::white);
    painter.drawPath(foldedPage(sheet, fold));

    QPainterPath corner;
    corner.moveTo(sheet.right() - fold, sheet.top());
    corner.lineTo(sheet.right() - fold, sheet.top() + fold);
    corner.lineTo(sheet.right(), sheet.top() + fold);
    painter.setBrush(QColor(0xd8, 0xd8, 0xd8));
    painter.drawPath(corner);

    const QRectF band(0.5 * unit, 8 * unit, 15 * unit, 6 * unit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.band);
    painter.drawRoundedRect(band, unit, unit);
    if (size >= 32) {
        QFont font;
        font.setBold(true);
        // A four-letter type takes a smaller size to stay inside the band.
        const bool longLabel = std::strlen(look.label) > 3;
        font.setPixelSize(static_cast<int>((longLabel ? 3.6 : 4.6) * unit));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(band, Qt::AlignCenter, QString::fromLatin1(look.label));
    }
    return pixmap;
}

} // namespace

QIcon fileIcon(FileIcon kind) {
    QIcon icon;
    icon.addPixmap(drawIcon(kind, 16));
    icon.addPixmap(drawIcon(kind, 32));
    return icon;
}

} // namespace kelmor
