#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// Memory for a grid's cells. A large block is backed by transparent huge pages where the system
// offers them: a project of many rows otherwise pays one page fault for every 4 KiB of cells the
// first time they are written, which costs more than reading the whole file.
void* allocateCellBlock(std::size_t bytes);
void freeCellBlock(void* block, std::size_t bytes) noexcept;

template <class T> struct CellAllocator {
    using value_type = T;
    CellAllocator() = default;
    template <class U> CellAllocator(const CellAllocator<U>&) noexcept {}
    T* allocate(std::size_t count) { return static_cast<T*>(allocateCellBlock(count * sizeof(T))); }
    void deallocate(T* block, std::size_t count) noexcept {
        freeCellBlock(block, count * sizeof(T));
    }
    template <class U> bool operator==(const CellAllocator<U>&) const noexcept { return true; }
};

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
    // Copies `text` into the cell, reusing the cell's own storage.
    void assignCell(int column, int row, std::string_view text);
    bool contains(int column, int row) const {
        return column >= 0 && column < columns_ && row >= 0 && row < rows_;
    }

    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // Inserts an empty row before `row`, moving it and the rows below down by one.
    void insertRow(int row);
    void removeRow(int row);
    void clearRow(int row, int firstColumn, int lastColumn);

    // Same counts, cells and widths.
    bool operator==(const StringGrid&) const = default;

private:
    using Cells = std::vector<std::string, CellAllocator<std::string>>;

    void reshape(int columns, int rows);

    int columns_ = 0;
    int rows_ = 0;
    Cells cells_; // row-major
    std::vector<int> widths_;
};

} // namespace kelmor
