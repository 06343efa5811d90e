#include "app/kelmor_app.h"

#include "app/about_form.h"
#include "app/data_files.h"
#include "app/main_window.h"
#include "designer/button_designer.h"
#include "imaging/picture_qt.h"
#include "prefs/form_prefs.h"
#include "prefs/start_preferences.h"
#include "sound/sound_form.h"
#include "ui/drawn_style.h"
#include "ui/error_guard.h"
#include "ui/tab_links.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QtGlobal>

// The embedded help pages and sound live in a static library, so they are
// registered by hand; Q_INIT_RESOURCE must be used outside any namespace.
static void initResources() {
    Q_INIT_RESOURCE(kelmor);
}

namespace kelmor {
namespace {

// Counts the layout requests delivered while it watches.
class LayoutRequestCount : public QObject {
public:
    int delivered = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        delivered += event->type() == QEvent::LayoutRequest ? 1 : 0;
        return false;
    }
};

// Delivers the posted layout requests, then those that their layouts post in turn for the
// widgets around them, until a round delivers none (a bound keeps two layouts that keep asking
// each other from holding the start).
void settleLayouts() {
    LayoutRequestCount count;
    QCoreApplication::instance()->installEventFilter(&count);
    for (int round = 0; round < 32; ++round) {
        count.delivered = 0;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (count.delivered == 0)
            break;
    }
    QCoreApplication::instance()->removeEventFilter(&count);
}

} // namespace

KelmorApp::KelmorApp(Services& services) : services_(services) {
    initResources();
    useDrawnIconStyle();
    installQtIconDecoder();
    installDataFiles(services.paths);
    mainWindow_ = std::make_unique<TKelButton>(services, preferences_);
    runGuarded(services.dialogs,
               [&] { loadStartPreferences(services, preferences_, *mainWindow_); });
    mainWindow_->attachWindows(*this);
}

// Closing the main window ends the program, whichever other windows are open.
void KelmorApp::keepRunningOnClose(QWidget& window) {
    window.setAttribute(Qt::WA_QuitOnClose, false);
}

TFormPrefs& KelmorApp::prefs() {
    if (!prefs_) {
        prefs_ = std::make_unique<TFormPrefs>(services_, preferences_, *mainWindow_);
        keepRunningOnClose(*prefs_);
    }
    return *prefs_;
}

TSoundForm& KelmorApp::sound() {
    if (!sound_) {
        sound_ = std::make_unique<TSoundForm>(services_, preferences_);
        keepRunningOnClose(*sound_);
        mainWindow_->attachSound(*sound_);
    }
    return *sound_;
}

TAboutForm& KelmorApp::about() {
    if (!about_) {
        about_ = std::make_unique<TAboutForm>(services_);
        keepRunningOnClose(*about_);
    }
    return *about_;
}

TButtonDesigner& KelmorApp::designer() {
    if (!designer_) {
        designer_ = std::make_unique<TButtonDesigner>(services_, preferences_,
                                                      mainWindow_->link<DesignedButtons>());
        keepRunningOnClose(*designer_);
    }
    return *designer_;
}

KelmorApp::~KelmorApp() {
    designer_.reset();
    about_.reset();
    sound_.reset();
    prefs_.reset();
    mainWindow_.reset();
}

// The main window is painted once, at its final geometry: its nested layouts settle before the
// event loop paints it, rather than after, each settled layout repainting what it moved.
void KelmorApp::show() {
    mainWindow_->show();
    settleLayouts();
}

void KelmorApp::openProject(const QString& path) {
    // A relative path names a file from the folder the program was started in.
    const QFileInfo file(path);
    runGuarded(services_.dialogs, [&] {
        QDir::setCurrent(file.absolutePath());
        mainWindow_->link<ProjectOpener>().openProject(file.absoluteFilePath());
    });
}

} // namespace kelmor
