#include "app/tab_list.h"

#include "animation/gifs_tab.h"
#include "editor/html_tab.h"
#include "pictures/pics_tab.h"
#include "project/projects_tab.h"

namespace kelmor {
namespace {

// One line per tab. The first show does not restyle Html's lists, as the program never did: it
// would change nothing, since loading the preference file gave every tab its stored style.
const TabEntry kTabs[] = {
    {makeTab<ProjectsTab>, PrefOwner::ProjectsTab},
    {makeTab<PicsTab>, PrefOwner::PicsTab},
    {makeTab<HtmlTab>, PrefOwner::HtmlTab, StyleOnFirstShow::AsLoaded},
    {makeTab<GifsTab>, PrefOwner::GifsTab},
};

} // namespace

std::span<const TabEntry> mainWindowTabs() {
    return kTabs;
}

} // namespace kelmor
