#pragma once

#include "app/main_window.h"
#include "prefs/preference_store.h"
#include "ui/services.h"

#include <memory>

namespace kelmor {

class TAboutForm;
class TButtonDesigner;
class TFormPrefs;
class TSoundForm;

// The preference store and the program's windows, living until the end of the
// run. The main window is created at start with its tabs and their own windows
// (the Gifs tab's Gifs Options dialog), then the preference file is loaded into
// the store and shown in it; the shared windows are created when first asked for.
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
    TFormPrefs& prefs() override;
    TSoundForm& sound() override;
    TAboutForm& about() override;
    TButtonDesigner& designer() override;
    TSoundForm* builtSound() override { return sound_.get(); }

private:
    static void keepRunningOnClose(QWidget& window);

    Services& services_;
    PreferenceStore preferences_;
    std::unique_ptr<TKelButton> mainWindow_;
    std::unique_ptr<TFormPrefs> prefs_;
    std::unique_ptr<TSoundForm> sound_;
    std::unique_ptr<TAboutForm> about_;
    std::unique_ptr<TButtonDesigner> designer_;
};

} // namespace kelmor
