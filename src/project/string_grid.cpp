#include "project/string_grid.h"

#include <algorithm>
#include <cstddef>

namespace kelmor {
namespace {
constexpr int kDefaultColumnWidth = 64;
const std::string kEmpty;
} // namespace

StringGrid::StringGrid(int columns, int rows) {
    reshape(std::max(columns, 0), std::max(rows, 0));
}

void StringGrid::setColumnCount(int columns) {
    reshape(std::max(columns, 1), rows_);
}

void StringGrid::setRowCount(int rows) {
    reshape(columns_, std::max(rows, 1));
}

void StringGrid::reshape(int columns, int rows) {
    if (columns == columns_) {
        cells_.resize(static_cast<size_t>(columns) * rows);
    } else {
        std::vector<std::string> cells(static_cast<size_t>(columns) * rows);
        int keepColumns = std::min(columns, columns_);
        int keepRows = std::min(rows, rows_);
        for (int r = 0; r < keepRows; ++r)
            for (int c = 0; c < keepColumns; ++c)
                cells[static_cast<size_t>(r) * columns + c] =
                    std::move(cells_[static_cast<size_t>(r) * columns_ + c]);
        cells_ = std::move(cells);
    }
    widths_.resize(static_cast<size_t>(columns), kDefaultColumnWidth);
    columns_ = columns;
    rows_ = rows;
}

bool StringGrid::contains(int column, int row) const {
    return column >= 0 && column < columns_ && row >= 0 && row < rows_;
}

const std::string& StringGrid::cell(int column, int row) const {
    return contains(column, row) ? cells_[static_cast<size_t>(row) * columns_ + column] : kEmpty;
}

void StringGrid::setCell(int column, int row, std::string text) {
    if (contains(column, row))
        cells_[static_cast<size_t>(row) * columns_ + column] = std::move(text);
}

int StringGrid::columnWidth(int column) const {
    return column >= 0 && column < columns_ ? widths_[static_cast<size_t>(column)] : 0;
}

void StringGrid::setColumnWidth(int column, int width) {
    if (column >= 0 && column < columns_)
        widths_[static_cast<size_t>(column)] = width;
}

void StringGrid::insertRow(int row) {
    row = std::clamp(row, 0, rows_);
    cells_.insert(cells_.begin() + static_cast<std::ptrdiff_t>(row) * columns_,
                  static_cast<size_t>(columns_), std::string());
    ++rows_;
}

void StringGrid::removeRow(int row) {
    if (row < 0 || row >= rows_)
        return;
    auto first = cells_.begin() + static_cast<std::ptrdiff_t>(row) * columns_;
    cells_.erase(first, first + columns_);
    --rows_;
}

void StringGrid::clearRow(int row, int firstColumn, int lastColumn) {
    for (int c = std::max(firstColumn, 0); c <= std::min(lastColumn, columns_ - 1); ++c)
        setCell(c, row, {});
}

} // namespace kelmor
