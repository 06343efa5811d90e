// The Pics tab driven through its controls with scripted dialogs: every command
// in its step order, including what does not happen after a failed step.
#include "animation/gifs_tab.h"
#include "app_fixture.h"
#include "imaging/picture_view.h"
#include "pictures/pics_tab.h"
#include "qstring_printer.h"
#include "thumbnails/thumbnail_cache.h"
#include "ui/qt_text.h"
#include "ui/thumbnail_loader.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelmor::test {
namespace {

using namespace Qt::StringLiterals;
using Kind = PictureListsPanel::Kind;
const QString kCorpora = QStringLiteral(KELMOR_TEST_DATA "/corpora/");

// The whole program with the three picture folders and the Pics tab in front; the
// working folder receives the conversions.
class PicsTabTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        copy("golang-image-testdata/video-001.gif", "gif/video.gif");     // 150 x 103
        copy("blink-images-resources/animated.gif", "gif/Animated.GIF");  // 16 x 16, animated
        copy("bmpsuite/g/rgb24.bmp", "bmp/rgb24.bmp");                    // 127 x 64
        copy("raster-misc/libjpeg-turbo/testorig.jpg", "jpg/photo.jpg");  // 227 x 149
        copy("raster-misc/libjpeg-turbo/testorig.jpg", "jpg/photo.jpeg"); // not listed
        QFile prefs(configDir() + u"/KelmorPref.ini"_s);
        ASSERT_TRUE(prefs.open(QIODevice::WriteOnly));
        prefs.write(
            u"[PREFERENCES]\r\nGif=%1\r\nBmp=%2\r\nJpg=%3\r\nPng=%4\r\nWebP=%5\r\nSvg=%6\r\n"_s
                .arg(path("gif"), path("bmp"), path("jpg"), path("png"), path("webp"), path("svg"))
                .toLocal8Bit());
        prefs.close();
        start();
        find<QTabWidget>("PageControl1")->setCurrentWidget(&tab());
    }

    PicsTab& tab() const { return AppFixture::tab<PicsTab>(); }
    QString path(const char* name) const { return workDir() + u'/' + QLatin1String(name); }
    void copy(const char* from, const char* to) const {
        QFile source(kCorpora + QLatin1String(from));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << from;
        writeFile(QLatin1String(to), source.readAll());
    }
    void trigger(const char* command) const {
        auto* action = tab().findChild<QAction*>(QString::fromLatin1(command));
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }
    QListWidget& list(Kind kind) const { return tab().pictureLists().list(kind); }
    QStringList captions(Kind kind) const {
        QStringList texts;
        for (int i = 0; i < list(kind).count(); ++i)
            texts << list(kind).item(i)->text();
        return texts;
    }
    void click(Kind kind, const QString& caption) {
        const int row = static_cast<int>(captions(kind).indexOf(caption));
        list(kind).setCurrentRow(row);
        emit list(kind).itemClicked(list(kind).item(row));
    }
    // `count` copies of a small PNG in the folder, p0000.png and on, and the lists read again.
    void writePngs(const char* folder, int count) const {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG"));
        for (int i = 0; i < count; ++i)
            writeFile(u"%1/p%2.png"_s.arg(QLatin1String(folder)).arg(i, 4, 10, QLatin1Char('0')),
                      bytes);
        trigger("PicsRefresh");
    }
    // The thumbnails in the cache's folder of normal ones, by name.
    QStringList cacheFiles() const {
        return QDir(thumbnailRoot() + u"/normal"_s).entryList(QDir::Files, QDir::Name);
    }
    QComboBox& box() const { return tab().currentPictureBox(); }
    const Picture& shown() const { return tab().previewImage().picture(); }
    QStringList history() const {
        QStringList entries;
        for (int i = 0; i < box().count(); ++i)
            entries << box().itemText(i);
        return entries;
    }
};

