#include "ui/built_on_show.h"

#include <utility>

namespace kelmor {

BuiltOnShow::BuiltOnShow(Build build, QWidget* parent)
    : QWidget(parent), build_(std::move(build)) {}

void BuiltOnShow::ensureBuilt() {
    if (!build_)
        return;
    std::exchange(build_, nullptr)(*this);
    // New controls join the end of the window's keyboard order; move them to where the
    // page stands in it, in the order they were built, after the last control before it.
    QWidget* previous = previousInFocusChain();
    while (previous != this && previous->focusPolicy() == Qt::NoFocus)
        previous = previous->previousInFocusChain();
    if (previous == this)
        return;
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->focusPolicy() != Qt::NoFocus) {
            setTabOrder(previous, control);
            previous = control;
        }
}

// Built before the page turns visible, so that its new controls show with it.
void BuiltOnShow::setVisible(bool visible) {
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

} // namespace kelmor
