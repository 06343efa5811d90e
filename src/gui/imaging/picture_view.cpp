#include "imaging/picture_view.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/picture_qt.h"

#include <QPainter>
#include <QScrollArea>

namespace kelmor {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PictureView::nextFrame);
}

PictureView::~PictureView() = default;

void PictureView::setPicture(Picture picture) {
    clear();
    if (picture.format() == PictureFormat::Gif) {
        auto canvas = std::make_shared<FrameCanvas>(*picture.gif());
        picture_ = std::move(picture);
        canvas_ = std::move(canvas);
        schedule_ = std::make_unique<AnimationSchedule>(*picture_.gif());
        showFrame();
        if (schedule_->animated())
            startWait(schedule_->waitMs(0));
    } else if (const RgbaAnimation* animation = picture.animation();
               animation != nullptr && animation->frames.size() > 1) {
        picture_ = std::move(picture);
        rgbaFrame_ = 0;
        rgbaPass_ = 1;
        showRgbaFrame();
        startWait(rgbaWaitMs(0));
    } else {
        picture_ = std::move(picture);
        if (picture_.width() > QWIDGETSIZE_MAX || picture_.height() > QWIDGETSIZE_MAX) {
            notice_ = QString::fromStdString(
                format(msg::kPictureTooLongToShow, std::to_string(QWIDGETSIZE_MAX)));
        } else if (const Bitmap* bitmap = picture_.bitmap()) {
            image_ = toQImage(*bitmap);
        }
    }
    if (autoSize_ && !picture_.empty())
        setFixedSize(shownSize());
    updateGeometry();
    update();
}

void PictureView::loadFromFile(const std::string& path) {
    clear();
    Picture loaded;
    loaded.loadFromFile(path);
    setPicture(std::move(loaded));
}

void PictureView::clear() {
    stopAnimation();
    picture_.clear();
    image_ = QImage();
    notice_.clear();
    update();
}

void PictureView::setAutoSize(bool on) {
    autoSize_ = on;
    if (!on) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else if (!picture_.empty()) {
        setFixedSize(shownSize());
    }
}

void PictureView::setStretch(bool on) {
    stretch_ = on;
    update();
}

int PictureView::currentFrame() const {
    return schedule_ ? schedule_->frame() : rgbaFrame_;
}

QSize PictureView::sizeHint() const {
    if (picture_.empty())
        return QWidget::sizeHint();
    return shownSize();
}

QSize PictureView::shownSize() const {
    if (notice_.isEmpty())
        return {picture_.width(), picture_.height()};
    return fontMetrics().size(0, notice_) + QSize(16, 16);
}

void PictureView::paintEvent(QPaintEvent*) {
    if (!notice_.isEmpty()) {
        QPainter(this).drawText(rect(), Qt::AlignCenter, notice_);
        return;
    }
    if (image_.isNull())
        return;
    QPainter painter(this);
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), image_);
    } else {
        painter.drawImage(0, 0, image_);
    }
}

void PictureView::showFrame() {
    if (schedule_->frame() >= 0)
        canvas_->draw(schedule_->frame());
    image_ = toQImage(canvas_);
    update();
}

void PictureView::nextFrame() {
    // How far the frame just shown overran its wait shortens the next one.
    const int overrun = std::max<int>(0, static_cast<int>(clock_.elapsed()) - scheduledMs_);
    if (schedule_) {
        if (!schedule_->advance())
            return;
        showFrame();
        startWait(schedule_->waitMs(overrun));
    } else if (rgbaFrame_ >= 0 && advanceRgba()) {
        showRgbaFrame();
        startWait(rgbaWaitMs(overrun));
    }
}

void PictureView::startWait(int waitMs) {
    scheduledMs_ = waitMs;
    clock_.start();
    timer_.start(scheduledMs_);
}

void PictureView::showRgbaFrame() {
    const RgbaImage& frame =
        picture_.animation()->frames[static_cast<std::size_t>(rgbaFrame_)].image;
    // A copy in the display's own form, so the image does not depend on the frame's pixels.
    image_ = rgbaView(frame).convertToFormat(QImage::Format_ARGB32);
    update();
}

int PictureView::rgbaWaitMs(int previousOverrunMs) const {
    // A frame of 10 ms or less stays 100 ms, as browsers show such a WebP.
    const int duration =
        picture_.animation()->frames[static_cast<std::size_t>(rgbaFrame_)].durationMs;
    const int shown = duration <= 10 ? 100 : duration;
    return std::max(0, shown - previousOverrunMs / 2);
}

bool PictureView::advanceRgba() {
    const RgbaAnimation& animation = *picture_.animation();
    if (static_cast<std::size_t>(rgbaFrame_) + 1 < animation.frames.size()) {
        ++rgbaFrame_;
        return true;
    }
    if (animation.loopCount != 0 && rgbaPass_ >= animation.loopCount)
        return false;
    ++rgbaPass_;
    rgbaFrame_ = 0;
    return true;
}

void PictureView::stopAnimation() {
    timer_.stop();
    schedule_.reset();
    canvas_.reset();
    rgbaFrame_ = -1;
    rgbaPass_ = 0;
}

PictureView* addPictureArea(QWidget& parent, const QString& objectName,
                            const QString& accessibleName) {
    auto* area = new QScrollArea(&parent);
    area->setAccessibleName(accessibleName);
    area->setBackgroundRole(QPalette::Base);
    QPalette white = area->palette();
    white.setColor(QPalette::Base, Qt::white);
    area->setPalette(white);
    auto* picture = new PictureView(area);
    picture->setObjectName(objectName);
    picture->setAccessibleName(accessibleName);
    picture->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    area->setWidget(picture);
    area->setWidgetResizable(false);
    return picture;
}

} // namespace kelmor
