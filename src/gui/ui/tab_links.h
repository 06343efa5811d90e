#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

namespace kelmor {

// What one tab may ask of another. The receiving tab implements the interface
// and the main window hands it to the asking tab, so no tab touches another
// tab's widgets.

// Where a built page goes: the Html tab's editor and current file box.
class BuiltPageView {
public:
    virtual ~BuiltPageView() = default;
    // Shows the lines in the editor and `note` (what the page left out, or nothing) in
    // the status line, saves the lines as `path`, loads the file back and makes it the
    // current file. Stops at the first step that fails.
    virtual void showBuiltPage(const QStringList& lines, const QString& path,
                               const QString& note) = 0;
    // Replaces the status line's text after the page is shown.
    virtual void showBuildNote(const QString& note) = 0;
    // What the shell opens for the file the current file box names: its absolute file://
    // address, or the web address typed there; empty when the box is.
    virtual QUrl currentFileTarget() const = 0;
};

// The picture browser's picture area (the Pics tab's preview).
class PictureBrowser {
public:
    virtual ~PictureBrowser() = default;
    // Empties the picture area and loads the file into it. A file that cannot
    // be read throws the picture holder's message and leaves the area empty.
    virtual void showPicture(const QString& path) = 0;
};

// The picture browser's one-part status line (the Pics tab's), which the Gifs
// tab's frame source list also writes its picture size to.
class PictureStatusLine {
public:
    virtual ~PictureStatusLine() = default;
    virtual void showStatus(const QString& text) = 0;
    // "Image Size: 60h x 120w": the size of the picture just shown.
    void showPictureSize(int height, int width) {
        showStatus(QStringLiteral("Image Size: %1h x %2w").arg(height).arg(width));
    }
};

// The project list's owner (the Projects tab), which opens the project file
// named on the command line.
class ProjectOpener {
public:
    virtual ~ProjectOpener() = default;
    // Opens a project file as "&Open..." does once its dialog is confirmed.
    virtual void openProject(const QString& path) = 0;
};

// Where the open project's file name goes: the Html tab, whose "Insert Menu Markers" names the
// project's menu after it (the Projects tab tells it).
class ProjectFileListener {
public:
    virtual ~ProjectFileListener() = default;
    // The project was opened, saved under a name or replaced by a new one: its file's absolute
    // path, empty while the project has no file.
    virtual void projectFileChanged(const QString& path) = 0;
};

// One button the button designer wrote into the Project Images folder: the bare file names of
// its two pictures and their one size, the page it links to and its target frame (empty: none
// chosen).
struct DesignedButton {
    QString normal;
    QString mouseOver;
    int width = 0;
    int height = 0;
    QString link{};
    QString frame{};
};

// Where the button designer's buttons go: the Button list and the button editor's fields (the
// Projects tab).
class DesignedButtons {
public:
    virtual ~DesignedButtons() = default;
    // Adds one Button list row per button after the last row that holds anything.
    virtual void addDesignedButtons(const std::vector<DesignedButton>& buttons) = 0;
    // Fills the picture and link fields of the button editor page whose "Design..." opened the
    // designer, and its Target Frame when the designer names one.
    virtual void fillDesignedButton(const DesignedButton& button) = 0;
    // The Page tab's BG Color as typed: the page colour GIF buttons are put onto.
    virtual QString pageBgColor() const = 0;
};

} // namespace kelmor
