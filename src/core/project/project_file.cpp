#include "project/project_file.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "project/button_columns.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstddef>
#include <cstring>
#include <sys/stat.h>

namespace kelmor {
namespace {

constexpr int kDefaultWidth = 108;
constexpr int kHeightColumnWidth = 116;
constexpr size_t kMaxWidthText = 255;

int defaultWidth(int column) {
    return column == ButtonColumn::NormalHeight ? kHeightColumnWidth : kDefaultWidth;
}

void appendNumber(std::string& out, long long value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void appendEncoded(std::string& out, std::string_view text) {
    if (text.find('\r') == std::string_view::npos) {
        out.append(text);
        return;
    }
    for (char c : text)
        out.push_back(c == '\r' ? '\t' : c == '\n' ? '\b' : c);
}

int toInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Splits the lines of a project file: a line ends at a carriage return, and a line feed
// directly after it belongs to that line end; any other line feed is part of the line.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : rest_(bytes) {}

    bool next(std::string_view& line) {
        if (rest_.empty())
            return false;
        size_t end = rest_.find('\r');
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = {};
            return true;
        }
        line = rest_.substr(0, end);
        size_t skip = end + 1 < rest_.size() && rest_[end + 1] == '\n' ? end + 2 : end + 1;
        rest_.remove_prefix(skip);
        return true;
    }

private:
    std::string_view rest_;
};

// The field before the first comma, removed with its comma from `text`. Without a comma the
// field is empty and `text` stays whole, which makes a line without commas a cell line for
// column 0, row 0 holding the whole line.
std::string_view takeField(std::string_view& text) {
    size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return {};
    std::string_view field = text.substr(0, comma);
    text.remove_prefix(comma + 1);
    return field;
}

// The size line: columns before the first comma, rows after it (the whole rest, so that
// reading the row count stops at its first non-digit). Without a comma the whole line is the
// column count and the row count reads as 0, which becomes 1.
void applySize(std::string_view line, StringGrid& grid) {
    size_t comma = line.find(',');
    std::string_view columnText = line.substr(0, comma);
    std::string_view rowText =
        comma == std::string_view::npos ? std::string_view{} : line.substr(comma + 1);
    const int columns = static_cast<int>(
        std::clamp<long long>(parseProjectNumber(columnText), 1, kMaxProjectColumns));
    // The row cap counts at least the columns every file is written with, so a
    // grid read from a damaged file with fewer columns still reads back whole once saved.
    const int rows = static_cast<int>(
        std::clamp<long long>(parseProjectNumber(rowText), 1,
                              kMaxProjectCells / std::max<int>(columns, ButtonColumn::Count)));
    // Shrink before growing, so the grid never holds more than the larger of the two shapes.
    if (rows < grid.rowCount()) {
        grid.setRowCount(rows);
        grid.setColumnCount(columns);
    } else {
        grid.setColumnCount(columns);
        grid.setRowCount(rows);
    }
}

// A width line: the column from the fourth character up to the first comma (or the line's end
// when there is none), the width from at most 255 characters after the comma.
void applyWidth(std::string_view line, StringGrid& grid) {
    size_t comma = line.find(',');
    std::string_view columnText;
    if (line.size() > 3)
        columnText = comma == std::string_view::npos ? line.substr(3)
                     : comma > 3                     ? line.substr(3, comma - 3)
                                                     : std::string_view{};
    std::string_view widthText = comma == std::string_view::npos
                                     ? std::string_view{}
                                     : line.substr(comma + 1, kMaxWidthText);
    const long long column = parseProjectNumber(columnText);
    if (column >= 0 && column < grid.columnCount())
        grid.setColumnWidth(static_cast<int>(column), toInt(parseProjectNumber(widthText)));
}

// The common case of a field: up to nine decimal digits and a comma. Anything else is left to
// the general rules of takeField and parseProjectNumber.
bool takePlainNumber(std::string_view& text, int& value) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* const last = begin + std::min<size_t>(text.size(), 9);
    const char* p = begin;
    int number = 0;
    for (; p != last; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
        if (digit > 9)
            break;
        number = number * 10 + static_cast<int>(digit);
    }
    if (p == begin || p == end || *p != ',')
        return false;
    value = number;
    text = std::string_view(p + 1, static_cast<size_t>(end - (p + 1)));
    return true;
}

// `mayHaveBackspace` is false when the line surely holds no backspace, which spares looking.
void applyCell(std::string_view line, bool mayHaveBackspace, StringGrid& grid) {
    int column = 0;
    int row = 0;
    std::string_view text = line;
    if (!takePlainNumber(text, column) || !takePlainNumber(text, row)) {
        text = line;
        column = toInt(parseProjectNumber(takeField(text)));
        row = toInt(parseProjectNumber(takeField(text)));
    }
    if (!grid.contains(column, row))
        return;
    if (!mayHaveBackspace || text.find('\b') == std::string_view::npos) {
        grid.assignCell(column, row, text);
        return;
    }
    std::string decoded = decodeCell(text);
    decoded.resize(std::min(decoded.size(), decoded.find('\r')));
    grid.setCell(column, row, std::move(decoded));
}

