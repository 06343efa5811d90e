#pragma once

#include "app/main_window.h"
#include "prefs/preference_store.h"
#include "ui/services.h"

#include <memory>

namespace kelmor {

class TAboutForm;
class TAnimForm;
class TFormPrefs;
class TSoundForm;

// The preference store and the program's five windows, living until the end of
// the run. The main window, the Options dialog and the Gifs Options dialog are
// created at start in that order; the others when first asked for.
class KelmorApp final : public TKelButton::Windows {
public:
    explicit KelmorApp(Services& services);
    ~KelmorApp();

    void show();
    // Opens the project file named on the command line: its folder becomes the current folder,
    // as when it is chosen in the Open dialog; a failure shows in the error box.
    void openProject(const QString& path);

    PreferenceStore& preferences() { return preferences_; }
    TKelButton& mainWindow() { return *mainWindow_; }
    TFormPrefs& prefs() override { return *prefs_; }
    TSoundForm& sound() override;
    TAboutForm& about() override;
    TAnimForm& anim() override { return *anim_; }
    TSoundForm* builtSound() override { return sound_.get(); }

private:
    static void keepRunningOnClose(QWidget& window);

    Services& services_;
    PreferenceStore preferences_;
    std::unique_ptr<TKelButton> mainWindow_;
    std::unique_ptr<TFormPrefs> prefs_;
    std::unique_ptr<TSoundForm> sound_;
    std::unique_ptr<TAboutForm> about_;
    std::unique_ptr<TAnimForm> anim_;
};

} // namespace kelmor
