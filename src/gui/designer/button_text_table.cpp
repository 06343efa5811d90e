#include "designer/button_text_table.h"

#include "base/error.h"
#include "base/messages.h"
#include "designer/button_style.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>
#include <set>
#include <utility>

namespace kelmor {
namespace {

constexpr int kTextColumn = 0;
constexpr int kLinkColumn = 1;
// Set on a link cell whose link the user typed.
constexpr int kTypedRole = Qt::UserRole;

// The link a text gives, or nothing while the text gives no file name.
QString givenLink(const QString& text) {
    try {
        return QString::fromStdString(defaultButtonLink(text.trimmed().toStdString()));
    } catch (const Error&) {
        return {};
    }
}

// A link cell as the user typed it, or as the text gives it: in the placeholder colour, with a
// hint, for a reader who cannot see the colour.
void markLink(QTableWidgetItem& link, bool typed, const QPalette& palette) {
    link.setData(kTypedRole, typed);
    if (typed) {
        link.setData(Qt::ForegroundRole, {});
        link.setToolTip({});
    } else {
        link.setForeground(palette.color(QPalette::PlaceholderText));
        link.setToolTip(QStringLiteral("Made from the text until a link is typed"));
    }
}

} // namespace

ButtonTextTable::ButtonTextTable(QWidget* parent) : QTableWidget(0, 2, parent) {
    setHorizontalHeaderLabels({QStringLiteral("Text"), QStringLiteral("Link")});
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    appendEmptyRow();
    setCurrentCell(0, kTextColumn);
    connect(this, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { cellEdited(item); });
}

std::vector<std::string> ButtonTextTable::texts() const {
    std::vector<std::string> texts;
    for (int row = 0; row < rowCount(); ++row)
        if (const QString text = item(row, kTextColumn)->text().trimmed(); !text.isEmpty())
            texts.push_back(text.toStdString());
    return texts;
}

std::vector<ButtonTextRow> ButtonTextTable::rows() const {
    std::vector<ButtonTextRow> rows;
    for (int row = 0; row < rowCount(); ++row) {
        const QString text = item(row, kTextColumn)->text().trimmed();
        if (text.isEmpty() && linkTyped(row))
            throw Error(msg::kEmptyButtonText);
        if (text.isEmpty())
            continue;
        rows.push_back({text.toStdString(),
                        linkTyped(row)
                            ? item(row, kLinkColumn)->text().trimmed()
                            : QString::fromStdString(defaultButtonLink(text.toStdString()))});
    }
    return rows;
}

void ButtonTextTable::removeSelectedRows() {
    std::set<int> chosen;
    for (const QModelIndex& index : selectedIndexes())
        chosen.insert(index.row());
    if (chosen.empty())
        return;
    for (auto row = chosen.rbegin(); row != chosen.rend(); ++row)
        removeRow(*row);
    if (rowCount() == 0 || !rowIsEmpty(rowCount() - 1))
        appendEmptyRow();
    setCurrentCell(std::min(*chosen.begin(), rowCount() - 1), kTextColumn);
    emit textsChanged();
}

// Enter ends the edit and goes down a row, as in a spreadsheet, rather than pressing the
// dialog's default button before the edit is taken.
void ButtonTextTable::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Delete && state() != EditingState) {
        removeSelectedRows();
        return;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    if (state() == EditingState) {
        QWidget* editor = QApplication::focusWidget();
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    setCurrentCell(std::min(currentRow() + 1, rowCount() - 1), currentColumn());
    event->accept();
}

bool ButtonTextTable::focusNextPrevChild(bool next) {
    const bool atEnd = next ? currentRow() == rowCount() - 1 && currentColumn() == kLinkColumn
                            : currentRow() <= 0 && currentColumn() <= kTextColumn;
    if (atEnd)
        return QWidget::focusNextPrevChild(next);
    return QTableWidget::focusNextPrevChild(next);
}

void ButtonTextTable::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool last = currentRow() == rowCount() - 1 && currentColumn() == kLinkColumn;
    const bool first = currentRow() == 0 && currentColumn() == kTextColumn;
    if ((hint == QAbstractItemDelegate::EditNextItem && last) ||
        (hint == QAbstractItemDelegate::EditPreviousItem && first)) {
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
        QWidget::focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
        return;
    }
    QTableWidget::closeEditor(editor, hint);
}

void ButtonTextTable::appendEmptyRow() {
    const bool was = std::exchange(updating_, true);
    const int row = rowCount();
    insertRow(row);
    setItem(row, kTextColumn, new QTableWidgetItem);
    auto* link = new QTableWidgetItem;
    markLink(*link, false, palette());
    setItem(row, kLinkColumn, link);
    updating_ = was;
}

void ButtonTextTable::cellEdited(QTableWidgetItem* edited) {
    if (updating_)
        return;
    const int row = edited->row();
    updating_ = true;
    if (edited->column() == kLinkColumn)
        markLink(*edited, !edited->text().trimmed().isEmpty(), palette());
    showGivenLink(row);
    updating_ = false;
    if (row == rowCount() - 1 && !rowIsEmpty(row))
        appendEmptyRow();
    if (edited->column() == kTextColumn)
        emit textsChanged();
}

bool ButtonTextTable::linkTyped(int row) const {
    return item(row, kLinkColumn)->data(kTypedRole).toBool();
}

void ButtonTextTable::showGivenLink(int row) {
    if (!linkTyped(row))
        item(row, kLinkColumn)->setText(givenLink(item(row, kTextColumn)->text()));
}

bool ButtonTextTable::rowIsEmpty(int row) const {
    return item(row, kTextColumn)->text().trimmed().isEmpty() && !linkTyped(row);
}

} // namespace kelmor
