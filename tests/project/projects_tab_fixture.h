#pragma once

#include "app_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace kelmor::test {

// The running program with helpers that drive the Projects tab as a user would.
class ProjectsTabFixture : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        start();
    }

    // The text of an edit box, a drop-down box or a label.
    QString text(const char* name) const {
        QWidget* widget = find<QWidget>(name);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            return edit->text();
        if (auto* box = qobject_cast<QComboBox*>(widget))
            return box->currentText();
        if (auto* label = qobject_cast<QLabel*>(widget))
            return label->text();
        ADD_FAILURE() << name << " holds no text";
        return {};
    }

    void type(const char* name, const QString& value) const {
        QWidget* widget = find<QWidget>(name);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->setText(value);
        else if (auto* box = qobject_cast<QComboBox*>(widget))
            box->setEditText(value);
        else
            ADD_FAILURE() << name << " cannot be typed into";
    }

    // Clicks a button, first bringing its editor tab to the front.
    void press(const char* name) const {
        auto* button = find<QAbstractButton>(name);
        ASSERT_NE(button, nullptr);
        for (QWidget* w = button; w && w->parentWidget(); w = w->parentWidget())
            if (auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget()))
                if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                    tabs->setCurrentWidget(w);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Runs a tool bar command as its button would.
    void trigger(const char* name) const {
        auto* action = find<QAction>(name);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled()) << name << " is disabled";
        action->trigger();
    }

    QTableView* grid() const { return find<QTableView>("StringGrid1"); }
    int rows() const { return grid()->model()->rowCount(); }
    QString cell(int column, int row) const {
        return grid()->model()->index(row, column).data().toString();
    }
    int currentRow() const { return grid()->currentIndex().row(); }

    QPoint cellCentre(int column, int row) const {
        const QModelIndex index = grid()->model()->index(row, column);
        grid()->scrollTo(index);
        return grid()->visualRect(index).center();
    }
    void clickCell(int column, int row) const {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(column, row));
    }
    void doubleClickCell(int column, int row) const {
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(column, row));
    }

    QString count() const { return text("Label10"); }
    bool saveCommandsEnabled() const {
        return find<QAction>("SaveProject")->isEnabled() &&
               find<QAction>("SaveProjectAs")->isEnabled() &&
               find<QAction>("PopupSave")->isEnabled() && find<QAction>("PopupSaveAs")->isEnabled();
    }
};

} // namespace kelmor::test
