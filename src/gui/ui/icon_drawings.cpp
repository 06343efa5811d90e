#include "ui/icon_drawings.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <array>
#include <iterator>

namespace kelmor {
namespace {

const QColor kInk(0x40, 0x40, 0x40);
const QColor kGreen(0x2e, 0x9a, 0x48);
const QColor kRed(0xc0, 0x1c, 0x28);
const QColor kBlue(0x3c, 0x64, 0xb4);
const QColor kYellow(0xf0, 0xc0, 0x3c);
const QColor kFolder(0xe8, 0xb8, 0x4a);

QPen inkPen(qreal width = 1.2, const QColor& colour = kInk) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with lines of writing.
void drawSheet(QPainter& painter, const QRectF& sheet) {
    painter.setPen(inkPen());
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (qreal y = sheet.top() + 4; y < sheet.bottom() - 2; y += 3)
        painter.drawLine(QPointF(sheet.left() + 2.5, y), QPointF(sheet.right() - 2.5, y));
}

// A blank page with its top right corner folded over.
void drawPage(QPainter& painter, const QRectF& page) {
    const qreal fold = 4.5;
    painter.setPen(inkPen());
    painter.setBrush(Qt::white);
    painter.drawPath(foldedPage(page, fold));
    painter.setBrush(QColor(0xd8, 0xd8, 0xd8));
    painter.drawPolygon(QPolygonF{QPointF(page.right() - fold, page.top()),
                                  QPointF(page.right() - fold, page.top() + fold),
                                  QPointF(page.right(), page.top() + fold)});
}

void drawStar(QPainter& painter, const QPointF& centre, qreal radius) {
    QPolygonF star;
    for (int point = 0; point < 10; ++point) {
        const qreal angle = qDegreesToRadians(point * 36.0 - 90.0);
        const qreal reach = point % 2 == 0 ? radius : radius * 0.45;
        star << centre + QPointF(reach * qCos(angle), reach * qSin(angle));
    }
    painter.setPen(inkPen(0.9, QColor(0xa0, 0x70, 0x00)));
    painter.setBrush(kYellow);
    painter.drawPolygon(star);
}

// A white sign in a coloured disc at the lower right: something is added (a green plus),
// taken away (a red minus) or removed (a red cross).
enum class Sign { Plus, Minus, Cross };

void drawSignDisc(QPainter& painter, Sign sign) {
    const QPointF centre(16, 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sign == Sign::Plus ? kGreen : kRed);
    painter.drawEllipse(centre, 4.5, 4.5);
    painter.setPen(inkPen(1.6, Qt::white));
    if (sign == Sign::Cross) {
        painter.drawLine(centre + QPointF(-2, -2), centre + QPointF(2, 2));
        painter.drawLine(centre + QPointF(2, -2), centre + QPointF(-2, 2));
        return;
    }
    painter.drawLine(centre + QPointF(-2.5, 0), centre + QPointF(2.5, 0));
    if (sign == Sign::Plus)
        painter.drawLine(centre + QPointF(0, -2.5), centre + QPointF(0, 2.5));
}

void drawFolderBack(QPainter& painter) {
    painter.setPen(inkPen(1.2, QColor(0x8a, 0x64, 0x10)));
    painter.setBrush(kFolder.darker(115));
    QPainterPath back;
    back.moveTo(2, 18);
    back.lineTo(2, 4.5);
    back.lineTo(8, 4.5);
    back.lineTo(10, 6.5);
    back.lineTo(19, 6.5);
    back.lineTo(19, 18);
    back.closeSubpath();
    painter.drawPath(back);
}

void drawFolder(QPainter& painter) {
    drawFolderBack(painter);
    painter.setBrush(kFolder);
    painter.drawRect(QRectF(2, 8.5, 17, 9.5));
}

void drawOpenFolder(QPainter& painter) {
    drawFolderBack(painter);
    painter.setBrush(kFolder.lighter(110));
    painter.drawPolygon(
        QPolygonF{QPointF(2, 18), QPointF(5, 9.5), QPointF(21, 9.5), QPointF(18, 18)});
}

void drawNew(QPainter& painter) {
    drawPage(painter, QRectF(3.5, 3.5, 12, 16));
    drawStar(painter, QPointF(16, 6), 5);
}

void drawFloppy(QPainter& painter, const QRectF& disk) {
    const qreal unit = disk.width() / 16;
    painter.setPen(inkPen(1.1, kBlue.darker(160)));
    painter.setBrush(kBlue);
    painter.drawRoundedRect(disk, unit, unit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc8, 0xc8, 0xc8));
    painter.drawRect(QRectF(disk.left() + 4 * unit, disk.top() + 0.6 * unit, 8 * unit, 5 * unit));
    painter.setBrush(Qt::white);
    painter.drawRect(
        QRectF(disk.left() + 2.5 * unit, disk.top() + 8 * unit, 11 * unit, 7.4 * unit));
}

void drawSave(QPainter& painter) {
    drawFloppy(painter, QRectF(3, 3, 16, 16));
}

void drawSaveAs(QPainter& painter) {
    drawFloppy(painter, QRectF(2, 2, 13, 13));
    painter.setPen(inkPen(4, kInk));
    painter.drawLine(QPointF(19.5, 9.5), QPointF(11.5, 17.5));
    painter.setPen(inkPen(2.6, kYellow));
    painter.drawLine(QPointF(19.5, 9.5), QPointF(12.5, 16.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPolygon(QPolygonF{QPointF(10, 20), QPointF(10.8, 16.2), QPointF(13.8, 19.2)});
}

// A gear: a toothed wheel around a hole.
void drawOptions(QPainter& painter) {
    const QPointF centre(11, 11);
    painter.setPen(inkPen());
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

void drawSoundWaves(QPainter& painter) {
    painter.setPen(inkPen(1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(9, 6, 10, 10), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(8, 2, 14, 18), -50 * 16, 100 * 16);
}

void drawSpeaker(QPainter& painter) {
    painter.setPen(inkPen());
    painter.setBrush(QColor(0x70, 0x78, 0x84));
    painter.drawPolygon(QPolygonF{QPointF(2.5, 8), QPointF(6, 8), QPointF(11, 3.5),
                                  QPointF(11, 18.5), QPointF(6, 14), QPointF(2.5, 14)});
    drawSoundWaves(painter);
}

void drawGlobe(QPainter& painter) {
    const QPointF centre(11, 11);
    painter.setPen(inkPen(1.2, kBlue.darker(150)));
    painter.setBrush(QColor(0x5a, 0x9a, 0xe0));
    painter.drawEllipse(centre, 9, 9);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 4, 9);
    painter.drawLine(QPointF(11, 2), QPointF(11, 20));
    painter.drawLine(QPointF(2, 11), QPointF(20, 11));
    painter.drawLine(QPointF(3.8, 6.5), QPointF(18.2, 6.5));
    painter.drawLine(QPointF(3.8, 15.5), QPointF(18.2, 15.5));
}

void drawClearSheet(QPainter& painter) {
    drawSheet(painter, QRectF(2.5, 2.5, 12, 16));
    drawSignDisc(painter, Sign::Cross);
}

// A bent arrow that turns back to the left.
void drawUndo(QPainter& painter) {
    QPainterPath bend;
    bend.moveTo(7, 8);
    bend.lineTo(13, 8);
    bend.cubicTo(20, 8, 20, 18, 13, 18);
    bend.lineTo(8, 18);
    painter.setPen(inkPen(2.2, kBlue));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(bend);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBlue);
    painter.drawPolygon(QPolygonF{QPointF(2, 8), QPointF(8, 3), QPointF(8, 13)});
}

void drawCopy(QPainter& painter) {
    drawSheet(painter, QRectF(2.5, 2.5, 11, 14));
    drawSheet(painter, QRectF(8.5, 7.5, 11, 14));
}

void drawCut(QPainter& painter) {
    painter.setPen(inkPen(1.6));
    painter.drawLine(QPointF(6, 2), QPointF(14.5, 14));
    painter.drawLine(QPointF(16, 2), QPointF(7.5, 14));
    painter.setPen(QPen(kRed, 1.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(6.5, 17), 3, 3);
    painter.drawEllipse(QPointF(15.5, 17), 3, 3);
}

void drawPaste(QPainter& painter) {
    painter.setPen(inkPen());
    painter.setBrush(QColor(0xc8, 0x96, 0x5a));
    painter.drawRoundedRect(QRectF(2.5, 3.5, 13, 17), 1.5, 1.5);
    painter.setBrush(QColor(0xb0, 0xb0, 0xb0));
    painter.drawRect(QRectF(6.5, 1.5, 5, 4));
    drawSheet(painter, QRectF(9.5, 9.5, 11, 12));
}

// A page with the angle brackets of markup on it.
void drawHtmlSheet(QPainter& painter) {
    drawPage(painter, QRectF(3, 2, 16, 18));
    painter.setPen(inkPen(1.5, kRed));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF{QPointF(8.5, 9), QPointF(5.5, 12), QPointF(8.5, 15)});
    painter.drawPolyline(QPolygonF{QPointF(13.5, 9), QPointF(16.5, 12), QPointF(13.5, 15)});
    painter.drawLine(QPointF(12, 8.5), QPointF(10, 15.5));
}

// An arrow running round a circle.
void drawRefresh(QPainter& painter) {
    painter.setPen(inkPen(2.2, kGreen));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(4, 4, 14, 14), 60 * 16, 280 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGreen);
    painter.drawPolygon(QPolygonF{QPointF(11.5, 1), QPointF(17.5, 5), QPointF(12, 9.5)});
}

void drawLargeTiles(QPainter& painter) {
    painter.setPen(inkPen(1, kBlue.darker(150)));
    painter.setBrush(QColor(0x8c, 0xb4, 0xe6));
    for (const qreal y : {3.0, 12.0})
        for (const qreal x : {3.0, 12.0})
            painter.drawRect(QRectF(x, y, 7, 7));
}

void drawSmallList(QPainter& painter) {
    for (qreal y = 3.5; y < 19; y += 4.5) {
        painter.setPen(inkPen(1, kBlue.darker(150)));
        painter.setBrush(QColor(0x8c, 0xb4, 0xe6));
        painter.drawRect(QRectF(2.5, y, 3, 3));
        painter.setPen(inkPen(1.4));
        painter.drawLine(QPointF(8, y + 1.5), QPointF(19.5, y + 1.5));
    }
}

// Two rows of two framed pictures, each a small landscape: a sun over a hill.
void drawThumbnails(QPainter& painter) {
    for (const qreal y : {2.5, 12.0})
        for (const qreal x : {2.5, 12.0}) {
            painter.setPen(inkPen(1, kBlue.darker(150)));
            painter.setBrush(QColor(0xd4, 0xe6, 0xfa));
            painter.drawRect(QRectF(x, y, 7.5, 7.5));
            painter.setPen(Qt::NoPen);
            painter.setBrush(kGreen);
            painter.drawPolygon(QPolygonF{QPointF(x + 0.5, y + 7), QPointF(x + 3.5, y + 3.5),
                                          QPointF(x + 7, y + 7)});
            painter.setBrush(kYellow);
            painter.drawEllipse(QPointF(x + 5.5, y + 2.2), 1.1, 1.1);
        }
}

// Rows of a list or table, the middle one selected when asked.
void drawRows(QPainter& painter, bool middleSelected) {
    painter.setPen(inkPen(1));
    for (int row = 0; row < 3; ++row) {
        const bool selected = middleSelected && row == 1;
        painter.setBrush(selected ? QColor(0x8c, 0xb4, 0xe6) : QColor(Qt::white));
        painter.drawRect(QRectF(2.5, 2.5 + row * 5, 15, 5));
    }
}

void drawClearSelection(QPainter& painter) {
    drawRows(painter, true);
    drawSignDisc(painter, Sign::Cross);
}

void drawAddRow(QPainter& painter) {
    drawRows(painter, false);
    drawSignDisc(painter, Sign::Plus);
}

void drawDeleteRow(QPainter& painter) {
    drawRows(painter, false);
    drawSignDisc(painter, Sign::Minus);
}

// An upright strip of film with sprocket holes and one frame window.
void drawFilmStrip(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawRect(QRectF(2, 2, 14, 18));
    painter.setBrush(Qt::white);
    for (qreal y = 3.5; y < 19; y += 3.5) {
        painter.drawRect(QRectF(3, y, 2, 2));
        painter.drawRect(QRectF(13, y, 2, 2));
    }
    painter.drawRect(QRectF(6.5, 4, 5, 14));
}

void drawNewFilm(QPainter& painter) {
    drawFilmStrip(painter);
    drawStar(painter, QPointF(16, 6), 5);
}

// A strip of film showing a picture: the animations.
void drawFilm(QPainter& painter) {
    drawFilmStrip(painter);
    painter.setBrush(QColor(0x8c, 0xb4, 0xe6));
    painter.drawRect(QRectF(6.5, 4, 5, 6.5));
    painter.setBrush(kGreen);
    painter.drawRect(QRectF(6.5, 11.5, 5, 6.5));
}

// A film frame with a tick: the settings of an animation.
void drawFilmSettings(QPainter& painter) {
    drawFilmStrip(painter);
    painter.setPen(inkPen(2.2, QColor(0x1c, 0x8c, 0x3c)));
    painter.drawLine(QPointF(12, 15), QPointF(15, 18.5));
    painter.drawLine(QPointF(15, 18.5), QPointF(20.5, 10));
}

void drawPlayTriangle(QPainter& painter, const QPolygonF& triangle) {
    painter.setPen(inkPen(1.2, kGreen.darker(150)));
    painter.setBrush(kGreen);
    painter.drawPolygon(triangle);
}

void drawPlay(QPainter& painter) {
    drawPlayTriangle(painter, QPolygonF{QPointF(5, 3), QPointF(18.5, 11), QPointF(5, 19)});
}

// A play triangle with the waves of a sound beside it.
void drawPlaySound(QPainter& painter) {
    drawPlayTriangle(painter, QPolygonF{QPointF(2.5, 4), QPointF(13, 11), QPointF(2.5, 18)});
    drawSoundWaves(painter);
}

void drawStop(QPainter& painter) {
    painter.setPen(inkPen(1.2, QColor(0x30, 0x30, 0x30)));
    painter.setBrush(QColor(0x58, 0x58, 0x58));
    painter.drawRoundedRect(QRectF(4.5, 4.5, 13, 13), 1.5, 1.5);
}

// Back to the start: a bar and a triangle pointing at it.
void drawRewind(QPainter& painter) {
    painter.setPen(inkPen(1.2, QColor(0x30, 0x30, 0x30)));
    painter.setBrush(QColor(0x58, 0x58, 0x58));
    painter.drawRect(QRectF(3.5, 4, 3, 14));
    painter.drawPolygon(QPolygonF{QPointF(18.5, 4), QPointF(7.5, 11), QPointF(18.5, 18)});
}

// The usual sign for recording: a red disc.
void drawRecord(QPainter& painter) {
    painter.setPen(QPen(QColor(0x78, 0x00, 0x00), 1.2));
    painter.setBrush(QColor(0xd2, 0x14, 0x14));
    painter.drawEllipse(QPointF(11, 11), 7, 7);
}

void drawHome(QPainter& painter) {
    painter.setPen(inkPen());
    painter.setBrush(QColor(0xf4, 0xf0, 0xe6));
    painter.drawRect(QRectF(5, 10, 12, 9.5));
    painter.setBrush(kRed);
    painter.drawPolygon(QPolygonF{QPointF(1.5, 11), QPointF(11, 2.5), QPointF(20.5, 11)});
    painter.setBrush(QColor(0x8a, 0x5a, 0x2a));
    painter.drawRect(QRectF(9, 13.5, 4, 6));
}

// A framed landscape: sky, sun and a green hill.
void drawLandscape(QPainter& painter) {
    const QRectF frame(2, 4, 18, 14);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9c, 0xc8, 0xf0));
    painter.drawRect(frame);
    painter.setBrush(kYellow);
    painter.drawEllipse(QPointF(15.5, 8), 2.2, 2.2);
    painter.setBrush(kGreen);
    painter.drawPolygon(QPolygonF{QPointF(2, 18), QPointF(2, 14), QPointF(8, 9.5),
                                  QPointF(13, 14.5), QPointF(16, 12.5), QPointF(20, 16),
                                  QPointF(20, 18)});
    painter.setPen(inkPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
}

void drawArrowDown(QPainter& painter) {
    painter.setPen(inkPen(1.2, kGreen.darker(150)));
    painter.setBrush(kGreen);
    painter.drawPolygon(QPolygonF{QPointF(8, 2.5), QPointF(14, 2.5), QPointF(14, 10),
                                  QPointF(19, 10), QPointF(11, 19.5), QPointF(3, 10),
                                  QPointF(8, 10)});
}

// Two chevrons pointing on, for the commands a bar has no room to show.
void drawMoreRight(QPainter& painter) {
    painter.setPen(inkPen(1.8));
    painter.setBrush(Qt::NoBrush);
    for (const qreal x : {6.0, 12.0})
        painter.drawPolyline(QPolygonF{QPointF(x, 6), QPointF(x + 5, 11), QPointF(x, 16)});
}

void drawMoreDown(QPainter& painter) {
    painter.translate(22, 0);
    painter.rotate(90);
    drawMoreRight(painter);
}

// A painter's palette with dabs of colour.
void drawPalette(QPainter& painter) {
    QPainterPath board;
    board.addEllipse(QPointF(11, 11), 9.5, 8);
    QPainterPath thumb;
    thumb.addEllipse(QPointF(14.5, 15), 2.2, 2.2);
    painter.setPen(inkPen());
    painter.setBrush(QColor(0xd8, 0xb4, 0x82));
    painter.drawPath(board.subtracted(thumb));
    painter.setPen(Qt::NoPen);
    const std::array<std::pair<QPointF, QColor>, 4> dabs{{{QPointF(6, 9), kRed},
                                                          {QPointF(10, 6), kYellow},
                                                          {QPointF(15, 7), kBlue},
                                                          {QPointF(6.5, 14), kGreen}}};
    for (const auto& [where, colour] : dabs) {
        painter.setBrush(colour);
        painter.drawEllipse(where, 1.8, 1.8);
    }
}

// A project file: a page with a row of buttons on it.
void drawProjectFile(QPainter& painter) {
    drawPage(painter, QRectF(3, 1.5, 16, 19));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBlue);
    for (const qreal y : {8.0, 12.0, 16.0})
        painter.drawRoundedRect(QRectF(6, y, 10, 2.6), 1, 1);
}

