#pragma once

#include "ui/services.h"

#include <QWidget>

namespace kelmor {

class Preferences;

// The "Gifs" tab: frame slots, the frame source list and the animation preview.
class GifsTab : public QWidget {
    Q_OBJECT
public:
    explicit GifsTab(Services& services, QWidget* parent = nullptr);

    void attachPreferences(const Preferences& preferences);
    void refillLists();
    // Empties the animation preview, which stops its animation.
    void clearAnimation();

signals:
    void optionsRequested();

private:
    Services& services_;
    const Preferences* preferences_ = nullptr;
};

} // namespace kelmor
