#include "animation/gifs_tab.h"

#include <QVBoxLayout>

namespace kelmor {

GifsTab::GifsTab(Services& services, QWidget* parent) : QWidget(parent), services_(services) {
    new QVBoxLayout(this);
}

void GifsTab::attachPreferences(const Preferences& preferences) {
    preferences_ = &preferences;
}

void GifsTab::refillLists() {}

void GifsTab::clearAnimation() {}

} // namespace kelmor
