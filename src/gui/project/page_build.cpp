#include "project/page_build.h"

#include "base/error.h"
#include "base/messages.h"
#include "generator/html_text.h"
#include "generator/page_references.h"
#include "generator/page_target.h"
#include "ui/qt_text.h"
#include "ui/shell_target.h"

#include <QAction>
#include <QStringList>

namespace kelmor {

PageBuild::PageBuild(Dialogs& dialogs, Shell& shell, BuiltPageView& output, QAction& viewInBrowser,
                     SourceReader source)
    : dialogs_(dialogs), shell_(shell), output_(output), viewInBrowser_(viewInBrowser),
      source_(std::move(source)) {}

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

    const PageSettings settings{.title = toLocal(source.title),
                                .bgColor = toLocal(source.bgColor),
                                .bgImage = toLocal(source.bgImage),
                                .separator = toLocal(source.separator),
                                .folder = toLocal(source.projectFolder),
                                .page = page};
    const std::vector<PageButton> buttons = pageButtons(source.grid, *count);
    QStringList lines;
    for (const std::string& line : pageLines(kind, buttons, settings))
        lines << toQt(line);
    QStringList notes;
    if (dropsBgColor(kind, settings))
        notes << QString::fromLatin1(msg::kBgColorNotCssColour);
    // Looked up once the page is written, so a page in a new folder is checked there.
    output_.showBuiltPage(lines, toQt(page), notes.join(QStringLiteral("; ")));
    const std::string missing = missingPicturesLine(missingPictures(
        pagePictureNames(buttons, settings.bgImage), pictureLookupPage(kind, settings, page)));
    if (!missing.empty()) {
        notes << toQt(missing);
        output_.showBuildNote(notes.join(QStringLiteral("; ")));
    }
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
    if (const QUrl target = output_.currentFileTarget(); !target.isEmpty())
        openInShell(shell_, target);
}

} // namespace kelmor
