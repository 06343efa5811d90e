#pragma once

#include "ui/services.h"
#include "ui/unsaved_work.h"

#include <QString>
#include <functional>

namespace kelmor {

class ButtonListPanel;
class ProjectListPanel;

// The project file commands: New, Open, Save, Save As and choosing a project in the project
// list, with the current project path they work on. A command that would replace a Button
// list holding unsaved changes asks first.
class ProjectCommands {
public:
    // What the tab does around the commands.
    struct Hooks {
        std::function<void()> enableSave;
        // A project was read (Open, a list choice, a recent project) or a new one begun.
        std::function<void()> listReplaced;
        // A project file was opened or saved under this path.
        std::function<void(const QString&)> fileUsed;
        // The current path changed: the project file's absolute path, empty when there is none.
        std::function<void(const QString&)> projectFileChanged;
    };

    ProjectCommands(Dialogs& dialogs, ButtonListPanel& buttons, ProjectListPanel& projects,
                    Hooks hooks);

    // The path Save writes to; empty until a project is opened, chosen or saved.
    const QString& currentPath() const { return currentPath_; }
    // The absolute folder of that path, taken when the path was set; empty while there is none.
    const QString& projectFolder() const { return projectFolder_; }
    // The current path made absolute from that folder; empty while there is none.
    QString projectFile() const;

    // A new project: an empty Button list, no current path.
    void newProject();
    void open();
    // Opens the project at `path` as Open does once its dialog is confirmed, asking first.
    void openPath(const QString& path);
    void save();
    void saveAs();
    void choose(const QString& path, const QString& fileName);
    // The Button list as a document: its changes, its name and how "Save" saves it.
    UnsavedWork unsaved();

private:
    void read(const QString& path, const QString& name);
    void write(const QString& path);
    // Save As; false when its dialog was cancelled.
    bool saveAsChosen();
    void setCurrentPath(const QString& path);

    Dialogs& dialogs_;
    ButtonListPanel& buttons_;
    ProjectListPanel& projects_;
    Hooks hooks_;
    QString currentPath_;
    QString projectFolder_;
};

} // namespace kelmor
