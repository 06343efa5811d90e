#pragma once

#include "ui/services.h"

#include <QWidget>

namespace kelmor {

class PictureView;
class Preferences;
enum class ListStyle;

// The "Pics" tab: the picture browser over the GIF, BMP and JPG folders.
class PicsTab : public QWidget {
    Q_OBJECT
public:
    explicit PicsTab(Services& services, QWidget* parent = nullptr);

    void attachPreferences(const Preferences& preferences);
    // The left panel with the picture lists, shown and hidden by "&Image Windows".
    QWidget& listPanel() { return *listPanel_; }
    // The preview image on the right, which the background picture pick also shows into.
    PictureView& previewImage() { return *preview_; }
    void refillLists();
    void setListsStyle(ListStyle style);

signals:
    void optionsRequested();

private:
    Services& services_;
    const Preferences* preferences_ = nullptr;
    QWidget* listPanel_ = nullptr;
    PictureView* preview_ = nullptr;
};

} // namespace kelmor
