#include "ui/program_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <dlfcn.h>

namespace kelmor {
namespace {

QString& extraFolder() {
    static QString folder;
    return folder;
}

} // namespace

void setModuleFolder(const QString& folder) {
    extraFolder() = folder;
}

void* loadModuleEntry(const char* file, const char* entry, QString& failure) {
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList folders{programFolder,
                        QDir(programFolder).filePath(QStringLiteral(KELMOR_MODULE_DIR))};
    if (!extraFolder().isEmpty())
        folders.prepend(extraFolder());
    const QString name = QString::fromLatin1(file);
    failure = name + QStringLiteral(" is not in ") + folders.join(QStringLiteral(", "));
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (!QFile::exists(path))
            continue;
        void* library = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            failure = QString::fromLocal8Bit(dlerror());
            continue;
        }
        if (void* found = dlsym(library, entry))
            return found;
        failure = path + QStringLiteral(" has no ") + QString::fromLatin1(entry);
    }
    return nullptr;
}

} // namespace kelmor
