#include "animation/preview_area.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace kelmor {

PreviewArea::PreviewArea(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("ScrollBox5"));
    setAccessibleName(QStringLiteral("Animation preview"));
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    viewport()->setAutoFillBackground(true);
    viewport()->setPalette(white);

    auto* content = new QWidget(this);
    content->setAutoFillBackground(true);
    content->setPalette(white);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(8, 8, 0, 0);
    preview_ = new PictureView(content);
    preview_->setObjectName(QStringLiteral("ImageAnimate"));
    preview_->setAccessibleName(QStringLiteral("Animation preview"));
    preview_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(preview_, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    keeper_ = new PictureView(content);
    keeper_->setObjectName(QStringLiteral("Image24"));
    keeper_->hide();
    setWidget(content);
    setWidgetResizable(true);

    for (QWidget* source :
         {static_cast<QWidget*>(viewport()), content, static_cast<QWidget*>(preview_)})
        source->installEventFilter(this);
}

void PreviewArea::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void PreviewArea::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void PreviewArea::dropEvent(QDropEvent* event) {
    // Accepted so the drag ends quietly, and otherwise ignored.
    event->acceptProposedAction();
}

bool PreviewArea::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        pressed_ = mouse->button() == Qt::LeftButton;
        pressedAt_ = mouse->globalPosition().toPoint();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        pressed_ = false;
    } else if (event->type() == QEvent::MouseMove && pressed_) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if ((mouse->globalPosition().toPoint() - pressedAt_).manhattanLength() >=
            QApplication::startDragDistance()) {
            pressed_ = false;
            auto* drag = new QDrag(this);
            auto* mime = new QMimeData;
            mime->setData(QString::fromLatin1(kControlDragMime), QByteArray());
            drag->setMimeData(mime);
            drag->exec(Qt::CopyAction);
            return true;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace kelmor
