#include "editor/editor_text_box.h"
#include "editor/html_tab.h"
#include "qstring_printer.h"
#include "test_services.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace kelmor::test {
namespace {

class HtmlTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QDir(dir_.path()).mkdir(QStringLiteral("pages"));
        QDir(dir_.path()).mkdir(QStringLiteral("texts"));
        prefs_.setPath(PrefPath::Html, path(QStringLiteral("pages")));
        prefs_.setPath(PrefPath::Text, path(QStringLiteral("texts")));
        tab_ = std::make_unique<HtmlTab>(context_);
        tab_->resize(600, 400);
    }

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QByteArray read(const QString& file) const {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }
    void trigger(const char* command) const {
        auto* action = tab_->findChild<QAction*>(QString::fromLatin1(command));
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }
    void open(const QString& file) {
        dialogs_.fileAnswers.push_back(file);
        trigger("HtmlOpen");
    }
    QComboBox& box() const { return tab_->currentFileBox(); }
    EditorTextBox& editor() const { return tab_->editor(); }
    QStringList history() const {
        QStringList entries;
        for (int i = 0; i < box().count(); ++i)
            entries << box().itemText(i);
        return entries;
    }
    QListWidget& list(const char* name) const {
        auto* found = tab_->findChild<QListWidget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    static QStringList captions(const QListWidget& list) {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            texts << list.item(i)->text();
        return texts;
    }

    ScriptedDialogs dialogs_;
    RecordingShell shell_;
    RecordingHelpViewer help_;
    Services services_{dialogs_, shell_, help_, AppPaths{}};
    PreferenceStore prefs_;
    TabContext context_{services_, prefs_};
    QTemporaryDir dir_;
    std::unique_ptr<HtmlTab> tab_;
};

TEST_F(HtmlTabTest, ToolBarHintsInOrder) {
    QStringList hints;
    for (QAction* action : tab_->toolBar().actions())
        hints << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
    EXPECT_EQ(hints.join(QLatin1Char(',')),
              QStringLiteral(
                  "Clear,Open...,Save,Save As...,|,Undo,|,Copy,Cut,Paste,|,View in Browser...,|,"
                  "Html Editor...,|,Refresh,|,Large View,Small View,|,Options..."));
    EXPECT_EQ(tab_->toolBar().toolButtonStyle(), Qt::ToolButtonIconOnly);
}

TEST_F(HtmlTabTest, OpenTurnsLoneLineEndsIntoPairsAndMakesTheFileCurrent) {
    const QString file = write(QStringLiteral("mac.txt"), "one\rtwo\rthree");
    open(file);
    EXPECT_TRUE(dialogs_.fileRequests.value(0).startsWith(QStringLiteral(
        "open|HTML File (*.html)|*.html|HTM File (*.htm)|*.htm|Text File (*.txt)|*.txt|"
        "All Files (*.html;*.htm;*.txt)|*.html;*.htm;*.txt|")));
    EXPECT_EQ(editor().fileText(), QStringLiteral("one\r\ntwo\r\nthree"));
    EXPECT_EQ(box().currentText(), file);
    EXPECT_EQ(history(), QStringList{file});
}

TEST_F(HtmlTabTest, UnreadableFileLeavesEditorAndBoxAlone) {
    const QString kept = write(QStringLiteral("kept.html"), "kept");
    open(kept);
    const QString missing = path(QStringLiteral("missing.html"));
    open(missing);
    EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("Cannot open file ") + missing});
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(box().currentText(), kept);
    EXPECT_EQ(history(), QStringList{kept});
}

TEST_F(HtmlTabTest, FileOverSixtyFourMebibytesExceedsTheMemo) {
    const QString kept = write(QStringLiteral("kept.html"), "kept");
    open(kept);
    const QString big = write(QStringLiteral("big.txt"), {});
    ASSERT_TRUE(QFile::resize(big, (qint64{64} << 20) + 1)); // sparse: takes no disk space
    open(big);
    EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("Text exceeds memo capacity")});
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(box().currentText(), kept);
    EXPECT_EQ(history(), QStringList{kept});
}

class SaveBytesTest : public HtmlTabTest, public ::testing::WithParamInterface<QByteArray> {};

