#include "editor/editor_text_box.h"

#include "app/qt_text.h"
#include "base/atomic_file.h"
#include "editor/text_file.h"

namespace kelmor {

EditorTextBox::EditorTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("RichEdit2"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void EditorTextBox::setLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1Char('\n');
    }
    setPlainText(text);
}

QString EditorTextBox::fileText() const {
    return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void EditorTextBox::saveToFile(const QString& path) const {
    writeFileReplacing(toLocal(path), toLocal(fileText()));
}

void EditorTextBox::loadFromFile(const QString& path) {
    QString text = toQt(toCrLf(readWholeFile(toLocal(path))));
    setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

} // namespace kelmor
