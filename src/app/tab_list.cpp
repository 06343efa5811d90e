#include "app/tab_list.h"

#include "animation/gifs_tab.h"
#include "editor/html_tab.h"
#include "pictures/pics_tab.h"
#include "project/projects_tab.h"

namespace kelmor {
namespace {

// One line per tab. Html's lists are not restyled at the first show: loading the preference
// file gave them their stored style already, and the program never repeated it for them.
const TabEntry kTabs[] = {
    {makeTab<ProjectsTab>, PrefFlag::ProjectsToolBar, PrefLists::Projects},
    {makeTab<PicsTab>, PrefFlag::PicsPanel, PrefLists::Pics},
    {makeTab<HtmlTab>, PrefFlag::HtmlPanel, PrefLists::Html, StyleOnFirstShow::AsLoaded},
    {makeTab<GifsTab>},
};

} // namespace

std::span<const TabEntry> mainWindowTabs() {
    return kTabs;
}

} // namespace kelmor
