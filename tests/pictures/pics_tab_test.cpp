// The Pics tab driven through its controls with scripted dialogs: every command
// in its step order, including what does not happen after a failed step.
#include "app_fixture.h"
#include "imaging/picture_view.h"
#include "pictures/pics_tab.h"
#include "qstring_printer.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace kelmor::test {
namespace {

using Kind = PictureListsPanel::Kind;
const QString kCorpora = QStringLiteral(KELMOR_TEST_DATA "/corpora/");

class PicsTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = QDir(dir_.path());
        for (const char* folder : {"gif", "bmp", "jpg", "work"})
            root_.mkdir(QString::fromLatin1(folder));
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(path(QStringLiteral("work")));
        copy("golang-image-testdata/video-001.gif", "gif/video.gif");     // 150 x 103
        copy("blink-images-resources/animated.gif", "gif/Animated.GIF");  // 16 x 16, animated
        copy("bmpsuite/g/rgb24.bmp", "bmp/rgb24.bmp");                    // 127 x 64
        copy("raster-misc/libjpeg-turbo/testorig.jpg", "jpg/photo.jpg");  // 227 x 149
        copy("raster-misc/libjpeg-turbo/testorig.jpg", "jpg/photo.jpeg"); // not listed
        prefs_.setPath(PrefPath::Gif, path(QStringLiteral("gif")));
        prefs_.setPath(PrefPath::Bmp, path(QStringLiteral("bmp")));
        prefs_.setPath(PrefPath::Jpg, path(QStringLiteral("jpg")));
        tab_ = std::make_unique<PicsTab>(services_, prefs_);
        tab_->refillLists();
    }
    void TearDown() override {
        tab_.reset();
        QDir::setCurrent(previousDir_);
    }

    QString path(const QString& name) const { return root_.filePath(name); }
    void copy(const char* from, const char* to) const {
        ASSERT_TRUE(
            QFile::copy(kCorpora + QString::fromLatin1(from), path(QString::fromLatin1(to))));
    }
    void trigger(const char* command) const {
        auto* action = tab_->findChild<QAction*>(QString::fromLatin1(command));
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }
    QListWidget& list(Kind kind) const { return tab_->pictureLists().list(kind); }
    void click(Kind kind, int row) {
        QListWidget& files = list(kind);
        files.setCurrentRow(row);
        emit files.itemClicked(files.item(row));
    }
    QComboBox& box() const { return tab_->currentPictureBox(); }
    const Picture& shown() const { return tab_->previewImage().picture(); }
    QStringList history() const {
        QStringList entries;
        for (int i = 0; i < box().count(); ++i)
            entries << box().itemText(i);
        return entries;
    }
    static QStringList captions(const QListWidget& files) {
        QStringList texts;
        for (int i = 0; i < files.count(); ++i)
            texts << files.item(i)->text();
        return texts;
    }

    ScriptedDialogs dialogs_;
    RecordingShell shell_;
    RecordingHelpViewer help_;
    Services services_{dialogs_, shell_, help_, AppPaths{}};
    PreferenceStore prefs_;
    QTemporaryDir dir_;
    QDir root_;
    QString previousDir_;
    std::unique_ptr<PicsTab> tab_;
};

TEST_F(PicsTabTest, ListsHoldTheirFoldersPicturesIgnoringCaseAndAMissingFolderListsNothing) {
    root_.mkdir(QStringLiteral("gif/folder.gif"));
    trigger("PicsRefresh");
    EXPECT_EQ(captions(list(Kind::Gif)),
              (QStringList{QStringLiteral("Animated.GIF"), QStringLiteral("folder.gif"),
                           QStringLiteral("video.gif")}));
    EXPECT_EQ(captions(list(Kind::Jpg)), QStringList{QStringLiteral("photo.jpg")});
    prefs_.setPath(PrefPath::Bmp, path(QStringLiteral("none")));
    trigger("PicsRefresh");
    EXPECT_EQ(list(Kind::Bmp).count(), 0);
    EXPECT_TRUE(dialogs_.errors.isEmpty());
}

struct ListCase {
    Kind kind;
    const char* file;
    const char* status;
};

class PicsListClick : public PicsTabTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(PicsListClick, ShowsThePictureMakesItCurrentAndWritesItsSize) {
    const ListCase& c = GetParam();
    const QString file = path(QString::fromLatin1(c.file));
    const int row = static_cast<int>(captions(list(c.kind)).indexOf(QFileInfo(file).fileName()));
    list(c.kind).setCurrentRow(row);
    QTest::keyClick(&list(c.kind), Qt::Key_Return); // the keyboard's click
    EXPECT_EQ(box().currentText(), file);
    click(c.kind, row);
    EXPECT_FALSE(shown().empty());
    EXPECT_EQ(box().currentText(), file);
    EXPECT_EQ(history(), QStringList{file}) << "added once";
    EXPECT_EQ(tab_->statusText(), QString::fromLatin1(c.status));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PicsListClick,
    ::testing::Values(ListCase{Kind::Gif, "gif/video.gif", "Image Size: 103h x 150w"},
                      ListCase{Kind::Bmp, "bmp/rgb24.bmp", "Image Size: 64h x 127w"},
                      ListCase{Kind::Jpg, "jpg/photo.jpg", "Image Size: 149h x 227w"}));

