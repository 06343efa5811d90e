#include "project/button_list_model.h"

#include "ui/qt_text.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <algorithm>

namespace kelmor {

ButtonListModel::ButtonListModel(StringGrid grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(std::move(grid)) {}

int ButtonListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.rowCount();
}

int ButtonListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.columnCount();
}

QVariant ButtonListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const bool header = index.row() == 0;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return toQt(grid_.cell(index.column(), index.row()));
    case Qt::BackgroundRole:
        if (header)
            return QApplication::palette().brush(QPalette::Button);
        break;
    case Qt::ForegroundRole:
        if (header)
            return QApplication::palette().brush(QPalette::ButtonText);
        break;
    default:
        break;
    }
    return {};
}

// The header row's captions name the columns for assistive tools, whose cells
// are announced with their column's caption.
QVariant ButtonListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && grid_.rowCount() > 0 &&
        section >= 0 && section < grid_.columnCount())
        return toQt(grid_.cell(section, 0));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ButtonListModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.row() == 0)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ButtonListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() == 0 || role != Qt::EditRole || !onEdit)
        return false;
    onEdit(index.column(), index.row(), value.toString());
    return true;
}

void ButtonListModel::setCell(int column, int row, const QString& text) {
    if (!grid_.contains(column, row))
        return;
    grid_.setCell(column, row, toLocal(text));
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void ButtonListModel::clearCells(int row, int firstColumn, int lastColumn) {
    if (row < 0 || row >= grid_.rowCount())
        return;
    grid_.clearRow(row, firstColumn, lastColumn);
    emit dataChanged(index(row, 0), index(row, grid_.columnCount() - 1), {Qt::DisplayRole});
}

void ButtonListModel::insertEmptyRow(int row) {
    row = std::clamp(row, 0, grid_.rowCount());
    beginInsertRows({}, row, row);
    grid_.insertRow(row);
    endInsertRows();
}

void ButtonListModel::removeGridRow(int row) {
    if (row < 0 || row >= grid_.rowCount())
        return;
    beginRemoveRows({}, row, row);
    grid_.removeRow(row);
    endRemoveRows();
}

void ButtonListModel::setColumnWidth(int column, int width) {
    grid_.setColumnWidth(column, width);
}

void ButtonListModel::replaceGrid(StringGrid grid) {
    beginResetModel();
    grid_ = std::move(grid);
    endResetModel();
}

} // namespace kelmor
