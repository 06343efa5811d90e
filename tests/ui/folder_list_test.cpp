#include "qstring_printer.h"
#include "ui/file_icons.h"
#include "ui/folder_list.h"
#include "ui/picture_kinds.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kelmor {
namespace {

class FillFileListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previousLocale_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(previousLocale_); }

    void touch(const QString& name) const {
        QFile file(folder_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList captions() const {
        QStringList texts;
        for (int i = 0; i < list_.count(); ++i)
            texts << list_.item(i)->text();
        return texts;
    }

    QTemporaryDir folder_;
    QListWidget list_;
    QLocale previousLocale_;
};

TEST_F(FillFileListTest, SortsCaptionsAsTheLocaleDoes) {
    for (const char* name :
         {"b.html", "B2.html", "a.html", "\xc3\xa9t\xc3\xa9.html", "Z.html", "f.html"})
        touch(QString::fromUtf8(name));
    fillFileList(list_, folder_.path(), QStringLiteral("*.html"), fileIcon(FileIcon::Html));
    // Byte order would put "B2" and "Z" first and the accented name last.
    EXPECT_EQ(captions(),
              (QStringList{QStringLiteral("a.html"), QStringLiteral("b.html"),
                           QStringLiteral("B2.html"), QString::fromUtf8("\xc3\xa9t\xc3\xa9.html"),
                           QStringLiteral("f.html"), QStringLiteral("Z.html")}));
}

TEST_F(FillFileListTest, CutsCaptionsAtTheFirstLowerCaseExtension) {
    for (const char* name : {"one.kxq", "two.kxq.kxq", "THREE.KXQ", "four.kxq.bak"})
        touch(QString::fromLatin1(name));
    fillFileList(list_, folder_.path(), QStringLiteral("*.kxq"),
                 pictureFileIcon(*pictureKindOf(PictureFormat::Gif)), QStringLiteral(".kxq"));
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("one"), QStringLiteral("THREE.KXQ"),
                                       QStringLiteral("two")}));
}

TEST_F(FillFileListTest, EveryItemCarriesTheListIcon) {
    touch(QStringLiteral("a.txt"));
    QDir(folder_.path()).mkdir(QStringLiteral("folder.txt"));
    const QIcon icon = fileIcon(FileIcon::Text);
    fillFileList(list_, folder_.path(), QStringLiteral("*.txt"), icon);
    ASSERT_EQ(list_.count(), 2);
    for (int i = 0; i < list_.count(); ++i)
        EXPECT_EQ(list_.item(i)->icon().cacheKey(), icon.cacheKey());
}

TEST_F(FillFileListTest, RefillReplacesTheItemsAndRedrawsAgain) {
    touch(QStringLiteral("old.gif"));
    fillFileList(list_, folder_.path(), QStringLiteral("*.gif"),
                 pictureFileIcon(*pictureKindOf(PictureFormat::Gif)));
    ASSERT_EQ(captions(), QStringList{QStringLiteral("old.gif")});
    QFile::remove(folder_.filePath(QStringLiteral("old.gif")));
    touch(QStringLiteral("new.gif"));
    fillFileList(list_, folder_.path(), QStringLiteral("*.gif"),
                 pictureFileIcon(*pictureKindOf(PictureFormat::Gif)));
    EXPECT_EQ(captions(), QStringList{QStringLiteral("new.gif")});
    EXPECT_TRUE(list_.updatesEnabled());
}

TEST_F(FillFileListTest, MissingFolderEmptiesTheList) {
    touch(QStringLiteral("a.bmp"));
    fillFileList(list_, folder_.path(), QStringLiteral("*.bmp"),
                 pictureFileIcon(*pictureKindOf(PictureFormat::Bitmap)));
    ASSERT_EQ(list_.count(), 1);
    fillFileList(list_, folder_.filePath(QStringLiteral("gone")), QStringLiteral("*.bmp"),
                 pictureFileIcon(*pictureKindOf(PictureFormat::Bitmap)));
    EXPECT_EQ(list_.count(), 0);
}

class ApplyListStyleTest : public ::testing::TestWithParam<bool> {};

TEST_P(ApplyListStyleTest, SwitchesViewAndIconSizeButKeepsDragAndDrop) {
    QListWidget list;
    list.setDragEnabled(GetParam());
    list.setAcceptDrops(GetParam());
    applyListStyle(list, ListStyle::Large);
    EXPECT_EQ(list.viewMode(), QListView::IconMode);
    EXPECT_EQ(list.iconSize(), QSize(32, 32));
    EXPECT_EQ(list.dragEnabled(), GetParam());
    EXPECT_EQ(list.acceptDrops(), GetParam());
    applyListStyle(list, ListStyle::Small);
    EXPECT_EQ(list.viewMode(), QListView::ListMode);
    EXPECT_EQ(list.iconSize(), QSize(16, 16));
    EXPECT_EQ(list.dragEnabled(), GetParam());
    EXPECT_EQ(list.acceptDrops(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(DragEnabled, ApplyListStyleTest, ::testing::Bool());

} // namespace
} // namespace kelmor
