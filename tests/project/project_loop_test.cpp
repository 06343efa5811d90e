// The everyday loop of the Projects tab: the question before unsaved changes go, Undo and Redo,
// the page settings that come with a project, Save As, View in Browser, dropped pictures and
// the missing pictures after Build.
#include "project/projects_tab.h"
#include "projects_tab_fixture.h"
#include "qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QUrl>

namespace kelmor::test {
namespace {

using SaveChoice = Dialogs::SaveChoice;

// Two buttons; row 1 holds the page settings.
const QByteArray kSite = "13,3\r\n0,1,home.gif\r\n4,1,index.html\r\n5,1,home2.gif\r\n9,1,bg.gif\r\n"
                         "10,1,#FFFFFF\r\n11,1,Home\r\n12,1,index.html\r\n0,2,news.gif\r\n";
const QByteArray kOther = "13,2\r\n0,1,other.gif\r\n";

class ProjectLoopTest : public ProjectsTabFixture {
protected:
    QString path(const QString& name) const { return workDir() + QLatin1Char('/') + name; }
    QByteArray contents(const QString& file) const {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    // Every cell, row by row: what the user sees of the grid.
    QStringList cells() const {
        QStringList all;
        for (int row = 0; row < rows(); ++row)
            for (int column = 0; column < grid()->model()->columnCount(); ++column)
                all << cell(column, row);
        return all;
    }
    void open(const QString& file) {
        dialogs.fileAnswers.push_back(file);
        trigger("OpenProject");
        ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    }
    // The site project, opened, with its first row deleted: a change no file has.
    QStringList openSiteAndDeleteARow() {
        open(writeFile(QStringLiteral("site.kxq"), kSite));
        clickCell(0, 1);
        trigger("DeleteSelectedRow");
        EXPECT_TRUE(app->mainWindow().isWindowModified());
        return cells();
    }
    bool modified() const { return app->mainWindow().isWindowModified(); }
};

class CloseQuestionTest : public ProjectLoopTest,
                          public ::testing::WithParamInterface<SaveChoice> {};

TEST_P(CloseQuestionTest, EachAnswerDoesWhatItSays) {
    const QStringList edited = openSiteAndDeleteARow();
    const QByteArray before = contents(path(QStringLiteral("site.kxq")));
    dialogs.saveAnswers.push_back(GetParam());
    const bool closed = app->mainWindow().close();
    EXPECT_EQ(dialogs.saveQuestions, QStringList{QStringLiteral("Save changes to site.kxq?")});
    EXPECT_EQ(closed, GetParam() != SaveChoice::Cancel);
    EXPECT_EQ(app->mainWindow().isVisible(), !closed);
    EXPECT_EQ(cells(), edited);
    const QByteArray after = contents(path(QStringLiteral("site.kxq")));
    if (GetParam() == SaveChoice::Save)
        EXPECT_TRUE(after.startsWith("13,2\r\n")) << after.data();
    else
        EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestionTest,
                         ::testing::Values(SaveChoice::Save, SaveChoice::Discard,
                                           SaveChoice::Cancel));

class ReplacingQuestionTest : public ProjectLoopTest,
                              public ::testing::WithParamInterface<const char*> {
protected:
    // The command of the parameter's name.
    void run() {
        const std::string command = GetParam();
        if (command == "Open") {
            dialogs.fileAnswers.push_back(path(QStringLiteral("other.kxq")));
            trigger("OpenProject");
        } else if (command == "New") {
            trigger("FileNew");
        } else {
            type("ProjectsFolder", workDir());
            trigger("Refresh");
            auto* list = find<QListWidget>("ProjectList");
            const QList<QListWidgetItem*> items =
                list->findItems(QStringLiteral("other"), Qt::MatchExactly);
            ASSERT_EQ(items.size(), 1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(items.first()).center());
        }
    }
};

TEST_P(ReplacingQuestionTest, CancelKeepsTheListAndDiscardReplacesIt) {
    writeFile(QStringLiteral("other.kxq"), kOther);
    const QStringList edited = openSiteAndDeleteARow();
    dialogs.saveAnswers.push_back(SaveChoice::Cancel);
    run();
    EXPECT_EQ(dialogs.saveQuestions, QStringList{QStringLiteral("Save changes to site.kxq?")});
    EXPECT_EQ(cells(), edited);
    EXPECT_TRUE(modified());

    dialogs.saveAnswers.push_back(SaveChoice::Discard);
    run();
    EXPECT_EQ(dialogs.saveQuestions.size(), 2);
    EXPECT_NE(cells(), edited);
    EXPECT_FALSE(modified());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Commands, ReplacingQuestionTest,
                         ::testing::Values("Open", "New", "ProjectListChoice"),
                         [](const auto& testInfo) { return std::string(testInfo.param); });

class UndoStepTest : public ProjectLoopTest, public ::testing::WithParamInterface<const char*> {
protected:
    // The undoable step of the parameter's name, on the current cell (column 1, row 2).
    void step() {
        const std::string name = GetParam();
        if (name == "AddToList") {
            type("Edit11", QStringLiteral("added.gif"));
            press("AddPlainButton");
        } else if (name == "CellEditedInPlace") {
            QTest::keyClick(grid(), Qt::Key_F2);
            auto* editor = grid()->viewport()->findChild<QLineEdit*>();
            ASSERT_NE(editor, nullptr);
            editor->selectAll();
            QTest::keyClicks(editor, QStringLiteral("64"));
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents(); // the delegate commits the edit queued
            EXPECT_EQ(cell(1, 2), QStringLiteral("64"));
        } else if (name == "MakeButtons") {
            tab<ProjectsTab>().addDesignedButtons(
                {{QStringLiteral("a.png"), QStringLiteral("a-over.png"), 80, 20}});
        } else {
            trigger(name.c_str());
        }
    }
};

TEST_P(UndoStepTest, UndoAndRedoRestoreTheGridCellForCell) {
    open(writeFile(QStringLiteral("site.kxq"), kSite));
    clickCell(1, 2);
    const QStringList before = cells();
    step();
    const QStringList after = cells();
    ASSERT_NE(after, before);
    EXPECT_TRUE(modified());
    trigger("EditUndo");
    EXPECT_EQ(cells(), before);
    EXPECT_FALSE(modified());
    EXPECT_EQ(count(), QString::number(rows() - 1));
    trigger("EditRedo");
    EXPECT_EQ(cells(), after);
    EXPECT_TRUE(modified());
}

INSTANTIATE_TEST_SUITE_P(Steps, UndoStepTest,
                         ::testing::Values("AddToList", "AddNewRow", "DeleteSelectedRow",
                                           "ClearSelected", "CellEditedInPlace", "MakeButtons"),
                         [](const auto& testInfo) { return std::string(testInfo.param); });

TEST_F(ProjectLoopTest, NewButtonIsUndoneAndUndoIsOnTheGridsMenu) {
    type("Edit11", QStringLiteral("home.gif"));
    type("Edit4", QStringLiteral("Home"));
    trigger("NewButton");
    EXPECT_EQ(text("Edit11"), QString());
    trigger("EditUndo");
    EXPECT_EQ(text("Edit11"), QStringLiteral("home.gif"));
    EXPECT_EQ(text("Edit4"), QStringLiteral("Home"));
    EXPECT_TRUE(grid()->actions().contains(find<QAction>("EditUndo")));
    EXPECT_TRUE(grid()->actions().contains(find<QAction>("EditRedo")));
}

TEST_F(ProjectLoopTest, OpenFillsThePageTabFromRowOneAndBuildWritesThatPage) {
    type("Edit4", QStringLiteral("Old title"));
    type("Edit25", QStringLiteral("/elsewhere/old.html"));
    QDir().mkpath(path(QStringLiteral("site")));
    open(writeFile(QStringLiteral("site/site.kxq"), kSite));
    EXPECT_EQ(text("Edit2"), QStringLiteral("bg.gif"));
    EXPECT_EQ(text("Edit3"), QStringLiteral("#FFFFFF"));
    EXPECT_EQ(text("Edit4"), QStringLiteral("Home"));
    EXPECT_EQ(text("Edit25"), QStringLiteral("index.html"));
    press("SpeedButton12");
    EXPECT_TRUE(dialogs.questions.isEmpty()) << dialogs.questions.join(u'\n').toStdString();
    EXPECT_TRUE(contents(path(QStringLiteral("site/index.html"))).contains("<title>Home</title>"));
}

TEST_F(ProjectLoopTest, DesignedRowsCarryThePageTabsFields) {
    type("Edit2", QStringLiteral("bg.gif"));
    type("Edit3", QStringLiteral("#336699"));
    type("Edit4", QStringLiteral("Menu"));
    type("Edit25", QStringLiteral("menu.html"));
    tab<ProjectsTab>().addDesignedButtons(
        {{QStringLiteral("a.png"), QStringLiteral("a-over.png"), 80, 20},
         {QStringLiteral("b.png"), QStringLiteral("b-over.png"), 80, 20}});
    for (int row : {1, 2}) {
        EXPECT_EQ(cell(9, row), QStringLiteral("bg.gif"));
        EXPECT_EQ(cell(10, row), QStringLiteral("#336699"));
        EXPECT_EQ(cell(11, row), QStringLiteral("Menu"));
        EXPECT_EQ(cell(12, row), QStringLiteral("menu.html"));
    }
}

TEST_F(ProjectLoopTest, SaveAsKeepsAnExtensionTypedAndClearsTheMark) {
    press("AddPlainButton");
    EXPECT_TRUE(modified());
    dialogs.fileAnswers.push_back(path(QStringLiteral("menu.old")));
    trigger("SaveProjectAs");
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("menu.old"))));
    EXPECT_FALSE(modified());
}

