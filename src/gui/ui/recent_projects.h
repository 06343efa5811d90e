#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

namespace kelmor {

class Dialogs;

// File / Open Recent: the last eight projects opened or saved, full paths, the most recent
// first, kept in the preference file. Each opening of the menu drops the files that are gone.
// Writing the list throws "Unable to write to PATH".
class RecentProjects : public QObject {
    Q_OBJECT
public:
    RecentProjects(Dialogs& dialogs, const QString& configDir, QObject* parent);

    const QStringList& projects() const { return projects_; }
    // Puts the project first and writes the list.
    void add(const QString& path);
    // Fills `menu` each time it opens: one entry per project, then "Clear Menu".
    void attach(QMenu& menu);
    void clear();

signals:
    void chosen(const QString& path);

private:
    void fill(QMenu& menu);
    void store();

    Dialogs& dialogs_;
    QString configDir_;
    QStringList projects_;
};

} // namespace kelmor