TEST_F(PicsTabTest, ListsHoldTheirFoldersPicturesIgnoringCaseAndViewsSwitchOnlyTheShownList) {
    EXPECT_EQ(list(Kind::Gif).count(), 2) << "filled at the first show";
    QDir(workDir()).mkdir(u"gif/folder.gif"_s);
    trigger("PicsRefresh");
    EXPECT_EQ(captions(Kind::Gif),
              (QStringList{u"Animated.GIF"_s, u"folder.gif"_s, u"video.gif"_s}));
    EXPECT_EQ(captions(Kind::Jpg), QStringList{u"photo.jpg"_s});
    app->preferences().setPath(PrefPath::Bmp, path("none"));
    trigger("PicsRefresh");
    EXPECT_EQ(list(Kind::Bmp).count(), 0) << "a missing folder lists nothing";
    EXPECT_TRUE(dialogs.errors.isEmpty());

    trigger("PicsLargeView"); // the GIF list, shown first
    tab().pictureLists().setCurrentIndex(1);
    trigger("PicsSmallView");
    EXPECT_EQ(list(Kind::Bmp).viewMode(), QListView::ListMode);
    EXPECT_EQ(list(Kind::Gif).viewMode(), QListView::IconMode);
    trigger("PicsLargeView");
    EXPECT_EQ(list(Kind::Bmp).viewMode(), QListView::IconMode);
    trigger("PicsOptions");
    EXPECT_EQ(dialogs.modalShown, QStringList{u"FormPrefs"_s});
}

// Thumbnail View on the JPG list: the photo's thumbnail reaches the cache and its item, centred
// on a 128-pixel canvas; a damaged file keeps its icon without a message; Large View takes the
// file-type icons back.
TEST_F(PicsTabTest, ThumbnailViewShowsTheCachedThumbnailsAndKeepsADamagedFilesIcon) {
    copy("bmpsuite/g/rgb24.bmp", "jpg/broken.jpg");
    trigger("PicsRefresh");
    tab().pictureLists().setCurrentIndex(static_cast<int>(Kind::Jpg));
    const QImage fileIcon = list(Kind::Jpg).item(0)->icon().pixmap(128).toImage();
    trigger("PicsThumbnailView");
    EXPECT_EQ(list(Kind::Jpg).iconSize(), QSize(128, 128));

    const auto cacheName = [this](const char* file) {
        return QString::fromStdString(thumbnailFileName(thumbnailUri(toLocal(path(file)))));
    };
    const QString cached = thumbnailRoot() + u"/normal/"_s + cacheName("jpg/photo.jpg");
    QTRY_VERIFY(QFileInfo::exists(cached));
    QListWidgetItem& photo = *list(Kind::Jpg).item(1);
    QTRY_VERIFY(photo.icon().pixmap(128).toImage() != fileIcon);
    ThumbnailLoader::pool().waitForDone();
    QCoreApplication::sendPostedEvents();
    const QStringList failures =
        QDir(thumbnailRoot() + u"/fail"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(thumbnailRoot() + u"/fail/"_s + failures[0] + u'/' +
                                  cacheName("jpg/broken.jpg")));

    const QImage thumbnail = QImage(cached).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(std::max(thumbnail.width(), thumbnail.height()), 128);
    const QImage canvas =
        photo.icon().pixmap(128).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(canvas.size(), QSize(128, 128));
    const QPoint corner((128 - thumbnail.width()) / 2, (128 - thumbnail.height()) / 2);
    EXPECT_EQ(canvas.copy(QRect(corner, thumbnail.size())), thumbnail);
    EXPECT_EQ(qAlpha(canvas.pixel(0, 0)) == 0, corner != QPoint(0, 0)) << "transparent margin";
    EXPECT_EQ(list(Kind::Jpg).item(0)->icon().pixmap(128).toImage(), fileIcon) << "damaged";
    EXPECT_TRUE(dialogs.errors.isEmpty());

    trigger("PicsLargeView");
    EXPECT_EQ(photo.icon().pixmap(128).toImage(), fileIcon);
}

