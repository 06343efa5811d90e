#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace kelmor {

// The Html tab's editor text box (RichEdit2): a plain text control used as a
// list of lines. In the file every line ends with CR LF; in the control a line
// end is a paragraph break.
class EditorTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit EditorTextBox(QWidget* parent = nullptr);

    // Replaces the whole text with the given lines, each followed by a line end.
    void setLines(const QStringList& lines);
    // The text as the file holds it: CR LF at every line end.
    QString fileText() const;
    // Writes the text unchanged in the locale's 8-bit encoding; "Cannot create file %s".
    void saveToFile(const QString& path) const;
    // Reads a file, a lone CR or LF becoming CR LF; "Cannot open file %s".
    void loadFromFile(const QString& path);
};

} // namespace kelmor
