#pragma once

// Services for benchmarks that build the whole program: no dialog ever blocks, nothing is
// opened or shown outside the program.

#include "ui/services.h"

#include <QDialog>

namespace kelmor::bench {

class SilentDialogs : public Dialogs {
public:
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override { return {}; }
    std::optional<QString> choosePicture() override { return {}; }
    std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&,
                                          Overwrite) override {
        return {};
    }
    std::optional<QString> pickFolder(const QString&) override { return {}; }
    std::optional<QColor> pickColor(const QColor&) override { return {}; }
    std::optional<QString> askText(const QString&, const QString&) override { return {}; }
    bool confirm(const QString&) override { return false; }
    SaveChoice askSaveChanges(const QString&) override { return SaveChoice::Discard; }
    void error(const QString&) override {}
    int runModal(QDialog&) override { return QDialog::Rejected; }
};

class SilentShell : public Shell {
public:
    bool open(const QUrl&) override { return true; }
    void start(const QString&) override {}
};

class SilentHelp : public HelpViewer {
public:
    void show(const QString&) override {}
};

} // namespace kelmor::bench
