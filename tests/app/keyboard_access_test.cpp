#include "animation/anim_form.h"
#include "animation/gifs_tab.h"
#include "app/about_form.h"
#include "app_fixture.h"
#include "designer/button_designer.h"
#include "prefs/form_prefs.h"
#include "project/projects_tab.h"
#include "sound/sound_form.h"
#include "ui/tab_page.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace kelmor::test {
namespace {

QString nameOf(const QObject& control) {
    if (!control.objectName().isEmpty())
        return control.objectName();
    const QString kind = QString::fromLatin1(control.metaObject()->className());
    const QObject* owner = control.parent();
    return owner != nullptr && !owner->objectName().isEmpty()
               ? owner->objectName() + QLatin1Char(' ') + kind
               : kind;
}

bool accessiblyNamed(QObject& control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&control);
    return face != nullptr && !face->text(QAccessible::Name).trimmed().isEmpty();
}

// The controls a person works with. Parts of a composite control (a view's header, the tab
// bar's scroll arrows) belong to it; an editable box's own edit does not, as the accessibility
// bus shows it as a control of its own.
bool interactive(const QWidget& control) {
    const QWidget* parent = control.parentWidget();
    if ((qobject_cast<const QComboBox*>(parent) && !qobject_cast<const QLineEdit*>(&control)) ||
        qobject_cast<const QAbstractSpinBox*>(parent) ||
        qobject_cast<const QAbstractItemView*>(parent) || qobject_cast<const QTabBar*>(parent) ||
        control.objectName().startsWith(QLatin1String("qt_")) ||
        qobject_cast<const QHeaderView*>(&control))
        return false;
    return qobject_cast<const QLineEdit*>(&control) || qobject_cast<const QComboBox*>(&control) ||
           qobject_cast<const QAbstractButton*>(&control) ||
           qobject_cast<const QAbstractSpinBox*>(&control) ||
           qobject_cast<const QAbstractItemView*>(&control) ||
           qobject_cast<const QPlainTextEdit*>(&control) || qobject_cast<const QTabBar*>(&control);
}

bool inSomeMenu(const QAction& action) {
    for (QObject* shown : action.associatedObjects())
        if (qobject_cast<QMenu*>(shown))
            return true;
    return false;
}

// What a keyboard or screen-reader user would miss in the window as it is shown now.
void checkShown(QWidget& window, QSet<QString>& problems) {
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisible() || !interactive(*control))
            continue;
        const QString name = nameOf(*control);
        if (auto* bar = qobject_cast<QTabBar*>(control)) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(bar);
            for (int i = 0; i < face->childCount(); ++i)
                if (face->child(i)->role() == QAccessible::PageTab &&
                    face->child(i)->text(QAccessible::Name).trimmed().isEmpty())
                    problems << name + QStringLiteral(": a page tab without a name");
        } else if (!accessiblyNamed(*control)) {
            problems << name + QStringLiteral(": no accessible name");
        }
        if (QAccessibleTableInterface* table =
                QAccessible::queryAccessibleInterface(control)->tableInterface())
            for (int column = 0; column < table->columnCount(); ++column)
                if (table->columnDescription(column).trimmed().isEmpty())
                    problems << name + QStringLiteral(": column %1 without a caption").arg(column);
        auto* button = qobject_cast<QToolButton*>(control);
        if (button != nullptr && button->defaultAction() != nullptr) {
            if (button->defaultAction()->shortcut().isEmpty() &&
                !inSomeMenu(*button->defaultAction()))
                problems << name + QStringLiteral(": a command with no menu entry and no key");
        } else if ((control->focusPolicy() & Qt::TabFocus) == 0) {
            problems << name + QStringLiteral(": not reached with Tab");
        }
    }
}

// Runs the check on every page of every tab control inside scope, nested ones included.
void checkEveryPage(QWidget& window, QWidget& scope, QSet<QString>& problems) {
    checkShown(window, problems);
    for (QTabWidget* tabs : scope.findChildren<QTabWidget*>()) {
        QWidget* outer = tabs->parentWidget();
        while (outer != &scope && qobject_cast<QTabWidget*>(outer) == nullptr)
            outer = outer->parentWidget();
        if (outer != &scope)
            continue; // reached through the tab control around it
        const int shown = tabs->currentIndex();
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            checkEveryPage(window, *tabs->widget(page), problems);
        }
        tabs->setCurrentIndex(shown);
    }
}

