#include "ui/tool_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyleOption>

namespace kelmor {
namespace {

class StandardIconEngine : public QIconEngine {
public:
    explicit StandardIconEngine(QStyle::StandardPixmap kind) : kind_(kind) {}

    QIconEngine* clone() const override { return new StandardIconEngine(kind_); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        if (fitsSmall(size))
            return smallPixmap().size().scaled(size.boundedTo(smallPixmap().size()),
                                               Qt::KeepAspectRatio);
        return fullIcon().actualSize(size).scaled(size, Qt::KeepAspectRatio);
    }

    // Like any icon, never hands out a picture larger than the size asked for.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (!fitsSmall(size)) {
            // A style without a picture that large gets its largest one scaled up, so
            // every button of a tool bar shows its picture at the bar's one size.
            const QPixmap picture = fullIcon().pixmap(size, mode, state);
            if (picture.width() >= size.width() || picture.height() >= size.height())
                return picture;
            return picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        QPixmap picture = smallPixmap();
        if (picture.width() > size.width() || picture.height() > size.height())
            picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Normal || mode == QIcon::Active)
            return picture;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, picture, &option);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        const QSize shown = picture.deviceIndependentSize().toSize().boundedTo(rect.size());
        QRect target(QPoint(), shown);
        target.moveCenter(rect.center());
        painter->drawPixmap(target, picture);
    }

    bool isNull() override { return false; }

private:
    bool fitsSmall(const QSize& size) {
        const QSize small = smallPixmap().size();
        return size.width() <= small.width() * 3 / 2 && size.height() <= small.height() * 3 / 2;
    }

    const QPixmap& smallPixmap() {
        if (small_.isNull())
            small_ = QApplication::style()->standardPixmap(kind_);
        return small_;
    }

    const QIcon& fullIcon() {
        if (full_.isNull())
            full_ = QApplication::style()->standardIcon(kind_);
        return full_;
    }

    QStyle::StandardPixmap kind_;
    QPixmap small_;
    QIcon full_;
};

} // namespace

QIcon toolIcon(QStyle::StandardPixmap kind) {
    return QIcon(new StandardIconEngine(kind));
}

} // namespace kelmor
