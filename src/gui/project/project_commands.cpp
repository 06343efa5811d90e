#include "project/project_commands.h"

#include "project/button_list_panel.h"
#include "project/project_list_panel.h"
#include "ui/wait_cursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
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
                                 ProjectListPanel& projects, std::function<void()> enableSave)
    : dialogs_(dialogs), buttons_(buttons), projects_(projects),
      enableSave_(std::move(enableSave)) {}

void ProjectCommands::read(const QString& path) {
    WaitCursor wait;
    buttons_.readProject(path, repaintNowAndThen());
}

void ProjectCommands::write(const QString& path) {
    WaitCursor wait;
    buttons_.writeProject(path, repaintNowAndThen());
}

// The folder is taken now: a relative path names a file from today's current folder, which
// the file dialogs change.
void ProjectCommands::setCurrentPath(const QString& path) {
    currentPath_ = path;
    projectFolder_ = QFileInfo(path).absolutePath();
}

void ProjectCommands::open() {
    const std::optional<QString> path = dialogs_.openFile(kProjectFilter, currentPath_);
    if (path)
        openPath(*path);
}

void ProjectCommands::openPath(const QString& path) {
    enableSave_();
    read(path);
    buttons_.updateButtonCount();
    buttons_.setProjectName(QFileInfo(path).fileName());
    setCurrentPath(path);
}

void ProjectCommands::save() {
    if (currentPath_.isEmpty())
        setCurrentPath(kNewProject);
    if (dialogs_.confirm(QStringLiteral("Save Project as ") + currentPath_))
        write(currentPath_);
}

void ProjectCommands::saveAs() {
    if (currentPath_.isEmpty())
        setCurrentPath(kNewProject);
    const std::optional<QString> path = dialogs_.saveFile(kProjectFilter, currentPath_);
    if (!path)
        return;
    write(*path);
    projects_.refill();
    buttons_.setProjectName(QFileInfo(*path).fileName());
    setCurrentPath(*path);
}

void ProjectCommands::choose(const QString& path, const QString& fileName) {
    enableSave_();
    read(path);
    buttons_.updateButtonCount();
    setCurrentPath(path);
    buttons_.setProjectName(fileName);
}

} // namespace kelmor