// Thumbnail View on an SVG that crashes librsvg: the program goes on, the file keeps its icon
// and gets a failure entry, the SVG beside it its thumbnail; a click shows the file's message.
TEST_F(PicsTabTest, ThumbnailViewOutlivesAnSvgThatCrashesItsRenderer) {
    for (const char* name : {"crashing-font.svg", "shapes.svg"}) {
        QFile svg(QStringLiteral(KELMOR_TEST_DATA "/svg/") + QLatin1String(name));
        ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
        writeFile(u"svg/"_s + QLatin1String(name), svg.readAll());
    }
    trigger("PicsRefresh");
    tab().pictureLists().setCurrentIndex(static_cast<int>(Kind::Svg));
    ASSERT_EQ(captions(Kind::Svg), (QStringList{u"crashing-font.svg"_s, u"shapes.svg"_s}));
    const QImage fileIcon = list(Kind::Svg).item(0)->icon().pixmap(128).toImage();
    trigger("PicsThumbnailView");

    const auto cacheName = [this](const char* file) {
        return QString::fromStdString(thumbnailFileName(thumbnailUri(toLocal(path(file)))));
    };
    QTRY_VERIFY(QFileInfo::exists(thumbnailRoot() + u"/normal/"_s + cacheName("svg/shapes.svg")));
    QTRY_VERIFY(list(Kind::Svg).item(1)->icon().pixmap(128).toImage() != fileIcon);
    ThumbnailLoader::pool().waitForDone();
    QCoreApplication::sendPostedEvents();
    const QStringList failures =
        QDir(thumbnailRoot() + u"/fail"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(thumbnailRoot() + u"/fail/"_s + failures[0] + u'/' +
                                  cacheName("svg/crashing-font.svg")));
    EXPECT_EQ(list(Kind::Svg).item(0)->icon().pixmap(128).toImage(), fileIcon);
    EXPECT_TRUE(dialogs.errors.isEmpty());

    click(Kind::Svg, u"crashing-font.svg"_s);
    EXPECT_EQ(dialogs.errors,
              QStringList{u"SVG image is not valid: "_s + path("svg/crashing-font.svg")});
    EXPECT_TRUE(shown().empty());
}

