#include "project/button_list_panel.h"

#include "project/button_columns.h"
#include "project/button_list_model.h"
#include "ui/qt_text.h"
#include "ui/tool_commands.h"
#include "ui/undo_step.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace kelmor {
namespace {

constexpr int kRowHeight = 21;
// Clearing a row stops before "Target Page": that cell keeps its text.
constexpr int kLastClearedColumn = ButtonColumn::PageTitle;

// A double-click anywhere on the grid, the header row and the empty space below the last row
// included, recalls the current row.
class ButtonGridView : public QTableView {
public:
    using QTableView::QTableView;
    std::function<void()> onDoubleClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTableView::mouseDoubleClickEvent(event);
        if (onDoubleClick)
            onDoubleClick();
    }
};

} // namespace

ButtonListPanel::~ButtonListPanel() = default;

ButtonListPanel::ButtonListPanel(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), undoStack_(new QUndoStack(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* heading = new QLabel(QStringLiteral("Buttons ListBox"), this);
    layout->addWidget(heading);

    layout->addWidget(buildToolRow(dialogs));
    buildGrid();
    layout->addWidget(view_, 1);
    applyColumnWidths();
    setCurrentCell(0, 1);
    followCurrentCell();
}

QWidget* ButtonListPanel::buildToolRow(Dialogs& dialogs) {
    // A row of its own rather than a tool bar, so the count label never folds away into an
    // overflow menu when the grid is narrow.
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ButtonListToolBar"));
    bar->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // The keys answer while the focus is on the grid or the row of buttons.
    using C = Command<ButtonListPanel>;
    commands_ = std::make_unique<CommandSet>(
        *this, dialogs,
        std::initializer_list<C>{
            {"ClearSelected", "&Clear Selected", "Clear Selected", CommandIcon::ClearSelected,
             Qt::Key_Delete, &ButtonListPanel::clearSelected, Place::ToolBar},
            {"AddNewRow", "&Add New Row", "Add New Row", CommandIcon::AddRow, Qt::Key_Insert,
             &ButtonListPanel::addNewRow, Place::ToolBar},
            {"DeleteSelectedRow", "&Delete Selected Row", "Delete Selected Row",
             CommandIcon::DeleteRow, Qt::CTRL | Qt::Key_Delete, &ButtonListPanel::deleteSelectedRow,
             Place::ToolBar},
        });
    row->addWidget(commands_->makeButton("ClearSelected", *bar, ToolBarSize::Small));
    auto* separator = new QFrame(bar);
    separator->setFrameShape(QFrame::VLine);
    row->addWidget(separator);
    for (const char* id : {"AddNewRow", "DeleteSelectedRow"})
        row->addWidget(commands_->makeButton(id, *bar, ToolBarSize::Small));
    row->addWidget(new QLabel(QStringLiteral("Number of Buttons: "), bar));
    count_ = new QLabel(bar);
    count_->setObjectName(QStringLiteral("Label10"));
    count_->setAccessibleDescription(QStringLiteral("Number of Buttons"));
    count_->setMinimumWidth(16);
    row->addWidget(count_);
    projectName_ = new QLabel(bar);
    projectName_->setObjectName(QStringLiteral("ProjectName"));
    projectName_->setAccessibleDescription(QStringLiteral("Project name"));
    // The name takes only the room the commands and the count leave, so on a narrow
    // panel it is cut off instead of being drawn over the count.
    projectName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addSpacing(8);
    row->addWidget(projectName_, 1);
    return bar;
}

void ButtonListPanel::buildGrid() {
    model_ = new ButtonListModel(newButtonList(), this);
    auto* grid = new ButtonGridView(this);
    grid->onDoubleClick = [this] { emit recallRequested(); };
    view_ = grid;
    view_->setObjectName(QStringLiteral("StringGrid1"));
    view_->setAccessibleName(QStringLiteral("Button list"));
    // F2 edits the current cell in place; a double-click recalls its row.
    view_->setEditTriggers(QAbstractItemView::EditKeyPressed);
    model_->onEdit = [this](int column, int row, const QString& text) {
        recordChange(QStringLiteral("Edit Cell"), [&] { model_->setCell(column, row, text); });
    };
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setShowGrid(true);
    view_->setWordWrap(false);
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setMinimumSectionSize(kRowHeight);
    view_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    view_->horizontalHeader()->hide();
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->horizontalHeader()->setSectionsMovable(false);
    // The headers get their sizes before the model arrives, so that they lay out their
    // sections once, not again for every setting.
    view_->setModel(model_);
}

// The current cell never rests on the header row; a move to another cell is reported.
void ButtonListPanel::followCurrentCell() {
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (movingCurrent_)
                    return;
                if (current.isValid() && current.row() == 0) {
                    setCurrentCell(current.column(), 1);
                    return;
                }
                if (current.row() != previous.row() || current.column() != previous.column())
                    emit currentCellChanged();
            });
}

