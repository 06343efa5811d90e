#pragma once

#include "prefs/preference_store.h"
#include "ui/services.h"

#include <memory>

namespace kelmor {

class TAboutForm;
class TAnimForm;
class TFormPrefs;
class TKelButton;
class TSoundForm;

// The preference store and the program's five windows, created in their fixed
// order and living until the end of the run.
class KelmorApp {
public:
    explicit KelmorApp(Services& services);
    ~KelmorApp();

    void show();
    // Opens the project file named on the command line: its folder becomes the current folder,
    // as when it is chosen in the Open dialog; a failure shows in the error box.
    void openProject(const QString& path);

    PreferenceStore& preferences() { return preferences_; }
    TKelButton& mainWindow() { return *mainWindow_; }
    TFormPrefs& prefs() { return *prefs_; }
    TSoundForm& sound() { return *sound_; }
    TAboutForm& about() { return *about_; }
    TAnimForm& anim() { return *anim_; }

private:
    Services& services_;
    PreferenceStore preferences_;
    std::unique_ptr<TKelButton> mainWindow_;
    std::unique_ptr<TFormPrefs> prefs_;
    std::unique_ptr<TSoundForm> sound_;
    std::unique_ptr<TAboutForm> about_;
    std::unique_ptr<TAnimForm> anim_;
};

} // namespace kelmor
