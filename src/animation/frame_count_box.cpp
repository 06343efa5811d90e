#include "animation/frame_count_box.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelmor {
namespace {

constexpr int kLowest = 0;
constexpr int kHighest = 20;

QToolButton* arrowButton(QWidget& parent, Qt::ArrowType arrow, const char* name) {
    auto* button = new QToolButton(&parent);
    button->setArrowType(arrow);
    button->setAccessibleName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(name));
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus); // the box takes Up and Down itself
    button->setFixedSize(16, 11);
    return button;
}

} // namespace

FrameCountBox::FrameCountBox(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* label = new QLabel(QStringLiteral("No. of frames to use: "), this);
    edit_ = new QLineEdit(QString::number(position_), this);
    edit_->setObjectName(QStringLiteral("Edit27"));
    edit_->setAccessibleName(QStringLiteral("No. of frames to use:"));
    edit_->setFixedWidth(36);
    label->setBuddy(edit_);
    edit_->installEventFilter(this);

    auto* upDown = new QWidget(this);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    auto* arrows = new QVBoxLayout(upDown);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    QToolButton* up = arrowButton(*upDown, Qt::UpArrow, "More frames");
    QToolButton* down = arrowButton(*upDown, Qt::DownArrow, "Fewer frames");
    up->setObjectName(QStringLiteral("UpDown1Up"));
    down->setObjectName(QStringLiteral("UpDown1Down"));
    arrows->addWidget(up);
    arrows->addWidget(down);
    connect(up, &QToolButton::clicked, this, [this] { step(1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });

    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(upDown);
}

QString FrameCountBox::text() const {
    return edit_->text();
}

void FrameCountBox::step(int direction) {
    bool isNumber = false;
    const int shown = edit_->text().toInt(&isNumber);
    if (isNumber && shown >= kLowest && shown <= kHighest)
        position_ = shown;
    position_ = std::clamp(position_ + direction, kLowest, kHighest);
    edit_->setText(QString::number(position_));
}

bool FrameCountBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kelmor