TEST_P(SaveBytesTest, SaveWritesTheLoadedBytesBackUnchanged) {
    const QString file = write(QStringLiteral("page.html"), GetParam());
    open(file);
    dialogs_.confirmAnswers.push_back(true);
    QFile::remove(file);
    trigger("HtmlSave");
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(read(file), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveBytesTest,
    ::testing::Values(QByteArray("<html>\r\n<body>\r\n</body>\r\n</html>\r\n"),
                      QByteArray("no line end after the last line"), QByteArray("\r\n\r\n"),
                      QByteArray("non-breaking\xc2\xa0space and caf\xc3\xa9\r\n"),
                      QByteArray("Latin-1 caf\xe9 na\xefve\r\n"), QByteArray("tab\there\r\n")));

TEST_F(HtmlTabTest, SaveAsksWithThePathAndWritesOnYes) {
    const QString file = path(QStringLiteral("pages/new.html"));
    box().setEditText(file);
    editor().setPlainText(QStringLiteral("first\nsecond"));
    dialogs_.confirmAnswers.push_back(true);
    trigger("HtmlSave");
    EXPECT_EQ(dialogs_.questions, QStringList{QStringLiteral("Save File as ") + file});
    EXPECT_EQ(read(file), QByteArray("first\r\nsecond"));
    EXPECT_EQ(captions(list("ListView5")), QStringList{QStringLiteral("new.html")});
}

TEST_F(HtmlTabTest, SaveAnsweredNoWritesNothing) {
    const QString file = write(QStringLiteral("page.html"), "on disk");
    open(file);
    editor().setPlainText(QStringLiteral("edited"));
    dialogs_.confirmAnswers.push_back(false);
    trigger("HtmlSave");
    EXPECT_EQ(dialogs_.questions.size(), 1);
    EXPECT_EQ(read(file), QByteArray("on disk"));
}

TEST_F(HtmlTabTest, SaveWithAnEmptyBoxAsksNothing) {
    editor().setPlainText(QStringLiteral("text"));
    trigger("HtmlSave");
    EXPECT_TRUE(dialogs_.questions.isEmpty());
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(HtmlTabTest, SaveThatCannotCreateTheFileReportsIt) {
    const QString file = path(QStringLiteral("no-such-folder/page.html"));
    box().setEditText(file);
    dialogs_.confirmAnswers.push_back(true);
    trigger("HtmlSave");
    EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("Cannot create file ") + file});
}

TEST_F(HtmlTabTest, SaveAsWritesTheChosenFileButKeepsTheCurrentOne) {
    const QString original = write(QStringLiteral("page.html"), "original");
    open(original);
    editor().setPlainText(QStringLiteral("copy"));
    const QString copy = path(QStringLiteral("texts/copy"));
    dialogs_.fileAnswers.push_back(copy);
    trigger("HtmlSaveAs");
    EXPECT_EQ(dialogs_.fileRequests.value(1),
              QStringLiteral(
                  "save|HTML File (*.html)|*html|HTML File (*.htm)|*htm|Text File (*txt)|*txt|") +
                  original);
    EXPECT_EQ(read(copy), QByteArray("copy"));
    EXPECT_EQ(box().currentText(), original);

    // A later Save goes to the current file, not to the copy.
    editor().setPlainText(QStringLiteral("saved"));
    dialogs_.confirmAnswers.push_back(true);
    trigger("HtmlSave");
    EXPECT_EQ(read(original), QByteArray("saved"));
    EXPECT_EQ(read(copy), QByteArray("copy"));
}

TEST_F(HtmlTabTest, HistoryKeepsOneEntryPerPathWhateverItsCase) {
    const QString lower = write(QStringLiteral("page.html"), "lower");
    const QString upper = write(QStringLiteral("PAGE.HTML"), "upper");
    const QString other = write(QStringLiteral("other.html"), "other");
    open(lower);
    open(upper);
    open(other);
    EXPECT_EQ(history(), (QStringList{lower, other}));
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("other"));
}

