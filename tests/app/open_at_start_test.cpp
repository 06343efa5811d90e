#include "app_fixture.h"
#include "project/button_columns.h"
#include "project/button_list_model.h"
#include "project/button_list_panel.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace kelmor::test {
namespace {

// The sample project shipped with the program, opened as if named on the command line.
class OpenAtStartTest : public AppFixture {
protected:
    const QString samples = QDir::cleanPath(QStringLiteral(KELMOR_TEST_DATA "/../../data/samples"));
    QString label(const char* name) const { return find<QLabel>(name)->text(); }
    const StringGrid& grid() const {
        return app->mainWindow().findChild<ButtonListPanel*>()->model().grid();
    }
};

TEST_F(OpenAtStartTest, SampleProjectOpensWithEveryFileItNamesBesideIt) {
    start();
    // Named as typed in a shell: relative to the folder the program starts in.
    app->openProject(QDir::current().relativeFilePath(samples + QStringLiteral("/menu.kxq")));
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_EQ(label("Label10"), QStringLiteral("3"));
    EXPECT_EQ(label("ProjectName"), QStringLiteral("menu.kxq"));
    // Build writes a bare target page name beside the project, where its pictures are.
    EXPECT_EQ(QDir::currentPath(), samples);
    for (int row = 1; row <= 3; ++row)
        for (int column : {ButtonColumn::Normal, ButtonColumn::MouseOver, ButtonColumn::Sound}) {
            const QString name = QString::fromStdString(grid().cell(column, row));
            EXPECT_TRUE(QFileInfo(samples + u'/' + name).isFile()) << name.toStdString();
        }
}

TEST_F(OpenAtStartTest, UnreadableProjectShowsTheReadersMessageAndLeavesTheWindowUsable) {
    start();
    const QString missing = workDir() + QStringLiteral("/gone/missing.kxq");
    app->openProject(missing);
    EXPECT_EQ(dialogs.errors,
              QStringList{QStringLiteral("File ") + missing + QStringLiteral(" not found")});
    EXPECT_EQ(label("Label10"), QStringLiteral("1"));
    EXPECT_EQ(label("ProjectName"), QString());
    dialogs.fileAnswers.push_back(samples + QStringLiteral("/menu.kxq"));
    find<QAction>("OpenProject")->trigger();
    EXPECT_EQ(label("Label10"), QStringLiteral("3"));
}

} // namespace
} // namespace kelmor::test
