#include "ui/recent_projects.h"

#include "prefs/session_preference.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"

#include <QFileInfo>
#include <QMenu>

namespace kelmor {

RecentProjects::RecentProjects(Dialogs& dialogs, const QString& configDir, QObject* parent)
    : QObject(parent), dialogs_(dialogs), configDir_(configDir) {
    for (const std::string& path : loadRecentProjects(toLocal(configDir_)))
        projects_ << toQt(path);
}

void RecentProjects::add(const QString& path) {
    std::vector<std::string> list;
    for (const QString& project : projects_)
        list.push_back(toLocal(project));
    projects_.clear();
    for (const std::string& project :
         withRecentProject(std::move(list), toLocal(QFileInfo(path).absoluteFilePath())))
        projects_ << toQt(project);
    store();
}

void RecentProjects::clear() {
    projects_.clear();
    store();
}

void RecentProjects::store() {
    std::vector<std::string> list;
    for (const QString& project : projects_)
        list.push_back(toLocal(project));
    saveRecentProjects(toLocal(configDir_), list);
}

void RecentProjects::attach(QMenu& menu) {
    connect(&menu, &QMenu::aboutToShow, this, [this, &menu] { fill(menu); });
    fill(menu);
}

void RecentProjects::fill(QMenu& menu) {
    // The file keeps them until the list is next written.
    projects_.removeIf([](const QString& path) { return !QFileInfo::exists(path); });
    menu.clear();
    for (qsizetype i = 0; i < projects_.size(); ++i) {
        const QString path = projects_[i];
        QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        entry->setObjectName(QStringLiteral("RecentProject%1").arg(i + 1));
        connect(entry, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    menu.addSeparator();
    QAction* clearMenu = menu.addAction(QStringLiteral("&Clear Menu"));
    clearMenu->setObjectName(QStringLiteral("ClearRecentProjects"));
    clearMenu->setEnabled(!projects_.isEmpty());
    connect(clearMenu, &QAction::triggered, this, guarded(dialogs_, [this] { clear(); }));
}

} // namespace kelmor
