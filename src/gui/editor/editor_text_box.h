#pragma once

#include <QPlainTextEdit>
#include <QString>

class QMenu;

namespace kelmor {

// The Html tab's editor text box (RichEdit2): a plain text control used as a
// list of lines. In the file every line ends with CR LF; in the control a line
// end is a paragraph break.
class EditorTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit EditorTextBox(QWidget* parent = nullptr);

    // Replaces the whole text with the given lines, each followed by a line end. Replacing,
    // loading and saving the text leave it unmodified; typing modifies it.
    void setLines(const QStringList& lines);
    // The text as the file holds it: CR LF at every line end.
    QString fileText() const;
    // Writes the text unchanged, in the encoding the text was loaded in (the
    // locale's 8-bit encoding unless told otherwise); "Cannot create file %s".
    void saveToFile(const QString& path) const;
    // Reads a file, a lone CR or LF becoming CR LF; "Cannot open file %s",
    // "Text exceeds memo capacity". On failure the text stays as it was.
    void loadFromFile(const QString& path);

    // Empties the text as one edit that Undo can take back.
    void clearText();
    // Single-level undo: takes back the last edit; a second undo restores
    // what the first took back.
    void undoLastEdit();

    // The pop-up menu: "&Undo", a separator, "&Copy", "Cu&t", "&Paste".
    QMenu& popupMenu() { return *popupMenu_; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void replaceText(const QString& text);

    QMenu* popupMenu_ = nullptr;
    // Set when the text last loaded was not valid in the locale's encoding:
    // it was read byte for byte as Latin-1 and is written back the same way,
    // so saving never changes bytes the editor did not touch.
    bool latin1_ = false;
    bool undoneLast_ = false;
};

} // namespace kelmor