// A folder of pictures many screens long: the cache ends with the thumbnail of every file,
// while the last item, far from the view, shows its thumbnail only once it is scrolled to.
TEST_F(PicsTabTest, ThumbnailViewFillsTheCacheWithTheWholeFolder) {
    constexpr int kFiles = 400;
    writePngs("png", kFiles);
    tab().pictureLists().setCurrentIndex(static_cast<int>(Kind::Png));
    QListWidgetItem& last = *list(Kind::Png).item(kFiles - 1);
    const qint64 fileIcon = last.icon().cacheKey();
    trigger("PicsThumbnailView");
    QTRY_COMPARE_WITH_TIMEOUT(cacheFiles().size(), kFiles, 120'000);
    ThumbnailLoader::pool().waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(last.icon().cacheKey(), fileIcon);
    list(Kind::Png).scrollToBottom();
    QTRY_VERIFY(last.icon().cacheKey() != fileIcon);
}

// Another folder chosen while the pool is busy elsewhere: none of the old folder's thumbnails
// is made, and the new folder's all are.
TEST_F(PicsTabTest, ChangingTheFolderDropsTheThumbnailsNotYetMade) {
    writePngs("png", 50);
    writePngs("png2", 50);
    tab().pictureLists().setCurrentIndex(static_cast<int>(Kind::Png));
    QThreadPool& pool = ThumbnailLoader::pool();
    QSemaphore gate;
    for (int thread = 0; thread < pool.maxThreadCount(); ++thread)
        pool.start([&gate] { gate.acquire(); });
    trigger("PicsThumbnailView");
    QCoreApplication::processEvents();
    app->preferences().setPath(PrefPath::Png, path("png2"));
    trigger("PicsRefresh");
    gate.release(pool.maxThreadCount());

    QStringList expected;
    for (int i = 0; i < 50; ++i)
        expected << QString::fromStdString(thumbnailFileName(
            thumbnailUri(toLocal(path("png2") + u"/p%1.png"_s.arg(i, 4, 10, QLatin1Char('0'))))));
    expected.sort();
    QTRY_COMPARE_WITH_TIMEOUT(cacheFiles().size(), 50, 60'000);
    pool.waitForDone();
    EXPECT_EQ(cacheFiles(), expected);
}

// Closing the program while a thumbnail takes seconds to draw: the windows go at once, the
// drawing is abandoned, and what it makes later reaches no list.
TEST_F(PicsTabTest, ClosingWaitsForNoThumbnailBeingMade) {
    QByteArray svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="1000" height="1000">)"
                     R"(<filter id="b"><feGaussianBlur stdDeviation="30"/></filter>)";
    for (int i = 0; i < 1500; ++i)
        svg += u"<rect x=\"%1\" y=\"%2\" width=\"900\" height=\"900\" filter=\"url(#b)\" "
               u"opacity=\"0.5\"/>"_s.arg(i % 100)
                   .arg(i % 97)
                   .toLatin1();
    writeFile(u"svg/slow.svg"_s, svg + "</svg>");
    trigger("PicsRefresh");
    tab().pictureLists().setCurrentIndex(static_cast<int>(Kind::Svg));
    trigger("PicsThumbnailView");
    QTRY_VERIFY(ThumbnailLoader::pool().activeThreadCount() > 0);

    QElapsedTimer closing;
    closing.start();
    app.reset();
    EXPECT_LT(closing.elapsed(), 1000);
    EXPECT_GT(ThumbnailLoader::pool().activeThreadCount(), 0) << "the drawing was waited for";
    ThumbnailLoader::pool().waitForDone();
    QCoreApplication::sendPostedEvents();
}

TEST_F(PicsTabTest, AClickShowsThePictureMakesItCurrentOnceAndWritesItsSize) {
    const struct {
        Kind kind;
        const char* file;
        QString status;
    } cases[] = {{Kind::Gif, "gif/video.gif", u"Image Size: 103h x 150w"_s},
                 {Kind::Bmp, "bmp/rgb24.bmp", u"Image Size: 64h x 127w"_s},
                 {Kind::Jpg, "jpg/photo.jpg", u"Image Size: 149h x 227w"_s}};
    QStringList files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        files << path(c.file);
        const QString caption = QFileInfo(files.last()).fileName();
        list(c.kind).setCurrentRow(static_cast<int>(captions(c.kind).indexOf(caption)));
        QTest::keyClick(&list(c.kind), Qt::Key_Return); // the keyboard's click
        EXPECT_EQ(box().currentText(), files.last());
        click(c.kind, caption);
        EXPECT_FALSE(shown().empty());
        EXPECT_EQ(box().currentText(), files.last());
        EXPECT_EQ(history(), files) << "added once";
        EXPECT_EQ(tab().statusText(), c.status);
    }
}

