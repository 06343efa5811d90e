#pragma once

#include "project/project_file.h"
#include "ui/services.h"
#include "ui/tool_commands.h"

#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QTableView;
class QUndoStack;

namespace kelmor {

class ButtonListModel;

// The Button list: the heading, the grid's tool bar (Clear Selected, Add New Row, Delete
// Selected Row, the button count label and the project name label) and the grid itself.
// The current cell's row is the target of every row command; it is never the header row.
class ButtonListPanel : public QWidget {
    Q_OBJECT
public:
    explicit ButtonListPanel(Dialogs& dialogs, QWidget* parent = nullptr);
    ~ButtonListPanel() override;

    ButtonListModel& model() { return *model_; }
    const ButtonListModel& model() const { return *model_; }
    QTableView& view() { return *view_; }

    int currentRow() const;
    // The button count label's text: the row count minus one, as Build reads it.
    QString countText() const;
    void updateButtonCount();
    void setProjectName(const QString& name);
    // The grid's pop-up menu.
    void addPopupAction(QAction* action);

    void clearSelected();
    void addNewRow();
    void deleteSelectedRow();

    // The undo stack of the project: every change of the grid is one step on it, and its
    // clean state tells whether the grid holds changes no file has.
    QUndoStack& undoStack() { return *undoStack_; }
    // Runs `change` on the grid as one undoable step named `text`.
    void recordChange(const QString& text, const std::function<void()>& change);
    // A fresh list: the header row and one empty data row; the stack is emptied.
    void resetList();

    // Read: replaces the list with the file's contents and empties the undo stack; the grid is
    // unchanged when the file cannot be opened. The current cell moves to the last row or column
    // if it no longer exists.
    void readProject(const QString& path, const ProgressHook& progress);
    // Write: the last column's width is written as shown; the list counts as saved.
    void writeProject(const QString& path, const ProgressHook& progress);

signals:
    // A double-click anywhere on the grid: the current row is to be copied into the fields.
    void recallRequested();
    // The user moved the current cell to another row or column.
    void currentCellChanged();

private:
    QWidget* buildToolRow(Dialogs& dialogs);
    void buildGrid();
    void followCurrentCell();
    void setCurrentCell(int column, int row);
    void applyColumnWidths();
    // Undo and Redo: the grid takes a whole state back, the current cell staying where it can.
    void restoreGrid(const StringGrid& grid);

    std::unique_ptr<CommandSet> commands_;
    ButtonListModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* projectName_ = nullptr;
    QUndoStack* undoStack_ = nullptr;
    bool movingCurrent_ = false;
};

} // namespace kelmor