TEST_F(ProjectLoopTest, ViewInBrowserOpensTheBuiltPageWhereverTheFolderMovedSince) {
    QDir().mkpath(path(QStringLiteral("site")));
    open(writeFile(QStringLiteral("site/site.kxq"), kSite));
    press("SpeedButton12");
    QDir::setCurrent(workDir()); // where a later file dialog may have gone
    trigger("ToolButton22");
    const QString page = path(QStringLiteral("site/index.html"));
    EXPECT_EQ(shell.opened, QStringList{QUrl::fromLocalFile(page).toString()});
    EXPECT_TRUE(shell.opened.first().startsWith(QStringLiteral("file:///")));

    shell.opens = false;
    trigger("ToolButton22");
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("No program opened ") + page});
}

TEST_F(ProjectLoopTest, BuildNamesThePicturesThePageLacksAndStillWritesIt) {
    writeFile(QStringLiteral("home.gif"), "GIF89a");
    writeFile(QStringLiteral("bg.gif"), "GIF89a");
    open(writeFile(
        QStringLiteral("site.kxq"),
        "13,4\r\n0,1,home.gif\r\n5,1,over.gif\r\n9,1,bg.gif\r\n12,1,index.html\r\n0,2,nwes.gif\r\n"
        "5,2,http://example.org/over.gif\r\n5,3,home.gif\r\n"));
    press("SpeedButton12");
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("index.html"))));
    EXPECT_EQ(text("HtmlStatus"), QStringLiteral("2 pictures not found: over.gif, nwes.gif"));
}

