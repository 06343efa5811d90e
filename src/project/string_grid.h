#pragma once

#include <string>
#include <vector>

namespace kelmor {

// A grid of text cells with per-column widths: the Button list as data.
// Cells outside the grid read as empty text and ignore writes.
class StringGrid {
public:
    StringGrid(int columns = 0, int rows = 0);

    int columnCount() const { return columns_; }
    int rowCount() const { return rows_; }
    // Counts below 1 are taken as 1; cells that stay inside keep their text.
    void setColumnCount(int columns);
    void setRowCount(int rows);

    const std::string& cell(int column, int row) const;
    void setCell(int column, int row, std::string text);
    bool contains(int column, int row) const;

    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // Inserts an empty row before `row`, moving it and the rows below down by one.
    void insertRow(int row);
    void removeRow(int row);
    void clearRow(int row, int firstColumn, int lastColumn);

private:
    void reshape(int columns, int rows);

    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::string> cells_; // row-major
    std::vector<int> widths_;
};

} // namespace kelmor
