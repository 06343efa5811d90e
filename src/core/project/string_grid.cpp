#include "project/string_grid.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace kelmor {
namespace {
constexpr int kDefaultColumnWidth = 64;
const std::string kEmpty;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Blocks from this size on are aligned to huge pages; smaller ones come from operator new.
constexpr std::size_t kLargeBlock = 2 * kHugePage;

std::size_t roundToHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}
} // namespace

void* allocateCellBlock(std::size_t bytes) {
    if (bytes < kLargeBlock)
        return ::operator new(bytes);
    const std::size_t size = roundToHugePages(bytes);
    void* block = std::aligned_alloc(kHugePage, size);
    if (!block)
        throw std::bad_alloc();
    // Only a hint: without huge pages the block works as any other.
    ::madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void freeCellBlock(void* block, std::size_t bytes) noexcept {
    if (bytes < kLargeBlock)
        ::operator delete(block);
    else
        std::free(block);
}

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
        Cells cells(static_cast<size_t>(columns) * rows);
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

const std::string& StringGrid::cell(int column, int row) const {
    return contains(column, row) ? cells_[static_cast<size_t>(row) * columns_ + column] : kEmpty;
}

void StringGrid::setCell(int column, int row, std::string text) {
    if (contains(column, row))
        cells_[static_cast<size_t>(row) * columns_ + column] = std::move(text);
}

void StringGrid::assignCell(int column, int row, std::string_view text) {
    if (contains(column, row))
        cells_[static_cast<size_t>(row) * columns_ + column].assign(text);
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
