#pragma once

#include "prefs/preference_store.h"
#include "ui/services.h"
#include "ui/tab_links.h"
#include "ui/tab_page.h"

class QStatusBar;

namespace kelmor {

class PictureView;

// The "Pics" tab: the picture browser over the GIF, BMP and JPG folders.
class PicsTab : public TabPage, public PictureBrowser, public PictureStatusLine {
    Q_OBJECT
public:
    PicsTab(Services& services, const PreferenceStore& preferences, QWidget* parent = nullptr);

    // The left panel with the picture lists, shown and hidden by "&Image Windows".
    QWidget* togglablePart() override { return listPanel_; }
    void refillLists() override;
    void setListsStyle(ListStyle style) override;

    void showPicture(const QString& path) override;
    void showStatus(const QString& text) override;

private:
    Services& services_;
    const PreferenceStore& preferences_;
    QWidget* listPanel_ = nullptr;
    PictureView* preview_ = nullptr;
    QStatusBar* statusLine_ = nullptr;
};

} // namespace kelmor
