#pragma once

#include "imaging/picture_view.h"

#include <QPoint>
#include <QScrollArea>

namespace kelmor {

// The MIME type of a drag that starts on a control of the Gifs tab other than
// the frame source list; it carries no data, since a drop on a slot always
// loads the list's selected item.
inline constexpr const char* kControlDragMime = "application/x-kelmor-control";

// "ScrollBox5": the white preview area. It holds the animation preview
// "ImageAnimate" at 8, 8, which sizes itself to its picture, and the hidden
// "Image24", the keeper of the placeholder picture. Pressing the mouse on the
// area and moving it starts a drag; the area accepts every drag and ignores
// every drop.
class PreviewArea : public QScrollArea {
    Q_OBJECT
public:
    explicit PreviewArea(QWidget* parent);

    PictureView& preview() { return *preview_; }
    PictureView& placeholderKeeper() { return *keeper_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PictureView* preview_ = nullptr;
    PictureView* keeper_ = nullptr;
    QPoint pressedAt_;
    bool pressed_ = false;
};

} // namespace kelmor
