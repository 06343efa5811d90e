#pragma once

#include "animation/assembly.h"
#include "ui/services.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace kelmor {

// The "Gifs Options" dialog: the loop count, the frame delay and the switches
// Crop, Merge and Palette. Its controls are the live settings of every
// assembly, read at the moment of use; "KelGifPref.ini" in the config folder
// is loaded into them at creation and written from them by "&OK".
//
// Controls by object name: CheckBoxCrop, CheckBoxMerge, CheckBoxPalette, Edit1
// ("Loop:"), Edit2 ("Speed:"), SpeedButton2 ("&Cancel"), SpeedButton1 ("&OK").
class TAnimForm : public QDialog, public AnimationSettings {
    Q_OBJECT
public:
    explicit TAnimForm(Services& services, QWidget* parent = nullptr);

    // Shows the dialog without blocking the main window; again when already open.
    void showOptions();

    std::string loopText() const override;
    std::string speedText() const override;
    bool crop() const override;
    bool merge() const override;
    bool palette() const override;

private:
    void loadGifPreferences();
    void saveGifPreferences();
    void speedButton1Click();

    Services& services_;
    QCheckBox* crop_ = nullptr;
    QCheckBox* merge_ = nullptr;
    QCheckBox* palette_ = nullptr;
    QLineEdit* loop_ = nullptr;
    QLineEdit* speed_ = nullptr;
    bool placed_ = false;
};

} // namespace kelmor
