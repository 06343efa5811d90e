#pragma once

#include "prefs/preference_store.h"
#include "ui/services.h"
#include "ui/tab_page.h"

namespace kelmor {

// The "Gifs" tab: frame slots, the frame source list and the animation preview.
class GifsTab : public TabPage {
    Q_OBJECT
public:
    GifsTab(Services& services, const PreferenceStore& preferences, QWidget* parent = nullptr);

    void refillLists() override;
    // Empties the animation preview, which stops its animation.
    void clearAnimation();

private:
    Services& services_;
    const PreferenceStore& preferences_;
};

} // namespace kelmor
