#include "generator/page_writer.h"

#include "base/error.h"
#include "base/messages.h"
#include "project/button_columns.h"

#include <filesystem>

namespace kelmor {
namespace {

constexpr int kMaxButtons = 10;

PageSink writtenPage(PageSink::Taken taken, PageKind kind, const std::vector<PageButton>& buttons,
                     const PageSettings& settings) {
    checkPageButtonCount(static_cast<long long>(buttons.size()));
    PageSink sink(taken);
    kind.writer().write(sink, buttons, settings);
    return sink;
}

} // namespace

void checkPageButtonCount(long long count) {
    if (count < 1 || count > kMaxButtons)
        throw Error(format(msg::kButtonCountOutOfRange, std::to_string(count)));
}

std::vector<std::string> pageLines(PageKind kind, const std::vector<PageButton>& buttons,
                                   const PageSettings& settings) {
    return writtenPage(PageSink::Taken::AsLines, kind, buttons, settings).lines();
}

std::string pageText(PageKind kind, const std::vector<PageButton>& buttons,
                     const PageSettings& settings) {
    return writtenPage(PageSink::Taken::AsText, kind, buttons, settings).takeText();
}

bool dropsBgColor(PageKind kind, const PageSettings& settings) {
    return kind.writer().dropsBgColor(settings);
}

std::string pictureLookupPage(PageKind kind, const PageSettings& settings,
                              const std::string& page) {
    if (!kind.writer().writesPathsFromItsFolder())
        return page;
    return (std::filesystem::path(settings.folder) / "index.html").string();
}

std::optional<int> pageButtonCount(std::string_view labelText) {
    for (int n = 1; n <= kMaxButtons; ++n) {
        if (labelText == Decimal(n))
            return n;
    }
    return std::nullopt;
}

std::vector<PageButton> pageButtons(const StringGrid& grid, int count) {
    std::vector<PageButton> buttons;
    for (int row = 1; row <= count; ++row)
        buttons.push_back(
            {grid.cell(ButtonColumn::Normal, row), grid.cell(ButtonColumn::MouseOver, row),
             grid.cell(ButtonColumn::Link, row), grid.cell(ButtonColumn::Frame, row),
             grid.cell(ButtonColumn::Sound, row), grid.cell(ButtonColumn::NormalWidth, row),
             grid.cell(ButtonColumn::NormalHeight, row)});
    return buttons;
}

} // namespace kelmor
