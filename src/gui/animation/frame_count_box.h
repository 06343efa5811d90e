#pragma once

#include <QWidget>

class QLineEdit;

namespace kelmor {

// The frame count box "Edit27" with its up-down control "UpDown1": the arrows
// (and the Up and Down keys in the box) step the number from 0 to 20 without
// wrapping, starting at 1. The box's text stays free to type; the assembly
// reads it as it stands.
class FrameCountBox : public QWidget {
    Q_OBJECT
public:
    explicit FrameCountBox(QWidget* parent);

    QLineEdit& edit() { return *edit_; }
    QString text() const;
    // One step up (+1) or down (-1) from the number the box shows, or from the
    // last stepped position when the text is not a number of the range.
    void step(int direction);

private:
    QLineEdit* edit_ = nullptr;
    int position_ = 1;
};

} // namespace kelmor
