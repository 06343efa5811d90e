#include "test_services.h"

#include <QDialog>
#include <QFileInfo>

namespace kelmor::test {
namespace {

template <class T> std::optional<T> next(std::deque<std::optional<T>>& answers) {
    if (answers.empty())
        return std::nullopt;
    std::optional<T> answer;
    answer.swap(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

std::optional<QString> ScriptedDialogs::chooseOpenFile(const QString& filter,
                                                       const QString& startPath) {
    fileRequests << QStringLiteral("open|") + filter + QLatin1Char('|') + startPath;
    return next(fileAnswers);
}

std::optional<QString> ScriptedDialogs::choosePicture() {
    fileRequests << QStringLiteral("picture");
    return next(fileAnswers);
}

// A name answered without an extension takes the default suffix, as the desktop's dialog
// gives it one.
std::optional<QString> ScriptedDialogs::chooseSaveFile(const QString& filter,
                                                       const QString& proposedPath,
                                                       const QString& defaultSuffix,
                                                       Overwrite overwrite) {
    fileRequests << QStringLiteral("save|") + filter + QLatin1Char('|') + proposedPath +
                        (overwrite == Overwrite::Replace ? QStringLiteral("|replace") : QString());
    std::optional<QString> answer = next(fileAnswers);
    if (answer && !defaultSuffix.isEmpty() && !QFileInfo(*answer).fileName().contains(u'.'))
        *answer += QLatin1Char('.') + defaultSuffix;
    return answer;
}

std::optional<QString> ScriptedDialogs::pickFolder(const QString&) {
    return next(folderAnswers);
}

std::optional<QColor> ScriptedDialogs::pickColor(const QColor&) {
    return next(colorAnswers);
}

std::optional<QString> ScriptedDialogs::askText(const QString& question, const QString&) {
    questions << question;
    return next(textAnswers);
}

bool ScriptedDialogs::confirm(const QString& question) {
    questions << question;
    if (confirmAnswers.empty())
        return false;
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

Dialogs::SaveChoice ScriptedDialogs::askSaveChanges(const QString& document) {
    saveQuestions << QStringLiteral("Save changes to %1?").arg(document);
    if (saveAnswers.empty())
        return SaveChoice::Discard;
    const SaveChoice answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::error(const QString& message) {
    errors << message;
}

int ScriptedDialogs::runModal(QDialog& dialog) {
    modalShown << dialog.objectName();
    return onModal ? onModal(dialog) : QDialog::Rejected;
}

} // namespace kelmor::test
