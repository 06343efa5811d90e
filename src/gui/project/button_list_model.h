#pragma once

#include "project/string_grid.h"

#include <QAbstractTableModel>
#include <functional>

namespace kelmor {

// The Button list grid as a table model. Row 0 is the grid's header row: an ordinary data row
// of the grid, shown first and drawn like a fixed row; it can be neither selected nor made
// current, nor edited. Every change goes through the methods below, which
// tell the view about it. A cell edited in place goes to onEdit, which makes it an undoable step.
class ButtonListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ButtonListModel(StringGrid grid, QObject* parent = nullptr);

    const StringGrid& grid() const { return grid_; }
    // Where a cell edited in place goes; without it, editing changes nothing.
    std::function<void(int column, int row, const QString& text)> onEdit;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    void setCell(int column, int row, const QString& text);
    void clearCells(int row, int firstColumn, int lastColumn);
    void insertEmptyRow(int row);
    void removeGridRow(int row);
    // Records a column width in the grid without changing the view.
    void setColumnWidth(int column, int width);
    // Replaces the whole grid, as after reading a project file.
    void replaceGrid(StringGrid grid);

private:
    StringGrid grid_;
};

} // namespace kelmor
