#include "app_fixture.h"
#include "qstring_printer.h"

#include <QAction>
#include <QDir>
#include <QListWidget>

namespace kelmor::test {
namespace {

// The Html tab inside the whole program, with its folders, editor program and
// view style taken from the preference file.
class HtmlTabAppTest : public AppFixture {
protected:
    void writePreferences(const QByteArray& entries) const {
        QFile file(configDir() + QStringLiteral("/KelmorPref.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[PREFERENCES]\r\n" + entries);
    }
    void trigger(const char* command) const { find<QAction>(command)->trigger(); }
};

TEST_F(HtmlTabAppTest, FoldersEditorProgramAndViewStyleComeFromThePreferenceFile) {
    writeFile(QStringLiteral("site/index.html"), "<html>\r\n");
    writeFile(QStringLiteral("site/about.html"), "<html>\r\n");
    writeFile(QStringLiteral("notes/todo.txt"), "todo\r\n");
    writePreferences(
        "Html2=" + QDir(workDir()).filePath(QStringLiteral("site")).toLocal8Bit() +
        "\r\nText=" + QDir(workDir()).filePath(QStringLiteral("notes")).toLocal8Bit() +
        "\r\nHtml Editor=/usr/local/bin/page-editor\r\nLarge Icons4=1\r\nSmalll Icons4=0\r\n");
    start();

    QListWidget* pages = find<QListWidget>("ListView5");
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->item(0)->text(), QStringLiteral("about.html"));
    EXPECT_EQ(pages->item(1)->text(), QStringLiteral("index.html"));
    ASSERT_EQ(find<QListWidget>("ListView6")->count(), 1);
    EXPECT_EQ(pages->viewMode(), QListView::IconMode);
    EXPECT_EQ(find<QListWidget>("ListView6")->viewMode(), QListView::IconMode);

    trigger("HtmlEditor");
    EXPECT_EQ(shell.started, QStringList{QStringLiteral("/usr/local/bin/page-editor")});
}

} // namespace
} // namespace kelmor::test
