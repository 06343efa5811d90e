#pragma once

#include "ui/services.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace kelmor::test {

// Dialogs that answer from a script and record every question and message.
// An unscripted file or folder dialog answers "cancel"; an unscripted
// confirmation answers No.
class ScriptedDialogs : public Dialogs {
public:
    std::deque<std::optional<QString>> fileAnswers;   // openFile, openPicture, saveFile
    std::deque<std::optional<QString>> folderAnswers; // pickFolder
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QString>> textAnswers; // askText
    std::deque<bool> confirmAnswers;
    // askSaveChanges; an unscripted question answers Discard.
    std::deque<SaveChoice> saveAnswers;
    // Called for each modal dialog instead of a nested event loop; returns its result.
    std::function<int(QDialog&)> onModal;

    QStringList errors;
    QStringList questions;     // confirm and askText
    QStringList fileRequests;  // "open|filter|start", "picture", "save|filter|proposed"
    QStringList modalShown;    // object names of dialogs run modally
    QStringList saveQuestions; // "Save changes to NAME?"
    QStringList remembered;    // pictures passed to rememberPicture

    std::optional<QString> pickFolder(const QString& startFolder) override;
    std::optional<QColor> pickColor(const QColor& initial) override;
    std::optional<QString> askText(const QString& question, const QString& initial) override;
    bool confirm(const QString& question) override;
    SaveChoice askSaveChanges(const QString& document) override;
    void rememberPicture(const QString& path) override { remembered << path; }
    void error(const QString& message) override;
    int runModal(QDialog& dialog) override;

protected:
    std::optional<QString> chooseOpenFile(const QString& filter, const QString& startPath) override;
    std::optional<QString> choosePicture() override;
    std::optional<QString> chooseSaveFile(const QString& filter, const QString& proposedPath,
                                          const QString& defaultSuffix,
                                          Overwrite overwrite) override;
};

class RecordingShell : public Shell {
public:
    QStringList opened; // the addresses handed over, as text
    QStringList started;
    bool opens = true; // what the desktop reports
    bool open(const QUrl& target) override {
        opened << target.toString();
        return opens;
    }
    void start(const QString& program) override { started << program; }
};

class RecordingHelpViewer : public HelpViewer {
public:
    QStringList shown;
    void show(const QString& helpFile) override { shown << helpFile; }
};

} // namespace kelmor::test