class KeyboardAccessTest : public AppFixture {
protected:
    QStringList problemsEverywhere() {
        QSet<QString> problems;
        checkEveryPage(app->mainWindow(), app->mainWindow(), problems);
        for (QWidget* window :
             std::initializer_list<QWidget*>{&app->prefs(), &app->sound(), &app->about(),
                                             &app->designer(), &tab<GifsTab>().gifsOptions()}) {
            window->show();
            checkEveryPage(*window, *window, problems);
            window->hide();
        }
        QStringList sorted = problems.values();
        sorted.sort();
        return sorted;
    }

    // The help page of a tab lists every key of the tab's commands.
    QStringList keysMissingFromHelp() {
        QStringList missing;
        for (TabPage* page : app->mainWindow().tabPages()) {
            const QString file =
                dataDir() + QStringLiteral("/help/%1.html")
                                .arg(QString::fromLatin1(page->heading().caption).toLower());
            QFile helpPage(file);
            EXPECT_TRUE(helpPage.open(QIODevice::ReadOnly)) << file.toStdString();
            const QString text = QString::fromUtf8(helpPage.readAll());
            for (const QAction* action : page->commands().actions()) {
                const QString key = action->shortcut().toString(QKeySequence::NativeText);
                if (!key.isEmpty() && !text.contains(key))
                    missing << QString::fromLatin1(page->heading().caption) + QStringLiteral(": ") +
                                   key + QStringLiteral("\t") + action->toolTip();
            }
        }
        return missing;
    }
};

TEST_F(KeyboardAccessTest, EveryControlIsNamedReachableAndEveryCommandHasAKey) {
    start();
    EXPECT_EQ(problemsEverywhere(), QStringList());
    EXPECT_EQ(keysMissingFromHelp(), QStringList());
}

// Pressing a tool-bar command's key, with the focus on the list nearest to its
// button, runs that command once; no other command of the window shares the key.
TEST_F(KeyboardAccessTest, EveryToolBarKeyRunsItsCommandOnItsTab) {
    start();
    TKelButton& window = app->mainWindow();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* tabs = find<QTabWidget>("PageControl1");
    QStringList notRun;
    int pressed = 0;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        for (QToolButton* button : tabs->widget(tab)->findChildren<QToolButton*>()) {
            QAction* command = button->defaultAction();
            if (command == nullptr || !button->isVisible() || !command->isEnabled() ||
                command->shortcut().isEmpty() || button->objectName().startsWith(u"UpDown"))
                continue;
            QWidget* near = button->parentWidget();
            while (near->findChildren<QAbstractItemView*>().isEmpty())
                near = near->parentWidget();
            QAbstractItemView* list = near->findChildren<QAbstractItemView*>().constFirst();
            list->setFocus();
            int runs = 0;
            const auto counter =
                QObject::connect(command, &QAction::triggered, [&runs] { ++runs; });
            const QKeyCombination key = command->shortcut()[0];
            QTest::keyClick(list, key.key(), key.keyboardModifiers());
            QObject::disconnect(counter);
            ++pressed;
            if (runs != 1)
                notRun << button->objectName();
            window.activateWindow(); // a command may have shown another window
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        }
    }
    EXPECT_EQ(notRun, QStringList());
    EXPECT_GE(pressed, 41); // every enabled command of the four tool bars and the two lists
}

TEST_F(KeyboardAccessTest, AnUnnamedEditAndAKeylessCommandAreFound) {
    start();
    auto* planted = new QLineEdit(&tab<ProjectsTab>());
    planted->setObjectName(QStringLiteral("PlantedEdit"));
    planted->show();
    auto* command = new QAction(&app->sound());
    auto* button = new QToolButton(&app->sound());
    button->setObjectName(QStringLiteral("PlantedCommand"));
    button->setDefaultAction(command);
    button->setAccessibleName(QStringLiteral("Planted"));
    EXPECT_EQ(
        problemsEverywhere(),
        (QStringList{QStringLiteral("PlantedCommand: a command with no menu entry and no key"),
                     QStringLiteral("PlantedEdit: no accessible name")}));
}

} // namespace
} // namespace kelmor::test