TEST_F(PicsTabTest, AClickWithoutSelectionOrOnAnUnreadablePictureChangesNothingAfterTheLoad) {
    click(Kind::Gif, u"video.gif"_s);
    emit list(Kind::Gif).itemClicked(nullptr);
    list(Kind::Gif).clearSelection();
    emit list(Kind::Gif).itemClicked(list(Kind::Gif).item(0));
    EXPECT_FALSE(shown().empty());

    copy("bmpsuite/g/rgb24.bmp", "gif/broken.gif");
    trigger("PicsRefresh");
    click(Kind::Gif, u"broken.gif"_s);
    EXPECT_EQ(dialogs.errors, QStringList{u"Invalid GIF signature"_s});
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(box().currentText(), path("gif/video.gif"));
    EXPECT_EQ(history().size(), 1);
    EXPECT_EQ(tab().statusText(), u"Image Size: 103h x 150w"_s);

    // A named pipe is refused at once: nothing ever writes into it.
    ASSERT_EQ(::mkfifo(path("gif/pipe.gif").toLocal8Bit().constData(), 0600), 0);
    trigger("PicsRefresh");
    click(Kind::Gif, u"pipe.gif"_s);
    EXPECT_EQ(dialogs.errors.last(), u"Cannot open file "_s + path("gif/pipe.gif"));
}

TEST_F(PicsTabTest, DropDownChoiceLoadsWithoutStatusOrHistoryAndReportsADeletedFile) {
    click(Kind::Gif, u"video.gif"_s);
    click(Kind::Bmp, u"rgb24.bmp"_s);
    emit box().activated(0);
    EXPECT_EQ(shown().format(), PictureFormat::Gif);
    EXPECT_EQ(tab().statusText(), u"Image Size: 64h x 127w"_s);
    EXPECT_EQ(history().size(), 2);

    QFile::remove(path("bmp/rgb24.bmp"));
    emit box().activated(1);
    EXPECT_EQ(dialogs.errors, QStringList{u"Cannot open file "_s + path("bmp/rgb24.bmp")});
    EXPECT_TRUE(shown().empty());
}

TEST_F(PicsTabTest, ClearAndOpenLeaveTheStatusAndCancelChangesNothing) {
    click(Kind::Bmp, u"rgb24.bmp"_s);
    trigger("PicsClear");
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(box().currentText(), path("bmp/rgb24.bmp"));

    trigger("PicsOpen");
    EXPECT_EQ(box().currentText(), path("bmp/rgb24.bmp"));
    dialogs.fileAnswers.push_back(path("jpg/photo.jpeg"));
    trigger("PicsOpen");
    EXPECT_EQ(dialogs.fileRequests, (QStringList{u"picture"_s, u"picture"_s}));
    EXPECT_EQ(shown().format(), PictureFormat::Jpeg);
    EXPECT_EQ(history(), (QStringList{path("bmp/rgb24.bmp"), path("jpg/photo.jpeg")}));
    EXPECT_EQ(tab().statusText(), u"Image Size: 64h x 127w"_s);
}

