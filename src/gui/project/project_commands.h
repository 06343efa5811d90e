#pragma once

#include "ui/services.h"

#include <QString>
#include <functional>

namespace kelmor {

class ButtonListPanel;
class ProjectListPanel;

// The project file commands: Open, Save, Save As and choosing a project in the project list,
// with the current project path they work on.
class ProjectCommands {
public:
    ProjectCommands(Dialogs& dialogs, ButtonListPanel& buttons, ProjectListPanel& projects,
                    std::function<void()> enableSave);

    // The path Save writes to; empty until a project is opened, chosen or saved.
    const QString& currentPath() const { return currentPath_; }
    // The absolute folder of that path, taken when the path was set; empty while there is none.
    const QString& projectFolder() const { return projectFolder_; }

    void open();
    // Opens the project at `path` as Open does once its dialog is confirmed.
    void openPath(const QString& path);
    void save();
    void saveAs();
    void choose(const QString& path, const QString& fileName);

private:
    void read(const QString& path);
    void write(const QString& path);
    void setCurrentPath(const QString& path);

    Dialogs& dialogs_;
    ButtonListPanel& buttons_;
    ProjectListPanel& projects_;
    std::function<void()> enableSave_;
    QString currentPath_;
    QString projectFolder_;
};

} // namespace kelmor
