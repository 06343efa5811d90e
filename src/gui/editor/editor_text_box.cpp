#include "editor/editor_text_box.h"

#include "base/atomic_file.h"
#include "base/messages.h"
#include "editor/text_file.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kelmor {

EditorTextBox::EditorTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("RichEdit2"));
    setAccessibleName(QStringLiteral("File text"));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(QStringLiteral("PopupMenu2"));
    QAction* undo =
        popupMenu_->addAction(QStringLiteral("&Undo"), this, &EditorTextBox::undoLastEdit);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    popupMenu_->addSeparator();
    popupMenu_->addAction(QStringLiteral("&Copy"), this, &QPlainTextEdit::copy)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    popupMenu_->addAction(QStringLiteral("Cu&t"), this, &QPlainTextEdit::cut)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    popupMenu_->addAction(QStringLiteral("&Paste"), this, &QPlainTextEdit::paste)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));

    connect(document(), &QTextDocument::undoCommandAdded, this, [this] { undoneLast_ = false; });
}

void EditorTextBox::replaceText(const QString& text) {
    setPlainText(text);
    undoneLast_ = false;
}

void EditorTextBox::setLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1Char('\n');
    }
    latin1_ = false;
    replaceText(text);
}

QString EditorTextBox::fileText() const {
    // The raw text keeps every character as typed or loaded (toPlainText
    // would turn non-breaking spaces into blanks); blocks are separated by
    // paragraph separators.
    QString text = document()->toRawText();
    return text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

void EditorTextBox::saveToFile(const QString& path) const {
    const WaitCursor wait;
    const QString text = fileText();
    std::string bytes;
    if (latin1_) {
        QStringEncoder latin1(QStringConverter::Latin1);
        const QByteArray encoded = latin1.encode(text);
        if (!latin1.hasError())
            bytes.assign(encoded.constData(), static_cast<size_t>(encoded.size()));
        else
            bytes = toLocal(text);
    } else {
        bytes = toLocal(text);
    }
    const std::string file = toLocal(path);
    checkPathName(file, msg::kCannotCreateFile);
    writeFileReplacing(file, bytes);
}

void EditorTextBox::loadFromFile(const QString& path) {
    const WaitCursor wait;
    const std::string bytes = readTextFile(toLocal(path));
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder local(QStringConverter::System);
    QString text = local.decode(view);
    const bool latin1 = local.hasError();
    if (latin1)
        text = QString::fromLatin1(view);
    // After the conversion every CR starts a CR LF pair: the control keeps LF alone.
    text.remove(QLatin1Char('\r'));
    latin1_ = latin1;
    replaceText(text);
}

void EditorTextBox::clearText() {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
}

void EditorTextBox::undoLastEdit() {
    if (undoneLast_ && document()->isRedoAvailable()) {
        redo();
        undoneLast_ = false;
    } else if (document()->isUndoAvailable()) {
        undo();
        undoneLast_ = true;
    }
}

void EditorTextBox::contextMenuEvent(QContextMenuEvent* event) {
    popupMenu_->exec(event->globalPos());
}

void EditorTextBox::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Undo) {
        undoLastEdit();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace kelmor
