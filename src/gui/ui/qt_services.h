#pragma once

#include "ui/services.h"

#include <QPointer>

class QTextBrowser;
class QWidget;

namespace kelmor {

// The real dialogs. Dialogs are parented to the given window.
class QtDialogs : public Dialogs {
public:
    void setParentWindow(QWidget* window) { parent_ = window; }

    std::optional<QString> pickFolder(const QString& startFolder) override;
    std::optional<QColor> pickColor(const QColor& initial) override;
    std::optional<QString> askText(const QString& question, const QString& initial) override;
    bool confirm(const QString& question) override;
    SaveChoice askSaveChanges(const QString& document) override;
    void rememberPicture(const QString& path) override { lastPicture_ = path; }
    void error(const QString& message) override;
    int runModal(QDialog& dialog) override;

    // "Desc (*.a)|*.a|All (*.b;*.c)|*.b;*.c" -> "Desc (*.a);;All (*.b *.c)"
    static QString toQtFilter(const QString& filter);

protected:
    std::optional<QString> chooseOpenFile(const QString& filter, const QString& startPath) override;
    std::optional<QString> choosePicture() override;
    std::optional<QString> chooseSaveFile(const QString& filter, const QString& proposedPath,
                                          const QString& defaultSuffix,
                                          Overwrite overwrite) override;

private:
    QPointer<QWidget> parent_;
    QString lastPicture_;
};

class QtShell : public Shell {
public:
    bool open(const QUrl& target) override;
    void start(const QString& program) override;
};

// Shows the HTML help file in a small browser window of its own.
class QtHelpViewer : public HelpViewer {
public:
    ~QtHelpViewer() override;
    void show(const QString& helpFile) override;

private:
    QTextBrowser* window_ = nullptr;
};

} // namespace kelmor
