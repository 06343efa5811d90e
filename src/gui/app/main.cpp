#include "app/kelmor_app.h"
#include "app/main_window.h"
#include "thumbnails/thumbnail_cache.h"
#include "ui/drawn_icons.h"
#include "ui/qt_services.h"
#include "ui/qt_text.h"
#include "ui/thumbnail_loader.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QThreadPool>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelmor"));
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.kelmor.Kelmor"));
    QApplication::setWindowIcon(kelmor::drawnIcon(kelmor::DrawnIcon::Program));

    kelmor::AppPaths paths;
    paths.configDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/kelmor");
    paths.dataDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/kelmor");
    paths.workingDir = QDir::currentPath();
    paths.thumbnailRoot = kelmor::toQt(kelmor::defaultThumbnailRoot().string());

    kelmor::QtDialogs dialogs;
    kelmor::QtShell shell;
    kelmor::QtHelpViewer help;
    kelmor::Services services{dialogs, shell, help, paths};

    int status = 0;
    {
        kelmor::KelmorApp app(services);
        dialogs.setParentWindow(&app.mainWindow());
        app.show();
        // A project file given on the command line (or by the desktop entry) opens at once.
        if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1)
            app.openProject(arguments.at(1));
        status = QApplication::exec();
    }
    // Thumbnails still being made are abandoned: the program ends at once, without running the
    // libraries' own ends under a thread that is still drawing with them.
    if (kelmor::ThumbnailLoader::pool().activeThreadCount() > 0) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