// Where the next backspace of the file is, found once for many lines: a cell holding one must be
// decoded, and most files hold none.
class BackspaceFinder {
public:
    explicit BackspaceFinder(std::string_view bytes)
        : end_(bytes.data() + bytes.size()), next_(bytes.data()) {}

    bool within(std::string_view line) {
        if (next_ < line.data()) {
            const void* found =
                std::memchr(line.data(), '\b', static_cast<size_t>(end_ - line.data()));
            next_ = found ? static_cast<const char*>(found) : end_;
        }
        return next_ < line.data() + line.size();
    }

private:
    const char* end_;
    const char* next_;
};

// Empties the data rows that the grid had before reading; rows added by the size line are
// empty already.
void clearDataRows(StringGrid& grid, int previousRows) {
    const int rows = std::min(previousRows, grid.rowCount());
    for (int row = 1; row < rows; ++row)
        grid.clearRow(row, 0, grid.columnCount() - 1);
}

} // namespace

StringGrid newButtonList() {
    StringGrid grid(ButtonColumn::Count, 2);
    for (int column = 0; column < ButtonColumn::Count; ++column) {
        grid.setCell(column, 0, kButtonColumnHeaders[static_cast<size_t>(column)]);
        grid.setColumnWidth(column, defaultWidth(column));
    }
    return grid;
}

std::string projectText(const StringGrid& grid, const ProgressHook& progress) {
    const int rows = grid.rowCount();
    size_t size = 32 + 16 * ButtonColumn::Count;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < ButtonColumn::Count; ++column)
            if (const auto& text = grid.cell(column, row); !text.empty())
                size += text.size() + 16;

    std::string out;
    out.reserve(size);
    appendNumber(out, ButtonColumn::Count);
    out.push_back(',');
    appendNumber(out, rows);
    out.append("\r\n");
    for (int column = 0; column < ButtonColumn::Count; ++column) {
        out.append("cw ");
        appendNumber(out, column);
        out.push_back(',');
        appendNumber(out,
                     column < grid.columnCount() ? grid.columnWidth(column) : defaultWidth(column));
        out.append("\r\n");
    }
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < ButtonColumn::Count; ++column) {
            const std::string& text = grid.cell(column, row);
            if (text.empty())
                continue;
            appendNumber(out, column);
            out.push_back(',');
            appendNumber(out, row);
            out.push_back(',');
            appendEncoded(out, text);
            out.append("\r\n");
        }
        if (progress)
            progress();
    }
    return out;
}

void readProjectText(std::string_view bytes, StringGrid& grid, const ProgressHook& progress) {
    LineReader lines(bytes);
    std::string_view line;
    const int previousRows = grid.rowCount();
    if (lines.next(line) && !line.empty())
        applySize(line, grid);
    clearDataRows(grid, previousRows);
    BackspaceFinder backspaces(bytes);
    while (lines.next(line)) {
        if (line.substr(0, 2) == "cw")
            applyWidth(line, grid);
        else
            applyCell(line, backspaces.within(line), grid);
        if (progress)
            progress();
    }
}

void writeProjectFile(const std::string& path, const StringGrid& grid,
                      const ProgressHook& progress) {
    checkPathName(path, msg::kCannotCreateFile);
    writeFileReplacing(path, projectText(grid, progress));
}

void readProjectFile(const std::string& path, StringGrid& grid, const ProgressHook& progress) {
    std::string bytes;
    try {
        bytes = readWholeFile(path, kMaxProjectFileBytes);
    } catch (const FileTooLarge&) {
        throw;
    } catch (const Error&) {
        // "not found" only for a file that is not there; one that is there and cannot be read
        // (no permission, a folder) says so.
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
            throw Error(msg::fileNotFound(path));
        throw;
    }
    readProjectText(bytes, grid, progress);
}

long long parseProjectNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    // The magnitude saturates at the range of long long instead of wrapping around.
    const unsigned long long limit =
        negative ? static_cast<unsigned long long>(LLONG_MAX) + 1 : LLONG_MAX;
    const unsigned long long cutoff = base == 16 ? limit / 16 : limit / 10;
    const unsigned cutDigit = static_cast<unsigned>(base == 16 ? limit % 16 : limit % 10);
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        if (value > cutoff || (value == cutoff && digit > cutDigit))
            value = limit;
        else
            value = value * base + digit;
    }
    if (!negative)
        return static_cast<long long>(value);
    return value == limit ? LLONG_MIN : -static_cast<long long>(value);
}

std::string encodeCell(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEncoded(out, text);
    return out;
}

std::string decodeCell(std::string_view text) {
    std::string out(text);
    if (text.find('\b') == std::string_view::npos)
        return out;
    for (char& c : out) {
        if (c == '\t')
            c = '\r';
        else if (c == '\b')
            c = '\n';
    }
    return out;
}

} // namespace kelmor