TEST_F(HtmlTabTest, ChoosingAHistoryEntryLoadsIt) {
    const QString first = write(QStringLiteral("first.html"), "first\nfile");
    const QString second = write(QStringLiteral("second.html"), "second");
    open(first);
    open(second);
    QTest::keyClick(&box(), Qt::Key_Up);
    EXPECT_EQ(box().currentText(), first);
    EXPECT_EQ(editor().fileText(), QStringLiteral("first\r\nfile"));
    EXPECT_EQ(history(), (QStringList{first, second}));
}

TEST_F(HtmlTabTest, ListsShowMatchingEntriesOfTheirFolders) {
    for (const char* name : {"pages/b.html", "pages/A.HTML", "pages/old.htm", "pages/notes.txt",
                             "texts/t.txt", "texts/t.html"})
        write(QString::fromLatin1(name), "x");
    QDir(path(QStringLiteral("pages"))).mkdir(QStringLiteral("site.html"));
    tab_->refillLists();
    EXPECT_EQ(captions(list("ListView5")),
              (QStringList{QStringLiteral("A.HTML"), QStringLiteral("b.html"),
                           QStringLiteral("site.html")}));
    EXPECT_EQ(captions(list("ListView6")), QStringList{QStringLiteral("t.txt")});
}

TEST_F(HtmlTabTest, RefreshRebuildsBothLists) {
    tab_->refillLists();
    write(QStringLiteral("pages/late.html"), "x");
    write(QStringLiteral("texts/late.txt"), "x");
    trigger("HtmlRefresh");
    EXPECT_EQ(list("ListView5").count(), 1);
    EXPECT_EQ(list("ListView6").count(), 1);
}

TEST_F(HtmlTabTest, ClickingAnItemOpensItFromItsFolder) {
    write(QStringLiteral("texts/readme.txt"), "read\nme");
    tab_->refillLists();
    tab_->fileLists().setCurrentIndex(1);
    tab_->show();
    QListWidget& texts = list("ListView6");
    QTest::mouseClick(texts.viewport(), Qt::LeftButton, {},
                      texts.visualItemRect(texts.item(0)).center());
    const QString expected = path(QStringLiteral("texts/readme.txt"));
    EXPECT_EQ(box().currentText(), expected);
    EXPECT_EQ(editor().fileText(), QStringLiteral("read\r\nme"));
    EXPECT_EQ(history(), QStringList{expected});
}

TEST_F(HtmlTabTest, ClickingBesideTheItemsChangesNothing) {
    write(QStringLiteral("pages/a.html"), "a");
    tab_->refillLists();
    tab_->show();
    QListWidget& pages = list("ListView5");
    QTest::mouseClick(pages.viewport(), Qt::LeftButton, {},
                      pages.viewport()->rect().bottomRight() - QPoint(2, 2));
    EXPECT_TRUE(box().currentText().isEmpty());
    EXPECT_TRUE(editor().toPlainText().isEmpty());
}

TEST_F(HtmlTabTest, ViewStyleSwitchesOnlyTheListShown) {
    tab_->setListsStyle(ListStyle::Small);
    tab_->fileLists().setCurrentIndex(1);
    trigger("HtmlLargeView");
    EXPECT_EQ(list("ListView6").viewMode(), QListView::IconMode);
    EXPECT_EQ(list("ListView5").viewMode(), QListView::ListMode);
    tab_->fileLists().setCurrentIndex(0);
    trigger("HtmlLargeView");
    trigger("HtmlSmallView");
    EXPECT_EQ(list("ListView5").viewMode(), QListView::ListMode);
    EXPECT_EQ(list("ListView6").viewMode(), QListView::IconMode);
}

TEST_F(HtmlTabTest, ViewInBrowserOpensTheCurrentFileBoxText) {
    trigger("HtmlViewInBrowser");
    EXPECT_TRUE(shell_.opened.isEmpty());
    // A typed name is a file of the current folder, handed over as its absolute address.
    box().setEditText(QStringLiteral("page.html"));
    trigger("HtmlViewInBrowser");
    EXPECT_EQ(shell_.opened, QStringList{QUrl::fromLocalFile(QDir::current().absoluteFilePath(
                                                                 QStringLiteral("page.html")))
                                             .toString()});
    box().setEditText(QStringLiteral("https://example.org/menu.html"));
    trigger("HtmlViewInBrowser");
    EXPECT_EQ(shell_.opened.last(), QStringLiteral("https://example.org/menu.html"));
}

