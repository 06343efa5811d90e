#include "project/button_rows.h"

#include "project/button_columns.h"

namespace kelmor {

int rowAfterLastFilled(const StringGrid& grid) {
    const auto empty = [&](int row) {
        for (int column = 0; column < grid.columnCount(); ++column)
            if (!grid.cell(column, row).empty())
                return false;
        return true;
    };
    int row = grid.rowCount() - 1;
    while (row >= 1 && empty(row))
        --row;
    return row + 1;
}

std::array<ButtonCell, 6> pictureCells(const std::string& normal, const std::string& mouseOver,
                                       int width, int height) {
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    return {{{ButtonColumn::Normal, normal},
             {ButtonColumn::NormalWidth, w},
             {ButtonColumn::NormalHeight, h},
             {ButtonColumn::MouseOver, mouseOver},
             {ButtonColumn::MouseOverWidth, w},
             {ButtonColumn::MouseOverHeight, h}}};
}

} // namespace kelmor
