#include "project/project_commands.h"

#include "project/button_list_panel.h"
#include "project/project_list_panel.h"
#include "ui/wait_cursor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QUndoStack>
#include <memory>

namespace kelmor {
namespace {

const QString kProjectFilter = QStringLiteral("Kelmor Project Files (*.kxq)|*.kxq");
const QString kNewProject = QStringLiteral("Newproject.kxq");
constexpr qint64 kRepaintIntervalMs = 10;

// Lets the window repaint now and then while a long list is read or written. User input waits,
// so no command can start in the middle and mix two projects in one grid.
ProgressHook repaintNowAndThen() {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    return [clock] {
        if (clock->elapsed() >= kRepaintIntervalMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            clock->restart();
        }
    };
}

} // namespace

ProjectCommands::ProjectCommands(Dialogs& dialogs, ButtonListPanel& buttons,
                                 ProjectListPanel& projects, Hooks hooks)
    : dialogs_(dialogs), buttons_(buttons), projects_(projects), hooks_(std::move(hooks)) {}

// Reads the file into the list; on a failure the list and the current project stay as they
// were. The Save commands are enabled first, as they are when the read fails.
void ProjectCommands::read(const QString& path, const QString& name) {
    hooks_.enableSave();
    {
        WaitCursor wait;
        buttons_.readProject(path, repaintNowAndThen());
    }
    buttons_.updateButtonCount();
    buttons_.setProjectName(name);
    setCurrentPath(path);
    hooks_.listReplaced();
    hooks_.fileUsed(path);
}

void ProjectCommands::write(const QString& path) {
    {
        WaitCursor wait;
        buttons_.writeProject(path, repaintNowAndThen());
    }
    hooks_.fileUsed(path);
}

// The folder is taken now: a relative path names a file from today's current folder, which
// the file dialogs change.
void ProjectCommands::setCurrentPath(const QString& path) {
    currentPath_ = path;
    projectFolder_ = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
    if (hooks_.projectFileChanged)
        hooks_.projectFileChanged(projectFile());
}

QString ProjectCommands::projectFile() const {
    return currentPath_.isEmpty()
               ? QString()
               : QDir(projectFolder_).filePath(QFileInfo(currentPath_).fileName());
}

void ProjectCommands::newProject() {
    if (!settleUnsavedWork(dialogs_, unsaved()))
        return;
    buttons_.resetList();
    buttons_.setProjectName(QString());
    setCurrentPath(QString());
    hooks_.listReplaced();
}

void ProjectCommands::open() {
    if (!settleUnsavedWork(dialogs_, unsaved()))
        return;
    if (const std::optional<QString> path = dialogs_.openFile(kProjectFilter, currentPath_))
        read(*path, QFileInfo(*path).fileName());
}

void ProjectCommands::openPath(const QString& path) {
    if (settleUnsavedWork(dialogs_, unsaved()))
        read(path, QFileInfo(path).fileName());
}

void ProjectCommands::save() {
    if (currentPath_.isEmpty())
        setCurrentPath(kNewProject);
    if (dialogs_.confirm(QStringLiteral("Save Project as ") + currentPath_))
        write(currentPath_);
}

void ProjectCommands::saveAs() {
    saveAsChosen();
}

// A name typed without an extension gets ".kxq", so the project list and the Open dialog
// show the file; one typed with another extension keeps it.
bool ProjectCommands::saveAsChosen() {
    if (currentPath_.isEmpty())
        setCurrentPath(kNewProject);
    const std::optional<QString> path =
        dialogs_.saveFile(kProjectFilter, currentPath_, QStringLiteral("kxq"));
    if (!path)
        return false;
    write(*path);
    projects_.refill();
    buttons_.setProjectName(QFileInfo(*path).fileName());
    setCurrentPath(*path);
    return true;
}

void ProjectCommands::choose(const QString& path, const QString& fileName) {
    if (settleUnsavedWork(dialogs_, unsaved()))
        read(path, fileName);
}

// "Save" in the question writes the current project without asking again, or asks for a
// name when there is none yet.
UnsavedWork ProjectCommands::unsaved() {
    const QString name = currentPath_.isEmpty() ? kNewProject : QFileInfo(currentPath_).fileName();
    return {!buttons_.undoStack().isClean(), name, [this] {
                if (currentPath_.isEmpty())
                    return saveAsChosen();
                write(currentPath_);
                return true;
            }};
}

} // namespace kelmor
