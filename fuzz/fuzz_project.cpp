// Feeds arbitrary bytes to the project file reader. Reading never fails, and a
// grid that was read is written so that reading it back over itself gives the
// same rows, widths and cells. The file always holds the Button list's columns,
// so a damaged file's other column counts are compared on the columns written.

#include "project/button_columns.h"
#include "project/project_file.h"
#include "project/string_grid.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool sameGrid(const kelmor::StringGrid& a, const kelmor::StringGrid& b) {
    if (b.columnCount() != kelmor::ButtonColumn::Count || a.rowCount() != b.rowCount())
        return false;
    for (int column = 0; column < std::min<int>(a.columnCount(), kelmor::ButtonColumn::Count);
         ++column) {
        if (a.columnWidth(column) != b.columnWidth(column))
            return false;
        for (int row = 0; row < a.rowCount(); ++row)
            if (a.cell(column, row) != b.cell(column, row))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelmor::StringGrid grid = kelmor::newButtonList();
    kelmor::readProjectText(std::string_view(reinterpret_cast<const char*>(data), size), grid);
    kelmor::StringGrid again = grid;
    kelmor::readProjectText(kelmor::projectText(grid), again);
    if (!sameGrid(grid, again))
        std::abort();
    return 0;
}
