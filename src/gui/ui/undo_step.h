#pragma once

#include <QUndoCommand>
#include <QUndoStack>
#include <functional>
#include <utility>

namespace kelmor {

// One undoable step that swaps a whole state: Undo puts back the state before the step, Redo
// the state after it. The step has already been done when it is pushed, so the first Redo,
// which QUndoStack runs on push, changes nothing.
template <class State> class StateStep : public QUndoCommand {
public:
    using Apply = std::function<void(const State&)>;
    StateStep(const QString& text, State before, State after, Apply apply)
        : QUndoCommand(text), before_(std::move(before)), after_(std::move(after)),
          apply_(std::move(apply)) {}

    void undo() override { apply_(before_); }
    void redo() override {
        if (done_)
            apply_(after_);
        done_ = true;
    }

private:
    State before_;
    State after_;
    Apply apply_;
    bool done_ = false;
};

// Pushes the step when it changed anything.
template <class State>
void pushStep(QUndoStack& stack, const QString& text, State before, State after,
              typename StateStep<State>::Apply apply) {
    if (before == after)
        return;
    stack.push(new StateStep<State>(text, std::move(before), std::move(after), std::move(apply)));
}

} // namespace kelmor
