#include "app/data_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace kelmor {

QString helpFile(const AppPaths& paths) {
    return paths.dataDir + QStringLiteral("/help/index.html");
}

namespace {

// Copies one embedded file through a temporary name, so that the target is either
// missing or whole. The copy does not wait for the disk: these are read-only
// copies of what the program carries, and one lost to a crash is put back by
// the next start (a missing or empty copy is installed again).
void installFile(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = in.readAll();
    const QString part = target + QStringLiteral(".part");
    QFile out(part);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() ||
        !out.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                            QFile::ReadOther)) {
        out.remove();
        return;
    }
    out.close();
    QFile::remove(target);
    if (!QFile::rename(part, target))
        QFile::remove(part);
}

} // namespace

void installDataFiles(const AppPaths& paths) {
    const QString embedded = QStringLiteral(":/data");
    QDirIterator it(embedded, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = paths.dataDir + source.mid(embedded.size());
        const QFileInfo installed(target);
        if (installed.exists() && installed.size() > 0)
            continue;
        QDir().mkpath(installed.absolutePath());
        installFile(source, target);
    }
}

} // namespace kelmor
