#include "project/button_columns.h"
#include "projects_tab_fixture.h"

#include <QDir>
#include <QFile>
#include <QListWidget>

namespace kelmor::test {
namespace {

const QString kFilter = QStringLiteral("Kelmor Project Files (*.kxq)|*.kxq");

class ProjectCommandsTest : public ProjectsTabFixture {
protected:
    QString path(const QString& name) const { return workDir() + QLatin1Char('/') + name; }

    // A project of two buttons; the header row keeps its texts, as no row-0 line is given.
    QString writeTwoButtonProject(const QString& name, const QByteArray& first = "home.gif") {
        return writeFile(name, "13,3\r\n0,1," + first +
                                   "\r\n4,1,index.html\r\n0,2,about.gif\r\n"
                                   "12,2,/web/menu.html\r\n");
    }

    QByteArray contents(const QString& file) const {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    QListWidget* projectList() const { return find<QListWidget>("ProjectList"); }
    QStringList captions() const {
        QStringList result;
        for (int i = 0; i < projectList()->count(); ++i)
            result << projectList()->item(i)->text();
        return result;
    }
    void showProjectsOf(const QString& folder) {
        type("ProjectsFolder", folder);
        trigger("Refresh");
    }
    void clickProject(const QString& caption) {
        const QList<QListWidgetItem*> items = projectList()->findItems(caption, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        QTest::mouseClick(projectList()->viewport(), Qt::LeftButton, {},
                          projectList()->visualItemRect(items.first()).center());
    }
    // Answers the Save confirmation and returns the question asked.
    QString saveAnswering(bool yes) {
        dialogs.confirmAnswers.push_back(yes);
        trigger("SaveProject");
        return dialogs.questions.isEmpty() ? QString() : dialogs.questions.last();
    }
};

TEST_F(ProjectCommandsTest, OpenReadsTheFileAndMakesItTheCurrentProject) {
    const QString file = writeTwoButtonProject(QStringLiteral("site.kxq"));
    dialogs.fileAnswers.push_back(file);
    trigger("OpenProject");
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_TRUE(dialogs.fileRequests.first().startsWith(QStringLiteral("open|") + kFilter));
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(count(), QStringLiteral("2"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("Normal Button"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("home.gif"));
    EXPECT_EQ(cell(ButtonColumn::TargetPage, 2), QStringLiteral("/web/menu.html"));
    EXPECT_EQ(text("ProjectName"), QStringLiteral("site.kxq"));
    EXPECT_TRUE(saveCommandsEnabled());
    EXPECT_EQ(saveAnswering(true), QStringLiteral("Save Project as ") + file);
    EXPECT_TRUE(contents(file).startsWith("13,3\r\ncw 0,108\r\n"));
}

TEST_F(ProjectCommandsTest, CancelledOpenChangesNothing) {
    trigger("OpenProject");
    EXPECT_FALSE(saveCommandsEnabled());
    EXPECT_EQ(rows(), 2);
}

TEST_F(ProjectCommandsTest, MissingFileIsReportedAndTheListIsKept) {
    type("Edit11", QStringLiteral("kept.gif"));
    press("AddPlainButton");
    const QString missing = path(QStringLiteral("gone.kxq"));
    dialogs.fileAnswers.push_back(missing);
    trigger("OpenProject");
    EXPECT_EQ(dialogs.errors,
              QStringList{QStringLiteral("File ") + missing + QStringLiteral(" not found")});
    EXPECT_EQ(cell(0, 1), QStringLiteral("kept.gif"));
    EXPECT_TRUE(text("ProjectName").isEmpty());
    EXPECT_EQ(saveAnswering(false), QStringLiteral("Save Project as Newproject.kxq"));
}

TEST_F(ProjectCommandsTest, SavingAFreshProjectAsksForNewprojectAndWritesHeaderOnly) {
    trigger("NewButton"); // empties the "Target Frame:" boxes too, so the add stores nothing
    press("AddPlainButton");
    EXPECT_EQ(saveAnswering(false), QStringLiteral("Save Project as Newproject.kxq"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Newproject.kxq"))));

    EXPECT_EQ(saveAnswering(true), QStringLiteral("Save Project as Newproject.kxq"));
    const QList<QByteArray> lines = contents(path(QStringLiteral("Newproject.kxq"))).split('\n');
    // The size line, a width line and a header line per column, and the final line end.
    ASSERT_EQ(lines.size(), 1 + ButtonColumn::Count + ButtonColumn::Count + 1);
    EXPECT_EQ(lines[0], QByteArray("13,2\r"));
    EXPECT_EQ(lines[3], QByteArray("cw 2,116\r"));
    EXPECT_EQ(lines[13],
              "cw 12," + QByteArray::number(grid()->columnWidth(ButtonColumn::TargetPage)) + '\r');
    EXPECT_EQ(lines[14], QByteArray("0,0,Normal Button\r"));
    EXPECT_EQ(lines[26], QByteArray("12,0,Target Page\r"));
}

TEST_F(ProjectCommandsTest, SaveThatCannotWriteSaysSo) {
    ASSERT_TRUE(QDir(workDir()).mkdir(QStringLiteral("Newproject.kxq")));
    press("AddPlainButton");
    saveAnswering(true);
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("Cannot create file Newproject.kxq")});
}

TEST_F(ProjectCommandsTest, SaveAsWritesRefillsTheListAndMakesTheFileCurrent) {
    showProjectsOf(workDir());
    type("Edit11", QStringLiteral("mine.gif"));
    press("AddPlainButton");
    const QString file = path(QStringLiteral("Mine.kxq"));
    dialogs.fileAnswers.push_back(file);
    trigger("SaveProjectAs");
    EXPECT_EQ(dialogs.fileRequests.last(),
              QStringLiteral("save|") + kFilter + QStringLiteral("|Newproject.kxq"));
    EXPECT_TRUE(contents(file).contains("0,1,mine.gif\r\n"));
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Mine")});
    EXPECT_EQ(text("ProjectName"), QStringLiteral("Mine.kxq"));
    EXPECT_EQ(saveAnswering(false), QStringLiteral("Save Project as ") + file);
}

// A name typed without an extension gets the project one, so the list shows the file.
TEST_F(ProjectCommandsTest, SaveAsGivesATypedNameTheProjectExtension) {
    showProjectsOf(workDir());
    press("AddPlainButton");
    dialogs.fileAnswers.push_back(path(QStringLiteral("plain")));
    trigger("SaveProjectAs");
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("plain.kxq"))));
    EXPECT_EQ(captions(), QStringList{QStringLiteral("plain")});
    EXPECT_EQ(text("ProjectName"), QStringLiteral("plain.kxq"));
}

TEST_F(ProjectCommandsTest, SaveAsThatCannotWriteStopsThere) {
    showProjectsOf(workDir());
    press("AddPlainButton");
    const QString mine = path(QStringLiteral("Mine.kxq"));
    dialogs.fileAnswers.push_back(mine);
    trigger("SaveProjectAs");
    writeTwoButtonProject(QStringLiteral("Other.kxq"));

    const QString unwritable = path(QStringLiteral("no/such/folder/p.kxq"));
    dialogs.fileAnswers.push_back(unwritable);
    trigger("SaveProjectAs");
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("Cannot create file ") + unwritable});
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Mine")});
    EXPECT_EQ(text("ProjectName"), QStringLiteral("Mine.kxq"));
    EXPECT_EQ(saveAnswering(false), QStringLiteral("Save Project as ") + mine);
}

TEST_F(ProjectCommandsTest, ClickingAProjectInTheListOpensIt) {
    writeTwoButtonProject(QStringLiteral("Beta.kxq"), "beta.gif");
    writeTwoButtonProject(QStringLiteral("Alpha.kxq"), "alpha.gif");
    writeFile(QStringLiteral("notes.txt"), "not a project");
    showProjectsOf(workDir());
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));

    clickProject(QStringLiteral("Beta"));
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_EQ(cell(0, 1), QStringLiteral("beta.gif"));
    EXPECT_EQ(count(), QStringLiteral("2"));
    EXPECT_EQ(text("ProjectName"), QStringLiteral("Beta.kxq"));
    EXPECT_TRUE(saveCommandsEnabled());
    EXPECT_EQ(saveAnswering(false),
              QStringLiteral("Save Project as ") + path(QStringLiteral("Beta.kxq")));

    clickProject(QStringLiteral("Alpha"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("alpha.gif"));
}