TEST_F(PicsTabTest, AClickWithoutSelectionOrOnAnUnreadablePictureChangesNothingAfterTheLoad) {
    click(Kind::Gif, 1);
    emit list(Kind::Gif).itemClicked(nullptr);
    list(Kind::Gif).clearSelection();
    emit list(Kind::Gif).itemClicked(list(Kind::Gif).item(0));
    EXPECT_FALSE(shown().empty());

    QFile::copy(path(QStringLiteral("bmp/rgb24.bmp")), path(QStringLiteral("gif/broken.gif")));
    trigger("PicsRefresh");
    click(Kind::Gif,
          static_cast<int>(captions(list(Kind::Gif)).indexOf(QStringLiteral("broken.gif"))));
    EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("Invalid GIF signature")});
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(box().currentText(), path(QStringLiteral("gif/video.gif")));
    EXPECT_EQ(history().size(), 1);
    EXPECT_EQ(tab_->statusText(), QStringLiteral("Image Size: 103h x 150w"));
}

TEST_F(PicsTabTest, DropDownChoiceLoadsWithoutStatusOrHistoryAndReportsADeletedFile) {
    click(Kind::Gif, 1);
    click(Kind::Bmp, 0);
    emit box().activated(0);
    EXPECT_EQ(shown().format(), PictureFormat::Gif);
    EXPECT_EQ(tab_->statusText(), QStringLiteral("Image Size: 64h x 127w"));
    EXPECT_EQ(history().size(), 2);

    QFile::remove(path(QStringLiteral("bmp/rgb24.bmp")));
    emit box().activated(1);
    EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("Cannot open file ") +
                                           path(QStringLiteral("bmp/rgb24.bmp"))});
    EXPECT_TRUE(shown().empty());
}

TEST_F(PicsTabTest, ClearAndOpenLeaveTheStatusAndCancelChangesNothing) {
    click(Kind::Bmp, 0);
    trigger("PicsClear");
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(box().currentText(), path(QStringLiteral("bmp/rgb24.bmp")));

    trigger("PicsOpen");
    EXPECT_EQ(box().currentText(), path(QStringLiteral("bmp/rgb24.bmp")));
    dialogs_.fileAnswers.push_back(path(QStringLiteral("jpg/photo.jpeg")));
    trigger("PicsOpen");
    EXPECT_EQ(dialogs_.fileRequests,
              (QStringList{QStringLiteral("picture"), QStringLiteral("picture")}));
    EXPECT_EQ(shown().format(), PictureFormat::Jpeg);
    EXPECT_EQ(history(), (QStringList{path(QStringLiteral("bmp/rgb24.bmp")),
                                      path(QStringLiteral("jpg/photo.jpeg"))}));
    EXPECT_EQ(tab_->statusText(), QStringLiteral("Image Size: 64h x 127w"));
}

TEST_F(PicsTabTest, SaveAsksThenWritesThePicturesOwnFormatAndRebuildsTheLists) {
    trigger("PicsSave");
    EXPECT_TRUE(dialogs_.questions.isEmpty()) << "an empty box asks nothing";

    click(Kind::Gif, 1);
    const QString target = path(QStringLiteral("bmp/copy.bmp"));
    box().setEditText(target);
    trigger("PicsSave");
    EXPECT_FALSE(QFile::exists(target)) << "No";
    dialogs_.confirmAnswers.push_back(true);
    trigger("PicsSave");
    EXPECT_EQ(dialogs_.questions.last(), QStringLiteral("Save File as ") + target);
    QFile saved(target);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("GIF8"));
    EXPECT_TRUE(captions(list(Kind::Bmp)).contains(QStringLiteral("copy.bmp")));
}

TEST_F(PicsTabTest, SaveAsOffersTheHeldTypeKeepsTheBoxAndAFailureRebuildsNothing) {
    click(Kind::Bmp, 0);
    dialogs_.fileAnswers.push_back(path(QStringLiteral("jpg/x.jpg")));
    trigger("PicsSaveAs");
    EXPECT_EQ(dialogs_.fileRequests.last(), QStringLiteral("save|Bitmaps (*.bmp)|*.bmp|") +
                                                path(QStringLiteral("bmp/rgb24.bmp")));
    EXPECT_TRUE(captions(list(Kind::Jpg)).contains(QStringLiteral("x.jpg")));
    EXPECT_EQ(box().currentText(), path(QStringLiteral("bmp/rgb24.bmp")));

    const QString unwritable = path(QStringLiteral("none/y.jpg"));
    dialogs_.fileAnswers.push_back(unwritable);
    root_.remove(QStringLiteral("jpg/x.jpg"));
    trigger("PicsSaveAs");
    EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("Cannot create file ") + unwritable});
    EXPECT_TRUE(captions(list(Kind::Jpg)).contains(QStringLiteral("x.jpg")));
}

