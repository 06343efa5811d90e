#include "project/button_columns.h"
#include "project/button_list_panel.h"
#include "projects_tab_fixture.h"

#include <QApplication>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>

namespace kelmor::test {
namespace {

class ButtonListTest : public ProjectsTabFixture {};

TEST_F(ButtonListTest, FreshStartHasHeaderAndOneEmptyRow) {
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(count(), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("Normal Button"));
    EXPECT_EQ(cell(ButtonColumn::TargetPage, 0), QStringLiteral("Target Page"));
    for (int column = 0; column < ButtonColumn::Count; ++column)
        EXPECT_TRUE(cell(column, 1).isEmpty());
    EXPECT_EQ(currentRow(), 1);
    EXPECT_FALSE(saveCommandsEnabled());
    EXPECT_EQ(text("ComboBox1"), QStringLiteral("_top"));
    EXPECT_EQ(text("ComboBox5"), QStringLiteral("_top"));
    EXPECT_TRUE(text("ComboBox3").isEmpty());
    EXPECT_TRUE(text("ComboBox4").isEmpty());
}

// The sound button's fields are built when their tab is first opened; Tab still walks them
// in reading order straight after the editor's tab bar.
TEST_F(ButtonListTest, TabWalksTheSoundTabInReadingOrderOnceOpened) {
    auto* tabs = app->mainWindow().findChild<QTabWidget*>(QStringLiteral("EditorTabs"));
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentIndex(1);
    // The widgets Tab stops at, following the window's keyboard order from the tab bar.
    QStringList walked;
    QWidget* stop = tabs->tabBar();
    while (walked.size() < 5) {
        stop = stop->nextInFocusChain();
        if (stop->isVisible() && (stop->focusPolicy() & Qt::TabFocus) != 0)
            walked << stop->objectName();
    }
    EXPECT_EQ(walked, (QStringList{QStringLiteral("Edit9"), QStringLiteral("Edit10"),
                                   QStringLiteral("Edit19"), QStringLiteral("PickSoundNormal"),
                                   QStringLiteral("Edit8")}));
}

TEST_F(ButtonListTest, SecondAddWithoutNewRowOverwritesRowOne) {
    type("Edit11", QStringLiteral("a.gif"));
    press("AddPlainButton");
    type("Edit11", QStringLiteral("b.gif"));
    press("AddPlainButton");
    EXPECT_EQ(cell(0, 1), QStringLiteral("b.gif"));
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(count(), QStringLiteral("1"));
}

TEST_F(ButtonListTest, AddEnablesEverySaveCommandAndTheFileMenu) {
    press("AddPlainButton");
    EXPECT_TRUE(saveCommandsEnabled());
    QMenu* file = app->mainWindow().menuBar()->findChild<QMenu*>(QStringLiteral("File1"));
    ASSERT_NE(file, nullptr);
    // Redo waits for an Undo.
    for (QAction* item : file->actions())
        EXPECT_EQ(item->isEnabled(), item->objectName() != QLatin1String("EditRedo"))
            << item->text().toStdString();
}

TEST_F(ButtonListTest, AddNewRowMovesTheButtonDownAndKeepsTheSelection) {
    type("Edit11", QStringLiteral("a.gif"));
    press("AddPlainButton");
    trigger("AddNewRow");
    EXPECT_TRUE(cell(0, 1).isEmpty());
    EXPECT_EQ(cell(0, 2), QStringLiteral("a.gif"));
    EXPECT_EQ(count(), QStringLiteral("2"));
    type("Edit11", QStringLiteral("b.gif"));
    press("AddPlainButton");
    EXPECT_EQ(cell(0, 1), QStringLiteral("b.gif"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("a.gif"));
}

// Clear Selected, and Delete Selected Row with a single row, empty columns 0 to 11 only.
class ClearRowTest : public ProjectsTabFixture,
                     public ::testing::WithParamInterface<const char*> {};

TEST_P(ClearRowTest, EmptiesAllButTheTargetPage) {
    const char* fields[] = {"Edit9", "Edit10", "Edit19", "Edit8", "Edit18", "Edit20",
                            "Edit7", "Edit21", "Edit2",  "Edit3", "Edit4",  "Edit25"};
    for (const char* field : fields)
        type(field, QStringLiteral("x"));
    press("AddSoundButton");
    trigger(GetParam());
    for (int column = 0; column < ButtonColumn::TargetPage; ++column)
        EXPECT_TRUE(cell(column, 1).isEmpty()) << "column " << column;
    EXPECT_EQ(cell(ButtonColumn::TargetPage, 1), QStringLiteral("x"));
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(count(), QStringLiteral("1"));
}

INSTANTIATE_TEST_SUITE_P(Commands, ClearRowTest,
                         ::testing::Values("ClearSelected", "DeleteSelectedRow"));

TEST_F(ButtonListTest, DeletingTheLastOfThreeRowsSelectsTheNewLastRow) {
    for (const char* name : {"c.gif", "b.gif", "a.gif"}) {
        if (name[0] != 'c')
            trigger("AddNewRow");
        type("Edit11", QString::fromLatin1(name));
        press("AddPlainButton");
    }
    ASSERT_EQ(count(), QStringLiteral("3"));
    clickCell(4, 3);
    ASSERT_EQ(currentRow(), 3);
    trigger("DeleteSelectedRow");
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(count(), QStringLiteral("2"));
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(grid()->currentIndex().column(), 4);
    EXPECT_EQ(cell(0, 1), QStringLiteral("a.gif"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("b.gif"));
}

TEST_F(ButtonListTest, DeletingAMiddleRowKeepsTheRowNumber) {
    for (const char* name : {"c.gif", "b.gif", "a.gif"}) {
        if (name[0] != 'c')
            trigger("AddNewRow");
        type("Edit11", QString::fromLatin1(name));
        press("AddPlainButton");
    }
    clickCell(0, 2);
    trigger("DeleteSelectedRow");
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("c.gif"));
}

TEST_F(ButtonListTest, PlainAddKeepsTheSoundCell) {
    type("Edit21", QStringLiteral("ding.wav"));
    press("AddSoundButton");
    type("Edit11", QStringLiteral("plain.gif"));
    press("AddPlainButton");
    EXPECT_EQ(cell(ButtonColumn::Sound, 1), QStringLiteral("ding.wav"));
    EXPECT_EQ(cell(ButtonColumn::Normal, 1), QStringLiteral("plain.gif"));
}

// Each add writes its tab's fields and the Page fields into their columns.
struct AddCase {
    const char* add;
    std::vector<std::pair<const char*, int>> fields; // field, column
};

class AddColumnsTest : public ProjectsTabFixture, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddColumnsTest, EveryFieldLandsInItsColumn) {
    for (const auto& [field, column] : GetParam().fields)
        type(field, QStringLiteral("v%1").arg(column));
    press(GetParam().add);
    for (const auto& [field, column] : GetParam().fields)
        EXPECT_EQ(cell(column, 1), QStringLiteral("v%1").arg(column)) << field;
}

const std::vector<std::pair<const char*, int>> kPageFields = {{"Edit2", ButtonColumn::BgImage},
                                                              {"Edit3", ButtonColumn::BgColor},
                                                              {"Edit4", ButtonColumn::PageTitle},
                                                              {"Edit25", ButtonColumn::TargetPage}};

std::vector<std::pair<const char*, int>> withPage(std::vector<std::pair<const char*, int>> v) {
    v.insert(v.end(), kPageFields.begin(), kPageFields.end());
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AddColumnsTest,
    ::testing::Values(AddCase{"AddPlainButton",
                              withPage({{"Edit11", ButtonColumn::Normal},
                                        {"Edit12", ButtonColumn::NormalWidth},
                                        {"Edit13", ButtonColumn::NormalHeight},
                                        {"ComboBox1", ButtonColumn::Frame},
                                        {"Edit17", ButtonColumn::Link},
                                        {"Edit16", ButtonColumn::MouseOver},
                                        {"Edit15", ButtonColumn::MouseOverWidth},
                                        {"Edit14", ButtonColumn::MouseOverHeight}})},
                      AddCase{"AddSoundButton", withPage({{"Edit9", ButtonColumn::Normal},
                                                          {"Edit10", ButtonColumn::NormalWidth},
                                                          {"Edit19", ButtonColumn::NormalHeight},
                                                          {"ComboBox5", ButtonColumn::Frame},
                                                          {"Edit7", ButtonColumn::Link},
                                                          {"Edit8", ButtonColumn::MouseOver},
                                                          {"Edit18", ButtonColumn::MouseOverWidth},
                                                          {"Edit20", ButtonColumn::MouseOverHeight},
                                                          {"Edit21", ButtonColumn::Sound}})}),
    [](const auto& testInfo) { return std::string(testInfo.param.add); });

TEST_F(ButtonListTest, NewButtonEmptiesTheFieldsButKeepsTargetPageAndList) {
    const char* cleared[] = {"Edit11",    "Edit12",    "Edit13",    "Edit16",   "Edit15", "Edit14",
                             "Edit17",    "Edit7",     "Edit2",     "Edit21",   "Edit3",  "Edit4",
                             "Edit9",     "Edit10",    "Edit19",    "Edit8",    "Edit18", "Edit20",
                             "ComboBox1", "ComboBox3", "ComboBox4", "ComboBox5"};
    for (const char* field : cleared)
        type(field, QStringLiteral("x"));
    type("Edit25", QStringLiteral("/web/menu.html"));
    press("AddPlainButton");
    trigger("NewButton");
    for (const char* field : cleared)
        EXPECT_TRUE(text(field).isEmpty()) << field;
    EXPECT_EQ(text("Edit25"), QStringLiteral("/web/menu.html"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("x"));
}

TEST_F(ButtonListTest, DoubleClickRecallsTheRowIntoBothButtonTabs) {
    type("Edit9", QStringLiteral("n.gif"));
    type("Edit8", QStringLiteral("m.gif"));
    type("ComboBox5", QStringLiteral("_blank"));
    type("Edit21", QStringLiteral("s.wav"));
    type("Edit4", QStringLiteral("Title"));
    press("AddSoundButton");
    trigger("NewButton");
    doubleClickCell(3, 1);
    EXPECT_EQ(text("Edit11"), QStringLiteral("n.gif"));
    EXPECT_EQ(text("Edit9"), QStringLiteral("n.gif"));
    EXPECT_EQ(text("Edit16"), QStringLiteral("m.gif"));
    EXPECT_EQ(text("Edit8"), QStringLiteral("m.gif"));
    EXPECT_EQ(text("ComboBox1"), QStringLiteral("_blank"));
    EXPECT_EQ(text("ComboBox5"), QStringLiteral("_blank"));
    EXPECT_EQ(text("Edit21"), QStringLiteral("s.wav"));
    EXPECT_EQ(text("Edit4"), QStringLiteral("Title"));
}

TEST_F(ButtonListTest, HeaderRowCannotBecomeCurrentAndItsDoubleClickRecallsTheDataRow) {
    type("Edit11", QStringLiteral("one.gif"));
    press("AddPlainButton");
    trigger("AddNewRow");
    clickCell(0, 2);
    trigger("NewButton");
    clickCell(0, 0);
    EXPECT_EQ(currentRow(), 2);
    doubleClickCell(0, 0);
    EXPECT_EQ(text("Edit11"), QStringLiteral("one.gif"));
}

TEST_F(ButtonListTest, MovingTheSelectionEnablesSaving) {
    trigger("AddNewRow");
    ASSERT_FALSE(saveCommandsEnabled());
    clickCell(2, 2);
    EXPECT_TRUE(saveCommandsEnabled());
}

TEST_F(ButtonListTest, SoundTargetAndColourPickersFillTheirFields) {
    dialogs.fileAnswers.push_back(QStringLiteral("/sounds/ding.wav"));
    press("PickSoundFile");
    EXPECT_EQ(text("Edit21"), QStringLiteral("ding.wav"));
    dialogs.fileAnswers.push_back(QStringLiteral("/web/new.html"));
    press("PickTargetPage");
    EXPECT_EQ(text("Edit25"), QStringLiteral("/web/new.html"));
    dialogs.colorAnswers.push_back(QColor(255, 0, 0));
    press("PickBgColor");
    EXPECT_EQ(text("Edit3"), QStringLiteral("#FF0000"));
    EXPECT_EQ(find<QLabel>("Edit6")->palette().color(QPalette::Window), QColor(255, 0, 0));

    for (const char* pick : {"PickSoundFile", "PickTargetPage", "PickBgColor"})
        press(pick); // cancelled
    EXPECT_EQ(text("Edit21"), QStringLiteral("ding.wav"));
    EXPECT_EQ(text("Edit25"), QStringLiteral("/web/new.html"));
    EXPECT_EQ(text("Edit3"), QStringLiteral("#FF0000"));
    trigger("NewButton");
    EXPECT_EQ(find<QLabel>("Edit6")->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Base));
}

TEST_F(ButtonListTest, LongProjectNameIsCutRatherThanDrawnOverTheCount) {
    auto* panel = app->mainWindow().findChild<ButtonListPanel*>();
    ASSERT_NE(panel, nullptr);
    panel->setProjectName(QStringLiteral("a-rather-long-project-name-for-the-site-menu.kxq"));
    panel->resize(230, 300);
    QApplication::processEvents();
    // Every label but the name keeps the width its text needs.
    for (const QLabel* label : find<QWidget>("ButtonListToolBar")->findChildren<QLabel*>())
        if (label->objectName() != QStringLiteral("ProjectName")) {
            EXPECT_GE(label->width(), label->minimumSizeHint().width())
                << label->text().toStdString();
        }
}

} // namespace
} // namespace kelmor::test
