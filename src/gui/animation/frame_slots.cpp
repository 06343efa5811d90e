#include "animation/frame_slots.h"

#include "animation/assembly.h"
#include "ui/file_drop.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace kelmor {
namespace {

constexpr int kSlotSide = 50;
constexpr int kSlotPitch = 51;
constexpr int kColumnWidth = 70;

} // namespace

QString frameSlotName(int slot) {
    static const char* const kFirst[] = {"a1", "b2", "c3", "d4"};
    if (slot < 4)
        return QString::fromLatin1(kFirst[slot]);
    // Image6 and Image7, then Image9 onwards: there is no Image8.
    return QStringLiteral("Image") + QString::number(slot < 6 ? slot + 2 : slot + 3);
}

FrameSlot::FrameSlot(int slot, QWidget* parent) : PictureView(parent), slot_(slot) {
    setObjectName(frameSlotName(slot));
    setAccessibleName(QStringLiteral("Frame ") + QString::number(slot + 1));
    setAutoSize(false);
    setStretch(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setGeometry(1, 1 + kSlotPitch * slot, kSlotSide, kSlotSide);
}

namespace {

// A drag of files is taken when they are pictures; any other drag is.
bool takesDrag(const QDropEvent& event) {
    const QStringList files = droppedFiles(*event.mimeData());
    return files.isEmpty() || isPictureFile(files.first());
}

} // namespace

void FrameSlot::dragEnterEvent(QDragEnterEvent* event) {
    if (takesDrag(*event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FrameSlot::dragMoveEvent(QDragMoveEvent* event) {
    if (takesDrag(*event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FrameSlot::dropEvent(QDropEvent* event) {
    if (!takesDrag(*event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (const QStringList files = droppedFiles(*event->mimeData()); !files.isEmpty())
        emit filesDropped(slot_, files);
    else
        emit dropped(slot_);
}

void FrameSlot::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)
        emit dropped(slot_);
    else
        PictureView::keyPressEvent(event);
}

void FrameSlot::paintEvent(QPaintEvent* event) {
    PictureView::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

FrameSlotColumn::FrameSlotColumn(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("ScrollBox4"));
    setAccessibleName(QStringLiteral("Frame slots"));
    setFixedWidth(kColumnWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    auto* column = new QWidget(this);
    column->setAutoFillBackground(true);
    column->setPalette(white);
    column->setFixedSize(kSlotSide + 2, 1 + kSlotPitch * kFrameSlotCount);
    for (int k = 0; k < kFrameSlotCount; ++k) {
        slots_[static_cast<std::size_t>(k)] = new FrameSlot(k, column);
        connect(slots_[static_cast<std::size_t>(k)], &FrameSlot::dropped, this,
                &FrameSlotColumn::dropped);
        connect(slots_[static_cast<std::size_t>(k)], &FrameSlot::filesDropped, this,
                &FrameSlotColumn::filesDropped);
    }
    setWidget(column);
    // A slot reached with the keyboard is scrolled into view.
    connect(qApp, &QApplication::focusChanged, this, [this, column](QWidget*, QWidget* now) {
        if (now != nullptr && now->parentWidget() == column)
            ensureWidgetVisible(now, 0, 1);
    });
    viewport()->setAutoFillBackground(true);
    viewport()->setPalette(white);
}

std::vector<Picture> FrameSlotColumn::pictures() const {
    std::vector<Picture> all;
    for (const FrameSlot* slot : slots_)
        all.push_back(slot->picture());
    return all;
}

void FrameSlotColumn::fillAll(const Picture& picture) {
    for (FrameSlot* slot : slots_)
        slot->setPicture(picture);
    filled_.fill(false);
}

void FrameSlotColumn::setFrame(int slot, Picture picture) {
    slotAt(slot).setPicture(std::move(picture));
    filled_[static_cast<std::size_t>(slot)] = true;
}

std::optional<int> FrameSlotColumn::targetSlot() const {
    for (int k = 0; k < kFrameSlotCount; ++k)
        if (slots_[static_cast<std::size_t>(k)]->hasFocus())
            return k;
    for (int k = 0; k < kFrameSlotCount; ++k)
        if (!filled_[static_cast<std::size_t>(k)])
            return k;
    return std::nullopt;
}

} // namespace kelmor