TEST_F(PicsTabTest, SaveAsksThenWritesThePicturesOwnFormatAndRebuildsTheLists) {
    trigger("PicsSave");
    EXPECT_TRUE(dialogs.questions.isEmpty()) << "an empty box asks nothing";

    click(Kind::Gif, u"video.gif"_s);
    box().setEditText(path("bmp/copy.bmp"));
    trigger("PicsSave");
    EXPECT_FALSE(QFile::exists(path("bmp/copy.bmp"))) << "No";
    dialogs.confirmAnswers.push_back(true);
    trigger("PicsSave");
    EXPECT_EQ(dialogs.questions.last(), u"Save File as "_s + path("bmp/copy.bmp"));
    QFile saved(path("bmp/copy.bmp"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("GIF8"));
    EXPECT_TRUE(captions(Kind::Bmp).contains(u"copy.bmp"_s));
}

TEST_F(PicsTabTest, SaveAsOffersTheHeldTypeKeepsTheBoxAndAFailureRebuildsNothing) {
    click(Kind::Bmp, u"rgb24.bmp"_s);
    dialogs.fileAnswers.push_back(path("jpg/x.jpg"));
    trigger("PicsSaveAs");
    EXPECT_EQ(dialogs.fileRequests.last(),
              u"save|Bitmaps (*.bmp)|*.bmp|"_s + path("bmp/rgb24.bmp"));
    EXPECT_TRUE(captions(Kind::Jpg).contains(u"x.jpg"_s));
    EXPECT_EQ(box().currentText(), path("bmp/rgb24.bmp"));

    dialogs.fileAnswers.push_back(path("none/y.jpg"));
    QDir(workDir()).remove(u"jpg/x.jpg"_s);
    trigger("PicsSaveAs");
    EXPECT_EQ(dialogs.errors, QStringList{u"Cannot create file "_s + path("none/y.jpg")});
    EXPECT_TRUE(captions(Kind::Jpg).contains(u"x.jpg"_s));
}

// The pop-up menus convert the box's file into the working folder and show the output; the
// output, of the wrong kind for a second conversion, fails and leaves the preview.
TEST_F(PicsTabTest, PopupConversionWritesTheOutputInTheWorkingFolderAndShowsIt) {
    const struct {
        const char* popup;
        const char* source;
        QString output;
    } cases[] = {{"PopupGifToBmp", "gif/video.gif", u"newimage.bmp"_s},
                 {"PopupBmpToGif", "bmp/rgb24.bmp", u"newimage.gif"_s}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.popup);
        dialogs.errors.clear();
        box().setEditText(path(c.source));
        tab().showStatus(u"old"_s);
        trigger(c.popup);
        EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
        EXPECT_TRUE(QFile::exists(path("") + c.output));
        EXPECT_EQ(box().currentText(), c.output);
        EXPECT_EQ(box().toolTip(), path("") + c.output);
        EXPECT_EQ(tab().statusText(), u"Status: Image Converted."_s);
        EXPECT_EQ(history().size(), 0);
        if (shown().format() == PictureFormat::Bitmap)
            EXPECT_EQ(shown().bitmap()->bitsPerPixel(), 8);
        else // the 216 fixed colours padded to 256
            EXPECT_EQ(shown().gif()->frame(0).localColorTable.size(), 256);

        trigger(c.popup);
        EXPECT_EQ(dialogs.errors.size(), 1);
        EXPECT_EQ(tab().statusText(), QString());
        EXPECT_FALSE(shown().empty()) << "an unreadable source leaves the preview";
    }
}

TEST_F(PicsTabTest, AnOutputThatCannotBeCreatedEmptiesThePreviewAndKeepsTheSource) {
    QDir(workDir()).mkdir(u"newimage.bmp"_s);
    click(Kind::Gif, u"video.gif"_s);
    trigger("PopupGifToBmp");
    EXPECT_EQ(dialogs.errors, QStringList{u"Cannot create file newimage.bmp"_s});
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(box().currentText(), path("gif/video.gif"));
    EXPECT_EQ(tab().statusText(), QString());
}

// The Image menu is shown only with the Pics tab in front, and converts from it.
TEST_F(PicsTabTest, ImageMenuConvertsFromThePicsTab) {
    QMenu& image = *find<QMenu>("Image1");
    find<QTabWidget>("PageControl1")->setCurrentWidget(&AppFixture::tab<GifsTab>());
    EXPECT_FALSE(image.menuAction()->isVisible());
    find<QTabWidget>("PageControl1")->setCurrentWidget(&tab());
    EXPECT_TRUE(image.menuAction()->isVisible());

    box().setEditText(path("gif/video.gif"));
    find<QAction>("GifToBmp1")->trigger();
    find<QAction>("BmpToGif1")->trigger();
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(box().currentText(), u"newimage.gif"_s);
    EXPECT_TRUE(QFile::exists(path("newimage.bmp")));
    EXPECT_EQ(shown().format(), PictureFormat::Gif);
}