TEST_F(HtmlTabTest, HtmlEditorStartsThePreferredProgramAlone) {
    box().setEditText(QStringLiteral("page.html"));
    trigger("HtmlEditor");
    EXPECT_TRUE(shell_.started.isEmpty());
    prefs_.setPath(PrefPath::HtmlEditor, QStringLiteral("/opt/web editor/bin/edit"));
    trigger("HtmlEditor");
    EXPECT_EQ(shell_.started, QStringList{QStringLiteral("/opt/web editor/bin/edit")});
    EXPECT_TRUE(shell_.opened.isEmpty());
}

TEST_F(HtmlTabTest, ClearEmptiesTheEditorOnlyAndCanBeUndone) {
    const QString file = write(QStringLiteral("page.html"), "text");
    open(file);
    trigger("HtmlClear");
    EXPECT_TRUE(editor().toPlainText().isEmpty());
    EXPECT_EQ(box().currentText(), file);
    trigger("HtmlUndo");
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("text"));
}

TEST_F(HtmlTabTest, UndoIsSingleLevel) {
    tab_->show();
    editor().setFocus();
    QTest::keyClicks(&editor(), QStringLiteral("one"));
    QTest::keyClick(&editor(), Qt::Key_Return);
    editor().moveCursor(QTextCursor::End);
    editor().textCursor().insertText(QStringLiteral("two"));
    const QString typed = editor().toPlainText();
    trigger("HtmlUndo");
    const QString undone = editor().toPlainText();
    EXPECT_NE(undone, typed);
    trigger("HtmlUndo");
    EXPECT_EQ(editor().toPlainText(), typed);
    QTest::keyClick(&editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor().toPlainText(), undone);
    editor().popupMenu().actions().constFirst()->trigger();
    EXPECT_EQ(editor().toPlainText(), typed);
}

struct MarkersCase {
    int cursor;
    QString fileText; // after the insert
};

class MenuMarkersTest : public HtmlTabTest, public ::testing::WithParamInterface<MarkersCase> {};

TEST_P(MenuMarkersTest, InsertedAtTheCursorWithTheFilesLineEndsAndUndoneAsOneEdit) {
    const QString page = QStringLiteral("<p>a</p>\r\n<p>b</p>\r\n");
    open(write(QStringLiteral("page.html"), page.toLatin1()));
    tab_->projectFileChanged(path(QStringLiteral("my site.kxq")));
    QTextCursor cursor = editor().textCursor();
    cursor.setPosition(GetParam().cursor);
    editor().setTextCursor(cursor);
    trigger("HtmlMenuMarkers");
    EXPECT_EQ(editor().fileText(), GetParam().fileText);
    EXPECT_TRUE(editor().document()->isModified());
    trigger("HtmlUndo");
    EXPECT_EQ(editor().fileText(), page);
}

INSTANTIATE_TEST_SUITE_P(
    Cursors, MenuMarkersTest,
    ::testing::Values(
        MarkersCase{0, QStringLiteral("<!-- kelmor-menu my site -->\r\n"
                                      "<!-- /kelmor-menu -->\r\n<p>a</p>\r\n<p>b</p>\r\n")},
        MarkersCase{9, QStringLiteral("<p>a</p>\r\n<!-- kelmor-menu my site -->\r\n"
                                      "<!-- /kelmor-menu -->\r\n<p>b</p>\r\n")}));

// Without a project file there is no name for the markers.
TEST_F(HtmlTabTest, MenuMarkersFollowTheProjectFileAndSitOnThePopupMenu) {
    QAction& insert = tab_->commands().action("HtmlMenuMarkers");
    EXPECT_FALSE(insert.isEnabled());
    tab_->projectFileChanged(path(QStringLiteral("site.kxq")));
    EXPECT_TRUE(insert.isEnabled());
    EXPECT_TRUE(editor().popupMenu().actions().contains(&insert));
    tab_->projectFileChanged(QString());
    EXPECT_FALSE(insert.isEnabled());
    insert.trigger();
    EXPECT_TRUE(editor().toPlainText().isEmpty());
}

} // namespace
} // namespace kelmor::test
