#include "ui/qt_services.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/picture.h"
#include "ui/qt_text.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>

namespace kelmor {

QString QtDialogs::toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses, so they must be blank-separated.
        static const QRegularExpression trailing(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(trailing);
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> QtDialogs::chooseOpenFile(const QString& filter, const QString& startPath) {
    QString chosen =
        QFileDialog::getOpenFileName(parent_, QString(), startPath, toQtFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtDialogs::choosePicture() {
    QString chosen = QFileDialog::getOpenFileName(parent_, QString(), lastPicture_,
                                                  toQtFilter(toQt(pictureOpenFilter())));
    if (chosen.isEmpty())
        return std::nullopt;
    lastPicture_ = chosen;
    return chosen;
}

std::optional<QString> QtDialogs::chooseSaveFile(const QString& filter, const QString& proposedPath,
                                                 const QString& defaultSuffix,
                                                 Overwrite overwrite) {
    QFileDialog dialog(parent_, QString(), proposedPath, toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    // A name typed without an extension takes the one of the file type chosen in the dialog.
    if (!defaultSuffix.isEmpty())
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
                static const QRegularExpression extension(QStringLiteral("\\(\\*\\.(\\w+)"));
                if (const QRegularExpressionMatch match = extension.match(chosen); match.hasMatch())
                    dialog.setDefaultSuffix(match.captured(1));
            });
    dialog.setOption(QFileDialog::DontConfirmOverwrite, overwrite == Overwrite::Replace);
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::pickFolder(const QString& startFolder) {
    QString chosen = QFileDialog::getExistingDirectory(parent_, QString(), startFolder);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QColor> QtDialogs::pickColor(const QColor& initial) {
    QColor chosen = QColorDialog::getColor(initial, parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtDialogs::askText(const QString& question, const QString& initial) {
    bool accepted = false;
    const QString text = QInputDialog::getText(parent_, QStringLiteral("Kelmor"), question,
                                               QLineEdit::Normal, initial, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

bool QtDialogs::confirm(const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question,
                    QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

Dialogs::SaveChoice QtDialogs::askSaveChanges(const QString& document) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Kelmor"),
                    toQt(format(msg::kSaveChangesTo, toLocal(document))), QMessageBox::NoButton,
                    parent_);
    QPushButton* save = box.addButton(QStringLiteral("&Save"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    return box.clickedButton() == discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

void QtDialogs::error(const QString& message) {
    QMessageBox::critical(parent_, QStringLiteral("Kelmor"), message);
}

int QtDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtShell::open(const QUrl& target) {
    return QDesktopServices::openUrl(target);
}

void QtShell::start(const QString& program) {
    QProcess::startDetached(program, {});
}

QtHelpViewer::~QtHelpViewer() {
    delete window_;
}

void QtHelpViewer::show(const QString& helpFile) {
    if (!window_) {
        window_ = new QTextBrowser;
        window_->setOpenExternalLinks(true);
        window_->resize(640, 560);
    }
    window_->setWindowTitle(QStringLiteral("Kelmor Help"));
    if (QFileInfo::exists(helpFile))
        window_->setSource(QUrl::fromLocalFile(helpFile));
    else
        window_->setPlainText(QStringLiteral("Cannot find the help file ") + helpFile);
    window_->show();
    window_->raise();
}

} // namespace kelmor
