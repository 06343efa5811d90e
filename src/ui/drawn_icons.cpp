#include "ui/drawn_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

namespace kelmor {
namespace {

const QColor kInk(0x40, 0x40, 0x40);

void drawSheet(QPainter& painter, const QRectF& sheet) {
    painter.setPen(QPen(kInk, 1.2));
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (qreal y = sheet.top() + 4; y < sheet.bottom() - 2; y += 3)
        painter.drawLine(QPointF(sheet.left() + 2.5, y), QPointF(sheet.right() - 2.5, y));
}

void drawCopy(QPainter& painter) {
    drawSheet(painter, QRectF(2.5, 2.5, 11, 14));
    drawSheet(painter, QRectF(8.5, 7.5, 11, 14));
}

void drawCut(QPainter& painter) {
    painter.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(6, 2), QPointF(14.5, 14));
    painter.drawLine(QPointF(16, 2), QPointF(7.5, 14));
    painter.setPen(QPen(QColor(0xc0, 0x1c, 0x28), 1.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(6.5, 17), 3, 3);
    painter.drawEllipse(QPointF(15.5, 17), 3, 3);
}

void drawPaste(QPainter& painter) {
    painter.setPen(QPen(kInk, 1.2));
    painter.setBrush(QColor(0xc8, 0x96, 0x5a));
    painter.drawRoundedRect(QRectF(2.5, 3.5, 13, 17), 1.5, 1.5);
    painter.setBrush(QColor(0xb0, 0xb0, 0xb0));
    painter.drawRect(QRectF(6.5, 1.5, 5, 4));
    drawSheet(painter, QRectF(9.5, 9.5, 11, 12));
}

// A film frame with sprocket holes and a tick: the settings of an animation.
void drawFilmSettings(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawRect(QRectF(2, 2, 14, 18));
    painter.setBrush(Qt::white);
    for (qreal y = 3.5; y < 19; y += 3.5) {
        painter.drawRect(QRectF(3, y, 2, 2));
        painter.drawRect(QRectF(13, y, 2, 2));
    }
    painter.drawRect(QRectF(6.5, 4, 5, 14));
    painter.setPen(QPen(QColor(0x1c, 0x8c, 0x3c), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12, 15), QPointF(15, 18.5));
    painter.drawLine(QPointF(15, 18.5), QPointF(20.5, 10));
}

// A gear: a toothed wheel around a hole.
void drawOptions(QPainter& painter) {
    const QPointF centre(11, 11);
    painter.setPen(QPen(kInk, 1.2));
    painter.setBrush(QColor(0xa0, 0xa8, 0xb4));
    QPolygonF wheel;
    constexpr int kTeeth = 8;
    for (int step = 0; step < kTeeth * 4; ++step) {
        const qreal angle = qDegreesToRadians(step * 360.0 / (kTeeth * 4));
        const qreal radius = (step % 4 < 2) ? 9.5 : 7.0;
        wheel << centre + QPointF(radius * qCos(angle), radius * qSin(angle));
    }
    painter.drawPolygon(wheel);
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, 3, 3);
}

// A play triangle with the waves of a sound beside it.
void drawPlaySound(QPainter& painter) {
    painter.setPen(QPen(kInk, 1.2));
    painter.setBrush(QColor(0x2e, 0x9a, 0x48));
    painter.drawPolygon(QPolygonF{QPointF(2.5, 4), QPointF(13, 11), QPointF(2.5, 18)});
    painter.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(9, 6, 10, 10), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(8, 2, 14, 18), -50 * 16, 100 * 16);
}

// The usual sign for recording: a red disc.
void drawRecord(QPainter& painter) {
    painter.setPen(QPen(QColor(0x78, 0x00, 0x00), 1.2));
    painter.setBrush(QColor(0xd2, 0x14, 0x14));
    painter.drawEllipse(QPointF(11, 11), 7, 7);
}

} // namespace

QIcon drawnIcon(DrawnIcon kind) {
    // Drawn on a 22-pixel grid at twice the size for sharp scaling.
    QPixmap pixmap(44, 44);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(2, 2);
    switch (kind) {
    case DrawnIcon::Copy:
        drawCopy(painter);
        break;
    case DrawnIcon::Cut:
        drawCut(painter);
        break;
    case DrawnIcon::Paste:
        drawPaste(painter);
        break;
    case DrawnIcon::Options:
        drawOptions(painter);
        break;
    case DrawnIcon::FilmSettings:
        drawFilmSettings(painter);
        break;
    case DrawnIcon::PlaySound:
        drawPlaySound(painter);
        break;
    case DrawnIcon::Record:
        drawRecord(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace kelmor
