#pragma once

#include <QWidget>
#include <functional>

namespace kelmor {

// A page whose controls are built when it is first shown or first needed, so that
// a page the user has not opened costs nothing at start. The built controls take
// the page's place in the keyboard order, as if they had been built with it.
class BuiltOnShow : public QWidget {
    Q_OBJECT
public:
    using Build = std::function<void(QWidget& page)>;
    BuiltOnShow(Build build, QWidget* parent);

    // Builds the controls; does nothing once built.
    void ensureBuilt();
    void setVisible(bool visible) override;

private:
    Build build_;
};

} // namespace kelmor
