#pragma once

class QComboBox;

namespace kelmor {

// Appends the box's text to its own list unless an entry equal to it, ignoring
// letter case, is already there. The lists live for the run only.
void historyAdd(QComboBox& box);

} // namespace kelmor
