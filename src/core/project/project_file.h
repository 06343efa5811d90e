#pragma once

#include "project/string_grid.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kelmor {

// Called after each row written / each line read, so a window can show progress; may be empty.
using ProgressHook = std::function<void()>;

// The largest grid a project file's size line can ask for: the column count is capped, and the
// row count is capped so that the grid, counted with at least the Button list's columns a file
// is written with, holds at most this many cells. A damaged or hostile size
// line cannot make reading allocate gigabytes; real projects stay far below both limits.
inline constexpr long long kMaxProjectColumns = 1024;
inline constexpr long long kMaxProjectCells = 1 << 21;
// The largest project file read; a larger one is refused with Error("File PATH is too large").
inline constexpr std::size_t kMaxProjectFileBytes = std::size_t{256} << 20;

// A new Button list: every Button list column, 2 rows, the header texts in row 0, widths 108
// ("Height" of the normal button: 116).
StringGrid newButtonList();

// The .kxq bytes of a Button list.
std::string projectText(const StringGrid& grid, const ProgressHook& progress = {});

// Fills `grid` from the bytes of a .kxq file.
void readProjectText(std::string_view bytes, StringGrid& grid, const ProgressHook& progress = {});

// Writes the .kxq file through a temporary file and a rename; Error "Cannot create file PATH".
void writeProjectFile(const std::string& path, const StringGrid& grid,
                      const ProgressHook& progress = {});

// Reads a .kxq file into `grid`; Error "File PATH not found" when there is no such file, "Cannot
// open file PATH" when it cannot be read, "File PATH is too large" past kMaxProjectFileBytes,
// and the grid is left untouched then.
void readProjectFile(const std::string& path, StringGrid& grid, const ProgressHook& progress = {});

// A number in a project file: leading blanks skipped, a sign allowed, "$" or "0x" for hexadecimal,
// reading stops at the first non-digit keeping the digits before it, no digits gives 0.
long long parseProjectNumber(std::string_view text);

// A cell's text as stored in a file line (tabs and backspaces encoded), and back.
std::string encodeCell(std::string_view text);
std::string decodeCell(std::string_view text);

} // namespace kelmor
