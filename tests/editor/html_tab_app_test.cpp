#include "app_fixture.h"
#include "editor/editor_text_box.h"
#include "qstring_printer.h"

#include <QAction>
#include <QComboBox>

namespace kelmor::test {
namespace {

// The Html tab inside the whole program.
class HtmlTabAppTest : public AppFixture {
protected:
    void trigger(const char* command) const { find<QAction>(command)->trigger(); }
};

TEST_F(HtmlTabAppTest, SaveAsksAndWritesThroughTheProgramsDialogs) {
    start();
    const QString page = writeFile(QStringLiteral("page.html"), "old\r\n");
    find<QComboBox>("ComboBox2")->setEditText(page);
    find<EditorTextBox>("RichEdit2")->setPlainText(QStringLiteral("new"));
    dialogs.confirmAnswers.push_back(true);
    trigger("HtmlSave");
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Save File as ") + page});
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new"));
}

} // namespace
} // namespace kelmor::test
