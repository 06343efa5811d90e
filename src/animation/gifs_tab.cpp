#include "animation/gifs_tab.h"

#include <QVBoxLayout>

namespace kelmor {

GifsTab::GifsTab(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : TabPage(parent), services_(services), preferences_(preferences) {
    new QVBoxLayout(this);
}

void GifsTab::refillLists() {}

void GifsTab::clearAnimation() {}

} // namespace kelmor
