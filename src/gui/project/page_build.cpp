#include "project/page_build.h"

#include "base/error.h"
#include "base/messages.h"
#include "generator/html_text.h"
#include "generator/page_target.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QStringList>

namespace kelmor {

PageBuild::PageBuild(Dialogs& dialogs, Shell& shell, BuiltPageView& output, QAction& viewInBrowser,
                     SourceReader source)
    : dialogs_(dialogs), shell_(shell), output_(output), viewInBrowser_(viewInBrowser),
      source_(std::move(source)) {}

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
    // The page is checked and written under one name, converted once from the field.
    const std::string page = toLocal(source.targetPage);
    if (!targetAllowed(source, page))
        return;

    const PageSettings settings{toLocal(source.title), toLocal(source.bgColor),
                                toLocal(source.bgImage), toLocal(source.separator)};
    QStringList lines;
    for (const std::string& line :
         pageLines(kind, pageButtons(source.grid, *count), settings, source.format))
        lines << toQt(line);
    const QString note = dropsBgColor(settings, source.format)
                             ? QString::fromLatin1(msg::kBgColorNotCssColour)
                             : QString();
    output_.showBuiltPage(lines, toQt(page), note);
}

bool PageBuild::targetAllowed(const PageSource& source, const std::string& page) const {
    PageFiles files{page,
                    toLocal(source.projectFolder),
                    pageInputNames(source.grid),
                    {toLocal(source.imagesFolder)}};
    if (!isBlank(toLocal(source.bgImage)))
        files.inputs.push_back(toLocal(source.bgImage));
    if (checkTargetPage(files) == PagePlace::InsideProject)
        return true;
    return dialogs_.confirm(toQt(format(msg::kBuildWritesOutside, absolutePagePath(files.page))));
}

void PageBuild::ToolButton22Click() {
    const QString target = output_.currentFile();
    if (!target.isEmpty())
        shell_.open(target);
}

} // namespace kelmor
