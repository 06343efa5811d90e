#pragma once

#include <functional>

class QSplitter;
class QToolBar;
class QWidget;

namespace kelmor {

class CommandSet;
class HistoryBox;

// The layout the browser tabs share, top to bottom: the tool bar built from
// the tab's commands, the bar with the current file box, and the list panel
// beside the viewer, which takes the room left. fillSplitter creates the list
// panel and then the viewer inside the splitter.
QToolBar* layOutBrowserTab(QWidget& tab, const CommandSet& commands, const char* toolBarName,
                           HistoryBox& box, const char* boxBarName,
                           const std::function<void(QSplitter&)>& fillSplitter);

} // namespace kelmor