int ButtonListPanel::currentRow() const {
    const QModelIndex current = view_->currentIndex();
    return current.isValid() ? std::max(current.row(), 1) : 1;
}

QString ButtonListPanel::countText() const {
    return count_->text();
}

void ButtonListPanel::updateButtonCount() {
    count_->setText(QString::number(model_->rowCount() - 1));
}

void ButtonListPanel::setProjectName(const QString& name) {
    projectName_->setText(name);
}

void ButtonListPanel::addPopupAction(QAction* action) {
    view_->addAction(action);
}

void ButtonListPanel::setCurrentCell(int column, int row) {
    movingCurrent_ = true;
    const int lastRow = model_->rowCount() - 1;
    const int lastColumn = model_->columnCount() - 1;
    if (lastRow >= 1) {
        const QModelIndex cell =
            model_->index(std::clamp(row, 1, lastRow), std::clamp(column, 0, lastColumn));
        view_->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    } else {
        view_->selectionModel()->clear();
    }
    movingCurrent_ = false;
}

void ButtonListPanel::applyColumnWidths() {
    const StringGrid& grid = model_->grid();
    for (int c = 0; c + 1 < grid.columnCount(); ++c)
        view_->setColumnWidth(c, grid.columnWidth(c));
}

void ButtonListPanel::clearSelected() {
    recordChange(QStringLiteral("Clear Selected"),
                 [this] { model_->clearCells(currentRow(), 0, kLastClearedColumn); });
}

void ButtonListPanel::addNewRow() {
    recordChange(QStringLiteral("Add New Row"), [this] {
        const int row = currentRow();
        const int column = std::max(view_->currentIndex().column(), 0);
        model_->insertEmptyRow(row);
        setCurrentCell(column, row);
        updateButtonCount();
    });
}

void ButtonListPanel::deleteSelectedRow() {
    recordChange(QStringLiteral("Delete Selected Row"), [this] {
        if (countText() == QLatin1String("1")) {
            model_->clearCells(currentRow(), 0, kLastClearedColumn);
        } else {
            const int row = currentRow();
            const int column = std::max(view_->currentIndex().column(), 0);
            model_->removeGridRow(row);
            setCurrentCell(column, row);
        }
        updateButtonCount();
    });
}

void ButtonListPanel::recordChange(const QString& text, const std::function<void()>& change) {
    StringGrid before = model_->grid();
    change();
    pushStep<StringGrid>(*undoStack_, text, std::move(before), model_->grid(),
                         [this](const StringGrid& grid) { restoreGrid(grid); });
}

void ButtonListPanel::restoreGrid(const StringGrid& grid) {
    const QModelIndex current = view_->currentIndex();
    model_->replaceGrid(grid);
    applyColumnWidths();
    setCurrentCell(current.isValid() ? current.column() : 0, current.isValid() ? current.row() : 1);
    updateButtonCount();
}

void ButtonListPanel::resetList() {
    restoreGrid(newButtonList());
    undoStack_->clear();
}

void ButtonListPanel::readProject(const QString& path, const ProgressHook& progress) {
    const QModelIndex current = view_->currentIndex();
    StringGrid grid = model_->grid();
    readProjectFile(toLocal(path), grid, progress);
    model_->replaceGrid(std::move(grid));
    applyColumnWidths();
    setCurrentCell(current.isValid() ? current.column() : 0, current.isValid() ? current.row() : 1);
    undoStack_->clear();
}

void ButtonListPanel::writeProject(const QString& path, const ProgressHook& progress) {
    const int last = model_->columnCount() - 1;
    model_->setColumnWidth(last, view_->columnWidth(last));
    writeProjectFile(toLocal(path), model_->grid(), progress);
    undoStack_->setClean();
}

} // namespace kelmor
