#pragma once

#include <QWidget>

namespace kelmor {

class PictureView;

// "Image Preview": the normal and the mouse-over picture of a button, side by side on white
// scrolling areas with a splitter between them. Each preview takes its picture's size.
class ImagePreviews : public QWidget {
    Q_OBJECT
public:
    explicit ImagePreviews(QWidget* parent = nullptr);

    PictureView& normal() { return *normal_; }
    PictureView& mouseOver() { return *mouseOver_; }

private:
    PictureView* normal_ = nullptr;
    PictureView* mouseOver_ = nullptr;
};

} // namespace kelmor
