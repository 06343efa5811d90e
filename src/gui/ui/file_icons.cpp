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
    if (kind == FileIcon::Html)
        return {QColor(0xc0, 0x1c, 0x28), "HTM"};
    return {QColor(0x60, 0x60, 0x60), "TXT"};
}

// A sheet of paper with a folded corner and a coloured band; the large
// picture writes the type on the band, the small one has no room for it.
QPixmap drawIcon(const Look& look, int size) {
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

QIcon iconOf(const Look& look) {
    QIcon icon;
    icon.addPixmap(drawIcon(look, 16));
    icon.addPixmap(drawIcon(look, 32));
    return icon;
}

} // namespace

QIcon fileIcon(FileIcon kind) {
    return iconOf(lookOf(kind));
}

QIcon fileIcon(const QColor& band, const char* label) {
    return iconOf({band, label});
}

} // namespace kelmor
