#pragma once

class QLabel;
class QString;
class QWidget;

namespace kelmor {

// Names a control for screen readers. An editable drop-down box's text field gets the name
// too: the accessibility bus on Linux shows that field as a control of its own.
void setAccessibleNameOf(QWidget& control, const QString& name);

// The caption label before a field, on `page`: Alt with its mnemonic moves the focus to the
// field, and the field takes the caption, without its "&" and colon, as its accessible name.
QLabel* fieldCaption(QWidget* page, const QString& text, QWidget* field);

} // namespace kelmor
