#include "animation/frame_count_box.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelmor {
namespace {

constexpr int kLowest = 0;
constexpr int kHighest = 20;

// An arrow of the up-down control. Its step is also the box's own Up or Down
// key, so the arrows stay out of the Tab chain.
QToolButton* arrowButton(QWidget& parent, QLineEdit& box, Qt::ArrowType arrow, const char* name,
                         Qt::Key key) {
    auto* step = new QAction(QString::fromLatin1(name), &box);
    step->setShortcut(key);
    step->setShortcutContext(Qt::WidgetShortcut);
    box.addAction(step);
    auto* button = new QToolButton(&parent);
    button->setDefaultAction(step);
    button->setArrowType(arrow);
    button->setAccessibleName(QString::fromLatin1(name));
    button->setAutoRepeat(true);
    button->setAutoRaise(true); // drawn like the tool bar's other buttons
    button->setFocusPolicy(Qt::NoFocus);
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

    auto* upDown = new QWidget(this);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    auto* arrows = new QVBoxLayout(upDown);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    QToolButton* up = arrowButton(*upDown, *edit_, Qt::UpArrow, "More frames", Qt::Key_Up);
    QToolButton* down = arrowButton(*upDown, *edit_, Qt::DownArrow, "Fewer frames", Qt::Key_Down);
    up->setObjectName(QStringLiteral("UpDown1Up"));
    down->setObjectName(QStringLiteral("UpDown1Down"));
    arrows->addWidget(up);
    arrows->addWidget(down);
    connect(up->defaultAction(), &QAction::triggered, this, [this] { step(1); });
    connect(down->defaultAction(), &QAction::triggered, this, [this] { step(-1); });

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

} // namespace kelmor
