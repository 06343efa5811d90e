#include "ui/accessible_name.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace kelmor {

void setAccessibleNameOf(QWidget& control, const QString& name) {
    control.setAccessibleName(name);
    if (auto* box = qobject_cast<QComboBox*>(&control); box != nullptr && box->lineEdit())
        box->lineEdit()->setAccessibleName(name);
}

QLabel* fieldCaption(QWidget* page, const QString& text, QWidget* field) {
    auto* label = new QLabel(text, page);
    label->setBuddy(field);
    QString name = text;
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    setAccessibleNameOf(*field, name);
    return label;
}

} // namespace kelmor
