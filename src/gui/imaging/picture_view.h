#pragma once

#include "imaging/picture.h"
#include "imaging/picture_animation.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace kelmor {

// An image control: holds one picture, sizes itself to it (unless told to
// stretch it over its own size instead) and animates a GIF or a WebP of several
// frames by itself, frame after frame on a timer of the UI thread. Clearing the
// picture stops the animation. Nothing is painted under transparent pixels: the
// background behind the control shows through them.
class PictureView : public QWidget {
    Q_OBJECT

public:
    explicit PictureView(QWidget* parent = nullptr);
    ~PictureView() override;

    const Picture& picture() const { return picture_; }
    // Shows the picture (a copy shares its pixels). Throws Error("Image too
    // large") for a GIF whose screen cannot be composed; the view is then empty.
    void setPicture(Picture picture);
    // Empties the view first, then loads the file into it (Picture::loadFromFile);
    // on an error the view stays empty.
    void loadFromFile(const std::string& path);
    // Writes the picture in its own format; nothing when empty.
    void saveToFile(const std::string& path) const { picture_.saveToFile(path); }
    void clear();

    // Auto size (the default): the view takes its picture's size whenever it
    // gets a picture, and keeps its size when emptied.
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    // Stretch: the picture is scaled to fill the view's own size.
    bool stretch() const { return stretch_; }
    void setStretch(bool on);

    // The animation: whether it runs, and the frame on screen (-1 for none).
    bool animating() const { return timer_.isActive(); }
    int currentFrame() const;
    // What is drawn for the current picture and frame, at the picture's size.
    const QImage& image() const { return image_; }
    // A widget side cannot pass QWIDGETSIZE_MAX pixels. A picture with a longer side is held
    // (it can be saved) but not drawn: the view shows this notice instead; empty otherwise.
    const QString& notice() const { return notice_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The picture's size, or the notice's when the picture cannot be drawn.
    QSize shownSize() const;
    void showFrame();
    void nextFrame();
    void stopAnimation();
    // An animated WebP: its frame on screen, and how long that frame stays, less half of the
    // time the previous frame overran its wait, as a GIF's frames are timed.
    void showRgbaFrame();
    int rgbaWaitMs(int previousOverrunMs) const;
    // Moves to the next frame of an animated WebP; false when its last pass is over.
    bool advanceRgba();
    void startWait(int waitMs);

    Picture picture_;
    QImage image_;
    QString notice_;
    bool autoSize_ = true;
    bool stretch_ = false;
    std::unique_ptr<AnimationSchedule> schedule_;
    std::shared_ptr<FrameCanvas> canvas_; // shared with the image showing it
    QTimer timer_;
    QElapsedTimer clock_;
    int scheduledMs_ = 0;
    int rgbaFrame_ = -1; // the frame of an animated WebP on screen, -1 for none
    int rgbaPass_ = 0;
};

// A picture view on a white scrolling area created as a child of `parent` (a splitter adds
// it as a pane); the view keeps its picture's size and scrolls when larger than the area.
// The area and the view carry the accessible name.
PictureView* addPictureArea(QWidget& parent, const QString& objectName,
                            const QString& accessibleName);

} // namespace kelmor
