#pragma once

#include "generator/page_writer.h"
#include "ui/services.h"
#include "ui/tab_links.h"

#include <QString>
#include <functional>

class QAction;

namespace kelmor {

// What a Build reads, as the fields stand when it runs.
struct PageSource {
    const StringGrid& grid;
    QString countText; // the button count label
    QString title, bgColor, bgImage, separator;
    QString targetPage;
    QString projectFolder; // the open project file's folder; empty: the current folder
    QString imagesFolder;  // where the previews find the Button list's pictures
};

// The Build commands and "View in Browser...". Build takes one path for every kind of page:
// the page for the Button list's first N rows goes to the built page view (the Html tab), which
// shows it, saves it as the target page, loads it back and names it as its current file. The
// target page is checked first (checkTargetPage): one outside the project's folder is written
// only when the user confirms it.
class PageBuild {
public:
    using SourceReader = std::function<PageSource(PageKind)>;

    PageBuild(Dialogs& dialogs, Shell& shell, BuiltPageView& output, QAction& viewInBrowser,
              SourceReader source);

    // Build on "Plain But" or "Sound But", for the kind of page it asks for, and Build Menu Page.
    // The menu page's paths are written from the project's folder to the target page's.
    void build(PageKind kind);
    // Opens the built page view's current file; nothing when there is none.
    void ToolButton22Click();

private:
    // False when the target page `page` may not be written, or the user chose not to.
    bool targetAllowed(const PageSource& source, const std::string& page) const;

    Dialogs& dialogs_;
    Shell& shell_;
    BuiltPageView& output_;
    QAction& viewInBrowser_;
    SourceReader source_;
};

} // namespace kelmor
