#pragma once

#include "imaging/picture_view.h"

#include <QScrollArea>
#include <array>
#include <optional>
#include <vector>

namespace kelmor {

// One frame slot: shows its picture stretched over its 50 x 50 square while
// holding it at full size. It accepts every drag but one of files that are no
// pictures; a drop of picture files from the file manager reports them, any other
// drop only reports the slot, because the slot then loads the frame source list's
// selected item whatever was dragged. For keyboard users, Enter or Space on a
// focused slot reports it the same way.
class FrameSlot : public PictureView {
    Q_OBJECT
public:
    FrameSlot(int slot, QWidget* parent);

signals:
    void dropped(int slot);
    void filesDropped(int slot, const QStringList& files);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int slot_;
};

// "ScrollBox4": the white column of the twenty frame slots, in slot order a1,
// b2, c3, d4, Image6, Image7, Image9 ... Image22; slot k sits at 1, 1 + 51 k.
class FrameSlotColumn : public QScrollArea {
    Q_OBJECT
public:
    explicit FrameSlotColumn(QWidget* parent);

    FrameSlot& slotAt(int slot) { return *slots_[static_cast<std::size_t>(slot)]; }
    // The pictures in slot order.
    std::vector<Picture> pictures() const;
    // Sets every slot, in slot order, to the picture; every slot counts as empty again.
    void fillAll(const Picture& picture);
    // Puts a frame into one slot, which then counts as filled.
    void setFrame(int slot, Picture picture);
    // Where a frame chosen from the keyboard goes: the slot that has the focus, or
    // else the first empty one; none when every slot is filled.
    std::optional<int> targetSlot() const;

signals:
    void dropped(int slot);
    void filesDropped(int slot, const QStringList& files);

private:
    std::array<FrameSlot*, 20> slots_{};
    std::array<bool, 20> filled_{};
};

// The object name of slot k (0 to 19).
QString frameSlotName(int slot);

} // namespace kelmor
