#pragma once

#include <QWidget>

class QLabel;

namespace kelmor {

// "Image Preview": the normal and the mouse-over picture of a button, side by side on white
// scrolling areas with a splitter between them. Each preview takes its picture's size.
class ImagePreviews : public QWidget {
    Q_OBJECT
public:
    explicit ImagePreviews(QWidget* parent = nullptr);

    QLabel& normal() { return *normal_; }
    QLabel& mouseOver() { return *mouseOver_; }

private:
    QLabel* normal_ = nullptr;
    QLabel* mouseOver_ = nullptr;
};

} // namespace kelmor
