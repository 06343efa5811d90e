#include "ui/history.h"

#include <QComboBox>

namespace kelmor {

void historyAdd(QComboBox& box) {
    const QString text = box.currentText();
    for (int i = 0; i < box.count(); ++i)
        if (box.itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return;
    box.addItem(text);
    box.setEditText(text);
}

} // namespace kelmor