TEST_F(PicsTabTest, ViewsSwitchOnlyTheShownListAndOptionsAsksTheMainWindow) {
    tab_->pictureLists().setCurrentIndex(1);
    trigger("PicsSmallView");
    EXPECT_EQ(list(Kind::Bmp).viewMode(), QListView::ListMode);
    EXPECT_EQ(list(Kind::Gif).viewMode(), QListView::IconMode);
    trigger("PicsLargeView");
    EXPECT_EQ(list(Kind::Bmp).viewMode(), QListView::IconMode);
    QSignalSpy options(tab_.get(), &TabPage::optionsRequested);
    trigger("PicsOptions");
    EXPECT_EQ(options.count(), 1);
}

// ---- Conversion from the lists' pop-up menus
// -----------------------------------------------------

struct ConvertCase {
    const char* popup;
    const char* source;
    const char* output;
    int bitsPerPixelOrColours; // BMP: bits per pixel; GIF: colour table size (216 padded to 256)
};

class PicsConvert : public PicsTabTest, public ::testing::WithParamInterface<ConvertCase> {};

TEST_P(PicsConvert, WritesTheOutputInTheWorkingFolderAndShowsIt) {
    const ConvertCase& c = GetParam();
    box().setEditText(path(QString::fromLatin1(c.source)));
    tab_->showStatus(QStringLiteral("old"));
    trigger(c.popup);
    const QString output = QString::fromLatin1(c.output);
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("work/") + output)));
    EXPECT_EQ(box().currentText(), output);
    EXPECT_EQ(box().toolTip(), path(QStringLiteral("work/") + output));
    EXPECT_EQ(tab_->statusText(), QStringLiteral("Status: Image Converted."));
    EXPECT_EQ(history().size(), 0);
    if (shown().format() == PictureFormat::Bitmap)
        EXPECT_EQ(shown().bitmap()->bitsPerPixel(), c.bitsPerPixelOrColours);
    else
        EXPECT_EQ(shown().gif()->frame(0).localColorTable.size(), c.bitsPerPixelOrColours);

    trigger(c.popup); // the output is now the source, of the wrong kind
    EXPECT_EQ(dialogs_.errors.size(), 1);
    EXPECT_EQ(tab_->statusText(), QString());
    EXPECT_FALSE(shown().empty()) << "an unreadable source leaves the preview";
}

INSTANTIATE_TEST_SUITE_P(
    Popups, PicsConvert,
    ::testing::Values(ConvertCase{"PopupGifToBmp", "gif/video.gif", "newimage.bmp", 8},
                      ConvertCase{"PopupGifToBmp", "gif/Animated.GIF", "newimage.bmp", 8},
                      ConvertCase{"PopupBmpToGif", "bmp/rgb24.bmp", "newimage.gif", 256}));

TEST_F(PicsTabTest, AnOutputThatCannotBeCreatedEmptiesThePreviewAndKeepsTheSource) {
    root_.mkdir(QStringLiteral("work/newimage.bmp"));
    click(Kind::Gif, 1);
    trigger("PopupGifToBmp");
    EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("Cannot create file newimage.bmp")});
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(box().currentText(), path(QStringLiteral("gif/video.gif")));
    EXPECT_EQ(tab_->statusText(), QString());
}

// ---- Inside the whole program: the menus and the first show
// --------------------------------------

class PicsTabAppTest : public AppFixture {};

TEST_F(PicsTabAppTest, ImageMenuConvertsFromThePicsTabAndListsAreFilledAtFirstShow) {
    writeFile(QStringLiteral("gifs/video.gif"), [] {
        QFile f(kCorpora + QStringLiteral("golang-image-testdata/video-001.gif"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }());
    QFile prefs(configDir() + QStringLiteral("/KelmorPref.ini"));
    ASSERT_TRUE(prefs.open(QIODevice::WriteOnly));
    prefs.write("[PREFERENCES]\r\nGif=" +
                QDir(workDir()).filePath(QStringLiteral("gifs")).toLocal8Bit() + "\r\n");
    prefs.close();
    start();
    PicsTab& tab = app->mainWindow().picsTab();
    ASSERT_EQ(tab.pictureLists().list(Kind::Gif).count(), 1);
    EXPECT_FALSE(find<QMenu>("Image1")->menuAction()->isVisible());
    find<QTabWidget>("PageControl1")->setCurrentWidget(&tab);
    EXPECT_TRUE(find<QMenu>("Image1")->menuAction()->isVisible());

    tab.currentPictureBox().setEditText(QDir(workDir()).filePath(QStringLiteral("gifs/video.gif")));
    find<QAction>("GifToBmp1")->trigger();
    find<QAction>("BmpToGif1")->trigger();
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(tab.currentPictureBox().currentText(), QStringLiteral("newimage.gif"));
    EXPECT_TRUE(QFile::exists(QDir(workDir()).filePath(QStringLiteral("newimage.bmp"))));
    EXPECT_EQ(tab.previewImage().picture().format(), PictureFormat::Gif);
}

} // namespace
} // namespace kelmor::test
