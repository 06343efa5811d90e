#pragma once

#include <QColor>
#include <QString>
#include <QUrl>
#include <optional>

class QDialog;

namespace kelmor {

// Filters use the "Description|pattern|Description|pattern" form, for example
// "Kelmor Project Files (*.kxq)|*.kxq"; the Qt version turns them into Qt filters.
//
// A confirmed open or save dialog makes the chosen file's folder the current
// folder, as desktop programs do, so a bare file name written afterwards lands
// beside the files the user was just working with.
class Dialogs {
public:
    // Whether a save dialog asks before it lets the user choose an existing file.
    enum class Overwrite { Ask, Replace };

    virtual ~Dialogs() = default;
    std::optional<QString> openFile(const QString& filter, const QString& startPath) {
        return enterFolderOf(chooseOpenFile(filter, startPath));
    }
    // The picture-open dialog shared by every picture picker; it remembers its folder and name.
    std::optional<QString> openPicture() { return enterFolderOf(choosePicture()); }
    std::optional<QString> saveFile(const QString& filter, const QString& proposedPath,
                                    const QString& defaultSuffix = {},
                                    Overwrite overwrite = Overwrite::Ask) {
        return enterFolderOf(chooseSaveFile(filter, proposedPath, defaultSuffix, overwrite));
    }
    virtual std::optional<QString> pickFolder(const QString& startFolder) = 0;
    virtual std::optional<QColor> pickColor(const QColor& initial) = 0;
    // A one-line text asked with `question`, the box holding `initial`; nothing when cancelled.
    virtual std::optional<QString> askText(const QString& question, const QString& initial) = 0;
    // Title "Confirm", buttons "&Yes" and "&No"; true for Yes.
    virtual bool confirm(const QString& question) = 0;
    // The answers to "Save changes to %s?".
    enum class SaveChoice { Save, Discard, Cancel };
    // Asks whether the changes to `document` are saved before they would be lost: buttons
    // "&Save", "&Discard" and "Cancel".
    virtual SaveChoice askSaveChanges(const QString& document) = 0;
    // A picture taken by other means than the picture-open dialog (dropped from the file
    // manager): the dialog starts there next time.
    virtual void rememberPicture(const QString&) {}
    // Title "Kelmor"; the standard error box.
    virtual void error(const QString& message) = 0;
    // Shows a dialog modally and returns its result code.
    virtual int runModal(QDialog& dialog) = 0;

protected:
    virtual std::optional<QString> chooseOpenFile(const QString& filter,
                                                  const QString& startPath) = 0;
    virtual std::optional<QString> choosePicture() = 0;
    virtual std::optional<QString> chooseSaveFile(const QString& filter,
                                                  const QString& proposedPath,
                                                  const QString& defaultSuffix,
                                                  Overwrite overwrite) = 0;

private:
    static std::optional<QString> enterFolderOf(std::optional<QString> chosen);
};

// The desktop shell: opening files and web addresses with their associated
// programs, and starting a program.
class Shell {
public:
    virtual ~Shell() = default;
    // False when the desktop reports that no program took the address.
    virtual bool open(const QUrl& target) = 0;
    virtual void start(const QString& program) = 0;
};

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void show(const QString& helpFile) = 0;
};

// Folders the program works with, computed by main() and given by tests.
struct AppPaths {
    QString configDir; // preference files
    QString dataDir;   // sounds/default.wav and help/
    QString workingDir;
    QString thumbnailRoot; // the desktop's shared thumbnail cache
};

struct Services {
    Dialogs& dialogs;
    Shell& shell;
    HelpViewer& help;
    AppPaths paths;
};

} // namespace kelmor
