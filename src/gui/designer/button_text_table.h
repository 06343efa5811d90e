#pragma once

#include <QString>
#include <QTableWidget>
#include <string>
#include <vector>

namespace kelmor {

// One button of the designer's list: its text and the page it links to.
struct ButtonTextRow {
    std::string text;
    QString link;
};

// The designer's list of buttons: a "Text" and a "Link" column, one button a row, and always an
// empty last row to type the next button into. Until a link is typed, a row shows the link its
// text gives (NAME.html, as the pictures' file names are made) in the placeholder colour; a typed
// link stays when the text changes, and emptying it brings the given one back. Tab and the arrow
// keys move between the cells, typing edits one, and Delete removes the rows of the selected
// cells.
class ButtonTextTable : public QTableWidget {
    Q_OBJECT
public:
    explicit ButtonTextTable(QWidget* parent = nullptr);

    // The texts of the rows that hold one, without the blanks around them.
    std::vector<std::string> texts() const;
    // Every row that holds a text or a typed link, with its link; a link without a text throws
    // the empty text's Error.
    std::vector<ButtonTextRow> rows() const;
    // Removes the rows of the selected cells; the empty last row stays.
    void removeSelectedRows();

signals:
    void textsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab on the last cell and Shift+Tab on the first leave the list instead of going round.
    bool focusNextPrevChild(bool next) override;
    // Tab out of the editor of the last cell (Shift+Tab out of the first) leaves the list too.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void appendEmptyRow();
    void cellEdited(QTableWidgetItem* item);
    bool linkTyped(int row) const;
    // Shows the link the row's text gives, unless one is typed.
    void showGivenLink(int row);
    bool rowIsEmpty(int row) const;

    bool updating_ = false;
};

} // namespace kelmor
