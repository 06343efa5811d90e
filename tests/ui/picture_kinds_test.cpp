// The window's table of picture kinds against the core's codec table and the preference file.
#include "imaging/picture.h"
#include "qstring_printer.h"
#include "ui/picture_kinds.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace kelmor {
namespace {

TEST(PictureKinds, EachKindListsFilesItsOwnFormatLoads) {
    std::set<PictureFormat> formats;
    for (const PictureKind& kind : kPictureKinds) {
        EXPECT_TRUE(formats.insert(kind.format).second) << kind.caption;
        ASSERT_NE(pictureCodec(kind.format), nullptr) << kind.caption;
        EXPECT_TRUE(pictureCodec(kind.format)->readable()) << kind.caption;
        EXPECT_EQ(pictureKindOf(kind.format), &kind);
        const QString pattern = listPattern(kind);
        ASSERT_TRUE(pattern.startsWith(QStringLiteral("*."))) << pattern.toStdString();
        EXPECT_EQ(pictureFormatOf("picture" + pattern.mid(1).toStdString()), kind.format);
    }
    EXPECT_EQ(listPattern(*pictureKindOf(PictureFormat::Jpeg)), QStringLiteral("*.jpg"));
    EXPECT_EQ(pictureKindOf(PictureFormat::Icon), nullptr) << "no list of icons";
}

TEST(PictureKinds, EachFolderIsAPicsTabPathOfItsOwn) {
    std::set<PrefPath> folders;
    for (const PictureKind& kind : kPictureKinds) {
        EXPECT_TRUE(folders.insert(kind.folder).second) << kind.caption;
        EXPECT_EQ(pictureKindOf(kind.folder), &kind);
        EXPECT_EQ(prefKey(kind.folder).owner, PrefOwner::PicsTab) << kind.caption;
    }
    EXPECT_EQ(pictureKindOf(PrefPath::Frames), nullptr);
    EXPECT_EQ(pictureKindOf(PrefPath::Html), nullptr);
}

TEST(PictureKinds, EachKindHasAnIconOfItsOwn) {
    std::vector<QImage> drawn;
    for (const PictureKind& kind : kPictureKinds) {
        const QIcon icon = pictureFileIcon(kind);
        EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        const QImage large = icon.pixmap(32).toImage();
        for (const QImage& other : drawn)
            EXPECT_NE(large, other) << kind.caption;
        drawn.push_back(large);
    }
}

} // namespace
} // namespace kelmor
