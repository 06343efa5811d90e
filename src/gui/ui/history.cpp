#include "ui/history.h"

#include "ui/accessible_name.h"

#include <QAction>

namespace kelmor {

void historyAdd(QComboBox& box) {
    const QString text = box.currentText();
    for (int i = 0; i < box.count(); ++i)
        if (box.itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return;
    box.addItem(text);
    box.setEditText(text);
}

HistoryBox::HistoryBox(const char* objectName, const QString& accessibleName,
                       const char* actionName, QWidget* parent)
    : QComboBox(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setEditable(true);
    setAccessibleNameOf(*this, accessibleName);
    setInsertPolicy(QComboBox::NoInsert);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    historyAdd_ = new QAction(QStringLiteral("History Add"), this);
    historyAdd_->setObjectName(QString::fromLatin1(actionName));
    connect(historyAdd_, &QAction::triggered, this, [this] { historyAdd(*this); });
}

void HistoryBox::showPath(const QString& path) {
    setEditText(path);
    historyAdd_->trigger();
    if (const int entry = findText(path, Qt::MatchExactly | Qt::MatchCaseSensitive); entry >= 0)
        setCurrentIndex(entry);
}

} // namespace kelmor
