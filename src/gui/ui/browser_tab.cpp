#include "ui/browser_tab.h"

#include "ui/history.h"
#include "ui/tool_commands.h"

#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {

QToolBar* layOutBrowserTab(QWidget& tab, const CommandSet& commands, const char* toolBarName,
                           HistoryBox& box, const char* boxBarName,
                           const std::function<void(QSplitter&)>& fillSplitter) {
    auto* layout = new QVBoxLayout(&tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* toolBar = new QToolBar(&tab);
    toolBar->setObjectName(QString::fromLatin1(toolBarName));
    setUpToolBar(*toolBar, ToolBarSize::Small);
    commands.fillToolBar(*toolBar);
    layout->addWidget(toolBar);

    auto* boxBar = new QToolBar(&tab);
    boxBar->setObjectName(QString::fromLatin1(boxBarName));
    boxBar->addWidget(&box);
    layout->addWidget(boxBar);

    auto* splitter = new QSplitter(&tab);
    splitter->setObjectName(QString::fromLatin1(toolBarName) + QStringLiteral("Splitter"));
    fillSplitter(*splitter);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({160, 440});
    layout->addWidget(splitter, 1);
    return toolBar;
}

QLabel* addStatusLine(QWidget& tab, const char* barName, const char* labelName) {
    auto* statusBar = new QStatusBar(&tab);
    statusBar->setObjectName(QString::fromLatin1(barName));
    statusBar->setSizeGripEnabled(false);
    auto* status = new QLabel(statusBar);
    status->setObjectName(QString::fromLatin1(labelName));
    // The text is what a screen reader reads; the description says what it is.
    status->setAccessibleDescription(QStringLiteral("Status line"));
    statusBar->addWidget(status, 1);
    tab.layout()->addWidget(statusBar);
    return status;
}

} // namespace kelmor