// A PNG (written by Qt), a WebP (by cwebp) and an SVG, each opaque in its colour on the left
// and transparent on the right.
class NewKindsTest : public PicsTabTest {
protected:
    void SetUp() override {
        PicsTabTest::SetUp();
        QImage image(12, 7, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int x = 0; x < 6; ++x)
            for (int y = 0; y < 7; ++y)
                image.setPixel(x, y, kColour);
        QDir().mkpath(path("png"));
        QDir().mkpath(path("webp"));
        ASSERT_TRUE(image.save(path("png/Button.PNG"), "PNG"));
        ASSERT_EQ(
            QProcess::execute(u"cwebp"_s, {u"-quiet"_s, u"-lossless"_s, path("png/Button.PNG"),
                                           u"-o"_s, path("webp/photo.webp")}),
            0);
        writeFile(u"svg/ICON.SVG"_s,
                  "<svg xmlns='http://www.w3.org/2000/svg' width='20' "
                  "height='30'><rect width='10' height='30' fill='#c81e28'/></svg>");
        writeFile(u"svg/notes.txt"_s, "not listed");
        trigger("PicsRefresh");
    }
    static constexpr QRgb kColour = 0xffc81e28;
};

// Each new list holds its folder's pictures; a click shows the picture over the white area
// behind it and writes its size; Save As offers its own type.
TEST_F(NewKindsTest, ListsShowEachKindOverTheBackgroundAndSaveAsOffersItsType) {
    const struct {
        Kind kind;
        QString caption, status, filter;
    } cases[] = {
        {Kind::Png, u"Button.PNG"_s, u"Image Size: 7h x 12w"_s, u"PNG Image (*.png)|*.png"_s},
        {Kind::WebP, u"photo.webp"_s, u"Image Size: 7h x 12w"_s, u"WebP Image (*.webp)|*.webp"_s},
        {Kind::Svg, u"ICON.SVG"_s, u"Image Size: 30h x 20w"_s, u"SVG Image (*.svg)|*.svg"_s}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        EXPECT_EQ(tab().pictureLists().tabText(static_cast<int>(c.kind)),
                  c.filter.section(u' ', 0, 0));
        EXPECT_EQ(captions(c.kind), QStringList{c.caption});
        click(c.kind, c.caption);
        EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
        EXPECT_EQ(tab().statusText(), c.status);
        const QImage seen = seenOnScreen(tab().previewImage());
        EXPECT_EQ(seen.pixel(0, 0), kColour);
        EXPECT_EQ(seen.pixel(seen.width() - 1, 0), qRgb(255, 255, 255));
        trigger("PicsSaveAs");
        EXPECT_EQ(dialogs.fileRequests.last(), u"save|"_s + c.filter + u'|' + box().currentText());
    }
}

// The four commands after the two old ones of the Convert menu turn a picture of any kind into
// their own, with the status line and the errors of the old ones.
TEST_F(NewKindsTest, PictureCommandsConvertAnyKindIntoTheirOwn) {
    const struct {
        const char* command;
        const char* source;
        PictureFormat format;
    } cases[] = {{"PictureToPng1", "svg/ICON.SVG", PictureFormat::Png},
                 {"PictureToWebp1", "jpg/photo.jpg", PictureFormat::WebP},
                 {"PictureToGif1", "webp/photo.webp", PictureFormat::Gif},
                 {"PictureToBmp1", "png/Button.PNG", PictureFormat::Bitmap}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        box().setEditText(path(c.source));
        trigger(c.command);
        EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
        EXPECT_EQ(shown().format(), c.format);
        EXPECT_EQ(box().toolTip(), path("") + box().currentText());
        EXPECT_EQ(tab().statusText(), u"Status: Image Converted."_s);
    }
    EXPECT_EQ(box().currentText(), u"newimage.bmp"_s);
    box().setEditText(path("png/gone.png"));
    trigger("PictureToPng1");
    EXPECT_EQ(dialogs.errors, QStringList{u"Cannot open file "_s + path("png/gone.png")});
    EXPECT_EQ(tab().statusText(), QString());
    EXPECT_FALSE(shown().empty());
}

} // namespace
} // namespace kelmor::test
