#include "generator/page_build.h"

#include "base/error.h"
#include "base/messages.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QStringList>

namespace kelmor {

PageBuild::PageBuild(Shell& shell, BuiltPageView& output, QAction& viewInBrowser,
                     SourceReader source)
    : shell_(shell), output_(output), viewInBrowser_(viewInBrowser), source_(std::move(source)) {}

void PageBuild::SpeedButton12Click() {
    build(PageKind::Plain);
}

void PageBuild::SpeedButton13Click() {
    build(PageKind::Sound);
}

void PageBuild::build(PageKind kind) {
    viewInBrowser_.setEnabled(true);
    const PageSource source = source_(kind);
    const std::string countText = toLocal(source.countText);
    const std::optional<int> count = pageButtonCount(countText);
    // Without a page there is nothing to save: the target page keeps its old contents.
    if (!count)
        throw Error(format(msg::kButtonCountOutOfRange, countText));

    const PageSettings settings{toLocal(source.title), toLocal(source.bgColor),
                                toLocal(source.bgImage), toLocal(source.separator)};
    QStringList lines;
    for (const std::string& line :
         pageLines(kind, pageButtons(source.grid, *count), settings, source.format))
        lines << toQt(line);
    output_.showBuiltPage(lines, source.targetPage);
}

void PageBuild::ToolButton22Click() {
    const QString target = output_.currentFile();
    if (!target.isEmpty())
        shell_.open(target);
}

} // namespace kelmor