struct DropTarget {
    const char* target;
    const char* name;
    const char* width;
    const char* height;
};

class PictureDropTest : public ProjectLoopTest, public ::testing::WithParamInterface<DropTarget> {};

TEST_P(PictureDropTest, FillsTheFieldsAsThePickerDoes) {
    QDir().mkpath(path(QStringLiteral("drops")));
    const QString picture = path(QStringLiteral("drops/wide.bmp"));
    ASSERT_TRUE(QImage(120, 40, QImage::Format_RGB32).save(picture));
    const QString notes = writeFile(QStringLiteral("drops/notes.txt"), "text");
    QWidget& target = *find<QWidget>(GetParam().target);

    EXPECT_FALSE(dropFiles(target, {notes}));
    EXPECT_EQ(text(GetParam().name), QString());
    EXPECT_TRUE(dropFiles(target, {picture}));
    EXPECT_EQ(text(GetParam().name), QStringLiteral("wide.bmp"));
    EXPECT_EQ(text(GetParam().width), QStringLiteral("120"));
    EXPECT_EQ(text(GetParam().height), QStringLiteral("40"));
    EXPECT_EQ(dialogs.remembered, QStringList{picture});
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PictureDropTest,
    ::testing::Values(DropTarget{"Edit11", "Edit11", "Edit12", "Edit13"},
                      DropTarget{"NormalPreview", "Edit11", "Edit12", "Edit13"},
                      DropTarget{"Edit16", "Edit16", "Edit15", "Edit14"},
                      DropTarget{"MouseOverPreview", "Edit16", "Edit15", "Edit14"}),
    [](const auto& testInfo) { return std::string(testInfo.param.target); });

} // namespace
} // namespace kelmor::test
