#pragma once

#include "ui/services.h"
#include "generator/page_writer.h"

#include <QString>
#include <functional>

class QAction;
class QComboBox;

namespace kelmor {

class EditorTextBox;

// Where a Build puts the page: the Html tab's editor text box and current file box.
struct PageOutput {
    EditorTextBox& editor;
    QComboBox& currentFileBox;
};

// What a Build reads, as the fields stand when it runs.
struct PageSource {
    const StringGrid& grid;
    QString countText; // the button count label
    QString title, bgColor, bgImage, separator;
    QString targetPage;
};

// The two Build commands and "View in Browser...". Both Builds take one path: write the page
// for the Button list's first N rows into the editor text box, save it as the target page,
// load it back and name it in the current file box.
class PageBuild {
public:
    using SourceReader = std::function<PageSource(PageKind)>;

    PageBuild(Shell& shell, PageOutput output, QAction& viewInBrowser, SourceReader source);

    void SpeedButton12Click(); // Build on "Plain But"
    void SpeedButton13Click(); // Build on "Sound But"
    // Opens the file the current file box names; nothing when it is empty.
    void ToolButton22Click();

private:
    void build(PageKind kind);

    Shell& shell_;
    PageOutput output_;
    QAction& viewInBrowser_;
    SourceReader source_;
};

} // namespace kelmor