TEST_F(ProjectCommandsTest, UpperCaseExtensionIsListedButCannotBeOpenedFromTheList) {
    writeTwoButtonProject(QStringLiteral("Site.KXQ"));
    showProjectsOf(workDir());
    ASSERT_EQ(captions(), QStringList{QStringLiteral("Site.KXQ")});
    clickProject(QStringLiteral("Site.KXQ"));
    EXPECT_EQ(dialogs.errors,
              QStringList{QStringLiteral("File ") + path(QStringLiteral("Site.KXQ.kxq")) +
                          QStringLiteral(" not found")});
    EXPECT_EQ(rows(), 2);
    EXPECT_TRUE(text("ProjectName").isEmpty());
}

TEST_F(ProjectCommandsTest, ButtonsFolderPutsTheChosenFolderInTheFieldAndRefills) {
    writeTwoButtonProject(QStringLiteral("sub/Gamma.kxq"));
    dialogs.folderAnswers.push_back(path(QStringLiteral("sub")));
    trigger("ButtonsFolder");
    EXPECT_EQ(text("ProjectsFolder"), path(QStringLiteral("sub")));
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Gamma")});

    trigger("ButtonsFolder"); // cancelled
    EXPECT_EQ(text("ProjectsFolder"), path(QStringLiteral("sub")));
}

TEST_F(ProjectCommandsTest, ReadingAShorterListMovesTheSelectionToItsLastRow) {
    trigger("AddNewRow");
    trigger("AddNewRow");
    clickCell(5, 3);
    dialogs.fileAnswers.push_back(writeFile(QStringLiteral("one.kxq"), "13,2\r\n0,1,x.gif\r\n"));
    trigger("OpenProject");
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(grid()->currentIndex().column(), 5);
}

TEST_F(ProjectCommandsTest, SavedProjectReadsBackCellForCell) {
    for (const char* field : {"Edit9", "Edit10", "Edit7", "Edit21", "Edit3", "Edit25"})
        type(field, QStringLiteral("%1, with a comma").arg(QLatin1String(field)));
    press("AddSoundButton");
    trigger("AddNewRow");
    type("Edit11", QStringLiteral("second.gif"));
    press("AddPlainButton");
    const QString file = path(QStringLiteral("round.kxq"));
    dialogs.fileAnswers.push_back(file);
    trigger("SaveProjectAs");
    QStringList before;
    for (int row = 0; row < rows(); ++row)
        for (int column = 0; column < ButtonColumn::Count; ++column)
            before << cell(column, row);

    trigger("DeleteSelectedRow");
    trigger("DeleteSelectedRow");
    dialogs.fileAnswers.push_back(file);
    trigger("OpenProject");
    QStringList after;
    for (int row = 0; row < rows(); ++row)
        for (int column = 0; column < ButtonColumn::Count; ++column)
            after << cell(column, row);
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace kelmor::test
