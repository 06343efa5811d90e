#include "ui/tab_page.h"

#include <utility>

namespace kelmor {

TabPage::~TabPage() = default;

void TabPage::ensureBuilt() {
    if (built_)
        return;
    // Set first: building may call the tab's own methods, which ask for the contents again.
    built_ = true;
    buildContents();
    if (std::exchange(pendingRefill_, false))
        refillLists();
    if (const std::optional<ListStyle> style = std::exchange(pendingStyle_, std::nullopt))
        setListsStyle(*style);
    const std::optional<bool> shown = std::exchange(pendingPartShown_, std::nullopt);
    if (QWidget* part = togglablePart(); part != nullptr && shown)
        part->setVisible(*shown);
}

void TabPage::refillWhenBuilt() {
    if (built_)
        refillLists();
    else
        pendingRefill_ = true;
}

void TabPage::setListsStyleWhenBuilt(ListStyle style) {
    if (built_)
        setListsStyle(style);
    else
        pendingStyle_ = style;
}

void TabPage::showTogglablePart(bool shown) {
    if (!built_)
        pendingPartShown_ = shown;
    else if (QWidget* part = togglablePart())
        part->setVisible(shown);
}

bool TabPage::togglablePartShown() {
    if (!built_)
        return pendingPartShown_.value_or(true);
    const QWidget* part = togglablePart();
    return part != nullptr && part->isVisibleTo(part->parentWidget());
}

// Built before the tab turns visible, so that its new controls show with it.
void TabPage::setVisible(bool visible) {
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

} // namespace kelmor
