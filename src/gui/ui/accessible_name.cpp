#include "ui/accessible_name.h"

#include <QComboBox>
#include <QLineEdit>

namespace kelmor {

void setAccessibleNameOf(QWidget& control, const QString& name) {
    control.setAccessibleName(name);
    if (auto* box = qobject_cast<QComboBox*>(&control); box != nullptr && box->lineEdit())
        box->lineEdit()->setAccessibleName(name);
}

} // namespace kelmor
