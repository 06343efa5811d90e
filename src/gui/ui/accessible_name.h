#pragma once

class QString;
class QWidget;

namespace kelmor {

// Names a control for screen readers. An editable drop-down box's text field gets the name
// too: the accessibility bus on Linux shows that field as a control of its own.
void setAccessibleNameOf(QWidget& control, const QString& name);

} // namespace kelmor
