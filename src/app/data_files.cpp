#include "app/data_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace kelmor {

QString helpFile(const AppPaths& paths) {
    return paths.dataDir + QStringLiteral("/help/index.html");
}

void installDataFiles(const AppPaths& paths) {
    const QString embedded = QStringLiteral(":/data");
    QDirIterator it(embedded, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = paths.dataDir + source.mid(embedded.size());
        if (QFileInfo::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(source, target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
    }
}

} // namespace kelmor
