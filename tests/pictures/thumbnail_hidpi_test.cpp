// Thumbnail View on a screen that doubles its pixels (the program runs with QT_SCALE_FACTOR=2):
// the large thumbnails of the cache, on canvases of 256 pixels shown at 128.
#include "app_fixture.h"
#include "pictures/pics_tab.h"
#include "thumbnails/thumbnail_cache.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kelmor::test {
namespace {

using namespace Qt::StringLiterals;

class ThumbnailHiDpiTest : public AppFixture {};

TEST_F(ThumbnailHiDpiTest, ItemsShowTheLargeThumbnailsAtTwiceTheirPixels) {
    QFile photo(QStringLiteral(KELMOR_TEST_DATA "/corpora/raster-misc/libjpeg-turbo/testorig.jpg"));
    ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
    const QString file = writeFile(u"jpg/photo.jpg"_s, photo.readAll());
    QFile prefs(configDir() + u"/KelmorPref.ini"_s);
    ASSERT_TRUE(prefs.open(QIODevice::WriteOnly));
    prefs.write("[PREFERENCES]\nJpg=" + QFile::encodeName(workDir()) + "/jpg\n");
    prefs.close();
    start();
    auto& pics = tab<PicsTab>();
    find<QTabWidget>("PageControl1")->setCurrentWidget(&pics);
    if (pics.devicePixelRatio() != 2)
        GTEST_SKIP() << "runs under ctest with QT_SCALE_FACTOR=2";
    QListWidget& list = pics.pictureLists().list(PictureListsPanel::Kind::Jpg);
    pics.pictureLists().setCurrentWidget(&list);
    const auto shown = [&list] {
        return list.item(0)
            ->icon()
            .pixmap(QSize(128, 128), 2.0)
            .toImage()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const QImage fileIcon = shown();
    pics.findChild<QAction*>(u"PicsThumbnailView"_s)->trigger();

    const QString cached = thumbnailRoot() + u"/large/"_s +
                           QString::fromStdString(thumbnailFileName(thumbnailUri(toLocal(file))));
    QTRY_VERIFY(QFileInfo::exists(cached));
    QTRY_VERIFY(shown() != fileIcon);
    const QImage canvas = shown();
    ASSERT_EQ(canvas.size(), QSize(256, 256));
    const QImage thumbnail = QImage(cached).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QPoint corner((256 - thumbnail.width()) / 2, (256 - thumbnail.height()) / 2);
    EXPECT_EQ(canvas.copy(QRect(corner, thumbnail.size())), thumbnail);
}

} // namespace
} // namespace kelmor::test
