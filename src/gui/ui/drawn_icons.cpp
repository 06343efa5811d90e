#include "ui/drawn_icons.h"

#include "ui/icon_drawings.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <map>
#include <utility>

namespace kelmor {
namespace {

class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(DrawnIcon kind) : kind_(kind) {}

    QIconEngine* clone() const override { return new DrawnIconEngine(kind_); }

    // The pictures are square: the largest square that fits the size asked for.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = qMin(size.width(), size.height());
        if (side <= 0)
            return {};
        const bool disabled = mode == QIcon::Disabled;
        auto [place, added] = drawn_.try_emplace({side, disabled});
        if (added)
            place->second = draw(side, disabled);
        return place->second;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        QRect target(QPoint(), picture.deviceIndependentSize().toSize());
        target.moveCenter(rect.center());
        painter->drawPixmap(target, picture);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    }

    bool isNull() override { return false; }

private:
    QPixmap draw(int side, bool disabled) const {
        QPixmap picture(side, side);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(side / kDrawingGrid, side / kDrawingGrid);
            drawPicture(painter, kind_);
        }
        if (!disabled)
            return picture;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
    }

    DrawnIcon kind_;
    std::map<std::pair<int, bool>, QPixmap> drawn_;
};

} // namespace

QIcon drawnIcon(DrawnIcon kind) {
    return QIcon(new DrawnIconEngine(kind));
}

} // namespace kelmor