QLinearGradient downwards(qreal top, qreal bottom, const QColor& from, const QColor& to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

// The program's icon, drawn as the desktop's scalable icon is: a page with two image
// buttons, the lower one lit under the mouse pointer. Drawn on its 256-unit grid.
void drawProgram(QPainter& painter) {
    painter.scale(kDrawingGrid / 256, kDrawingGrid / 256);
    const QColor frame(0x5a, 0x6b, 0x85);
    const QColor paper(0xf7, 0xf9, 0xfc);
    painter.setPen(QPen(frame, 6));
    painter.setBrush(downwards(12, 244, paper, QColor(0xdf, 0xe6, 0xf0)));
    painter.drawRoundedRect(QRectF(20, 12, 216, 232), 22, 22);
    painter.setPen(Qt::NoPen);
    painter.setBrush(frame);
    painter.drawRoundedRect(QRectF(20, 12, 216, 40), 22, 22);
    painter.drawRect(QRectF(20, 36, 216, 16));
    painter.setBrush(paper);
    painter.drawEllipse(QPointF(48, 32), 7, 7);
    painter.drawEllipse(QPointF(72, 32), 7, 7);
    painter.setBrush(downwards(76, 128, QColor(0x2f, 0x5f, 0xa8), QColor(0x1b, 0x3f, 0x78)));
    painter.drawRoundedRect(QRectF(48, 76, 160, 52), 12, 12);
    painter.setBrush(QColor(0xc8, 0xd8, 0xf0));
    painter.drawRoundedRect(QRectF(72, 96, 112, 12), 6, 6);
    painter.setPen(QPen(QColor(0xb8, 0x6e, 0x00), 4));
    painter.setBrush(downwards(152, 204, QColor(0xff, 0xd8, 0x66), QColor(0xf0, 0xa0, 0x20)));
    painter.drawRoundedRect(QRectF(48, 152, 160, 52), 12, 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x7a, 0x43, 0x00));
    painter.drawRoundedRect(QRectF(72, 172, 112, 12), 6, 6);
    painter.setPen(QPen(QColor(0x1a, 0x1a, 0x1a), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF{QPointF(150, 150), QPointF(150, 226), QPointF(168, 209),
                                  QPointF(181, 238), QPointF(195, 232), QPointF(182, 204),
                                  QPointF(206, 204)});
}

using Drawing = void (*)(QPainter&);

// One drawing per picture, in the order of DrawnIcon.
constexpr Drawing kDrawings[] = {
    drawNew,         drawOpenFolder, drawFolder,     drawSave,           drawSaveAs,
    drawOptions,     drawSpeaker,    drawGlobe,      drawClearSheet,     drawUndo,
    drawCopy,        drawCut,        drawPaste,      drawHtmlSheet,      drawRefresh,
    drawLargeTiles,  drawSmallList,  drawThumbnails, drawClearSelection, drawAddRow,
    drawDeleteRow,   drawNewFilm,    drawFilm,       drawFilmSettings,   drawPlay,
    drawPlaySound,   drawStop,       drawRewind,     drawRecord,         drawHome,
    drawLandscape,   drawArrowDown,  drawPalette,    drawMoreRight,      drawMoreDown,
    drawProjectFile, drawProgram};
static_assert(std::size(kDrawings) == static_cast<std::size_t>(DrawnIcon::Last) + 1,
              "one drawing per picture");

} // namespace

QPainterPath foldedPage(const QRectF& page, qreal fold) {
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(page.right() - fold, page.top());
    outline.lineTo(page.right(), page.top() + fold);
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();
    return outline;
}

void drawPicture(QPainter& painter, DrawnIcon kind) {
    kDrawings[static_cast<std::size_t>(kind)](painter);
}

} // namespace kelmor
