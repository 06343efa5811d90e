// The Gifs tab and the Gifs Options dialog, driven through the whole program
// with scripted dialogs: one test per command, the slot family parameterised,
// drag and drop with synthetic drag events.
#include "animation/anim_form.h"
#include "animation/gifs_tab.h"
#include "animation/preview_area.h"
#include "app_fixture.h"
#include "base/atomic_file.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/picture_view.h"
#include "pictures/pics_tab.h"
#include "qstring_printer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace kelmor::test {
namespace {

using namespace Qt::StringLiterals;

// A 10 x 8 bitmap of vertical stripes; `shift` moves them.
Bitmap stripes(int bits, int shift) {
    Bitmap bitmap(10, 8, bits);
    const Rgb colours[] = {{200, 0, 0}, {0, 150, 50}, {20, 20, 220}};
    if (bits <= 8)
        bitmap.palette.assign(std::begin(colours), std::end(colours));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const unsigned index = unsigned((x + shift) / 3 % 3);
            if (bits <= 8)
                bitmap.setIndex(x, y, index);
            else
                bitmap.setColor(x, y, colours[index]);
        }
    return bitmap;
}

const char* const kSlotNames[] = {"a1",      "b2",      "c3",      "d4",      "Image6",
                                  "Image7",  "Image9",  "Image10", "Image11", "Image12",
                                  "Image13", "Image14", "Image15", "Image16", "Image17",
                                  "Image18", "Image19", "Image20", "Image21", "Image22"};

class GifsTabTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        frames_ = workDir() + u"/frames"_s;
        QDir().mkpath(frames_ + u"/folder.bmp"_s);
        writeFileReplacing(frame("one.bmp"), writeBmp(stripes(4, 0)));
        writeFileReplacing(frame("Two.BMP"), writeBmp(stripes(24, 1)));
        writeFileReplacing(frame("three.bmp"), writeBmp(stripes(8, 0)));
        writeFileReplacing(frame("notes.txt"), "not a picture");
        writeConfig("KelmorPref.ini", "[PREFERENCES]\nBmp2=" + frames_.toStdString() + "\n");
        writeConfig("KelGifPref.ini", "[PREFERENCES]\nLoops=2\nSpeed=7\n");
    }

    void writeConfig(const char* name, const std::string& text) const {
        writeFileReplacing(config(name), text);
    }
    std::string config(const char* name) const {
        return (configDir() + u'/' + QLatin1String(name)).toStdString();
    }
    std::string frame(const char* name) const {
        return (frames_ + u'/' + QLatin1String(name)).toStdString();
    }
    QString out(const char* name) const { return workDir() + u'/' + QLatin1String(name); }

    // Starts the program with the Gifs tab in front, laid out.
    void startOnGifsTab() {
        start();
        find<QTabWidget>("PageControl1")->setCurrentWidget(&tab<GifsTab>());
        QApplication::processEvents();
    }
    QListWidget& list() const { return *find<QListWidget>("ListView7"); }
    PictureView& slot(int k) const { return *find<PictureView>(kSlotNames[k]); }
    PictureView& preview() const { return *find<PictureView>("ImageAnimate"); }
    QToolButton& button(const char* name) const { return *find<QToolButton>(name); }
    void press(const char* name) const { QTest::mouseClick(&button(name), Qt::LeftButton); }
    bool saveAsEnabled() const { return button("ToolButton56").isEnabled(); }
    bool playEnabled() const { return button("ToolButton57").isEnabled(); }
    QLineEdit& frameCount() const { return *find<QLineEdit>("Edit27"); }
    QComboBox& currentAnimation() const { return *find<QComboBox>("ComboBox7"); }
    template <class T> T& option(const char* name) const {
        return *tab<GifsTab>().gifsOptions().findChild<T*>(QString::fromLatin1(name));
    }
    const GifImage* animation() const { return preview().picture().gif(); }

    void select(const char* caption) const {
        const auto items = list().findItems(QString::fromLatin1(caption), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << caption;
        list().setCurrentItem(items.first());
    }
    // Drags the payload onto the widget and drops it there; true when the drop was accepted.
    static bool dragAndDrop(QWidget& target, QMimeData& payload) {
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &payload, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop({5, 5}, Qt::CopyAction, &payload, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        return drop.isAccepted();
    }
    // Drags the list's item, as the list gives it, onto the slot.
    void dropFromList(int k, const char* caption) {
        select(caption);
        std::unique_ptr<QMimeData> payload(
            list().model()->mimeData(list().selectionModel()->selectedIndexes()));
        EXPECT_TRUE(dragAndDrop(slot(k), *payload));
    }
    void assemble(const QString& count) {
        frameCount().setText(count);
        press("ToolButton57");
    }

    QString frames_;
};

TEST_F(GifsTabTest, FrameSourceListShowsTheBitmapsOfTheBmpFilesFolder) {
    startOnGifsTab();
    QStringList captions;
    for (int i = 0; i < list().count(); ++i)
        captions << list().item(i)->text();
    captions.sort(Qt::CaseInsensitive);
    EXPECT_EQ(captions, (QStringList{u"folder.bmp"_s, u"one.bmp"_s, u"three.bmp"_s, u"Two.BMP"_s}));
    EXPECT_EQ(list().viewMode(), QListView::IconMode);
    EXPECT_EQ(list().dragDropMode(), QAbstractItemView::DragOnly);

    writeFileReplacing(frame("four.bmp"), writeBmp(stripes(8, 2)));
    press("ToolButton62");
    EXPECT_EQ(list().count(), 5);
    press("ToolButton60");
    EXPECT_EQ(list().viewMode(), QListView::ListMode);
    press("ToolButton59");
    EXPECT_EQ(list().viewMode(), QListView::IconMode);
    EXPECT_EQ(list().dragDropMode(), QAbstractItemView::DragOnly);

    // A double click shows the bitmap and its size on the Pics tab's status line.
    select("one.bmp");
    const QRect at = list().visualItemRect(list().currentItem());
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, at.center());
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, at.center());
    EXPECT_EQ(preview().picture().format(), PictureFormat::Bitmap);
    EXPECT_EQ(preview().size(), QSize(10, 8));
    EXPECT_EQ(tab<PicsTab>().statusText(), u"Image Size: 8h x 10w"_s);
}

TEST_F(GifsTabTest, UpDownStepsTheFrameCountFromZeroToTwentyWithoutWrapping) {
    start();
    EXPECT_EQ(frameCount().text(), u"1"_s);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(find<QToolButton>("UpDown1Down"), Qt::LeftButton);
    EXPECT_EQ(frameCount().text(), u"0"_s);
    frameCount().setText(u"19"_s);
    QTest::keyClick(&frameCount(), Qt::Key_Up);
    QTest::mouseClick(find<QToolButton>("UpDown1Up"), Qt::LeftButton);
    EXPECT_EQ(frameCount().text(), u"20"_s);
}

class SlotFamily : public GifsTabTest, public ::testing::WithParamInterface<int> {};

TEST_P(SlotFamily, DropLoadsTheSelectedBitmapAndOnlyTheFirstEnablesPlay) {
    const int k = GetParam();
    start();
    EXPECT_FALSE(playEnabled());
    EXPECT_EQ(slot(k).picture().width(), 50); // the placeholder
    dropFromList(k, "Two.BMP");
    EXPECT_EQ(slot(k).picture().format(), PictureFormat::Bitmap);
    EXPECT_EQ(slot(k).picture().width(), 10); // held at full size,
    EXPECT_EQ(slot(k).size(), QSize(50, 50)); // shown stretched
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(playEnabled(), k == 0);
}

INSTANTIATE_TEST_SUITE_P(TwentySlots, SlotFamily, ::testing::Range(0, 20),
                         [](const auto& param) { return std::string(kSlotNames[param.param]); });

TEST_F(GifsTabTest, SlotsLoadTheSelectedItemWhateverIsDraggedOrOnEnterAndKeepTheirsOnAFailure) {
    startOnGifsTab();
    QMimeData text;
    text.setText(u"anything"_s);
    list().clearSelection();
    dragAndDrop(slot(0), text); // no selection: nothing
    EXPECT_EQ(slot(0).picture().width(), 50);
    dropFromList(0, "folder.bmp");
    EXPECT_EQ(dialogs.errors, QStringList{u"Cannot open file "_s + frames_ + u"/folder.bmp"_s});
    EXPECT_EQ(slot(0).picture().width(), 50);
    EXPECT_FALSE(playEnabled());

    select("three.bmp");
    QMimeData fromPreview;
    fromPreview.setData(QString::fromLatin1(kControlDragMime), QByteArray());
    EXPECT_TRUE(dragAndDrop(slot(3), fromPreview));
    EXPECT_TRUE(dragAndDrop(slot(4), text));
    slot(7).setFocus();
    QTest::keyClick(&slot(7), Qt::Key_Return);
    for (int k : {3, 4, 7})
        EXPECT_EQ(slot(k).picture().width(), 10) << k;

    // The preview area takes every drag and does nothing with the drop.
    EXPECT_TRUE(dragAndDrop(*find<QScrollArea>("ScrollBox5")->viewport(), text));
    EXPECT_TRUE(preview().picture().empty());
}

// Insert, from anywhere on the tab, puts the selected picture into the slot
// that has the focus, or else into the first slot nothing was put into since
// "New Gif Animation".
TEST_F(GifsTabTest, InsertFillsTheFocusedSlotOrElseTheFirstEmptyOne) {
    startOnGifsTab();
    app->mainWindow().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app->mainWindow()));
    const auto filled = [this] {
        QList<int> taken;
        for (int k = 0; k < 20; ++k)
            if (slot(k).picture().width() == 10)
                taken << k;
        return taken;
    };
    dropFromList(1, "three.bmp");
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Insert);
    QTest::keyClick(&list(), Qt::Key_Insert);
    slot(9).setFocus();
    QTest::keyClick(&slot(9), Qt::Key_Insert);
    EXPECT_EQ(filled(), (QList<int>{0, 1, 2, 9}));
    EXPECT_TRUE(playEnabled());

    press("ToolButton53");
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Insert);
    EXPECT_EQ(filled(), QList<int>{0});
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

// Records, at every paint of the preview during an assembly, what it shows and the cursor.
class PaintRecorder : public QObject {
public:
    QStringList painted;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const Picture& shown = static_cast<PictureView&>(*watched).picture();
            const QCursor* cursor = QApplication::overrideCursor();
            const bool wait = cursor && cursor->shape() == Qt::WaitCursor;
            painted << u"%1x%2 %3"_s.arg(shown.width())
                           .arg(shown.height())
                           .arg(QLatin1String(wait ? "wait" : "-"));
        }
        return false;
    }
};

TEST_F(GifsTabTest, EachFrameIsPaintedUnderTheHourglassWhileItIsAdded) {
    startOnGifsTab();
    dropFromList(0, "one.bmp");
    PaintRecorder recorder;
    preview().installEventFilter(&recorder);
    assemble(u"3"_s);
    preview().removeEventFilter(&recorder);
    // Later paints show the finished animation, after the hourglass.
    EXPECT_EQ(recorder.painted.mid(0, 3),
              (QStringList{u"10x8 wait"_s, u"50x50 wait"_s, u"50x50 wait"_s}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Play assembles only for the exact texts "2" to "20" (other texts are covered in
// assembly_test.cpp); after New Gif Animation the nineteen actions assemble their count.
TEST_F(GifsTabTest, PlayNewGifAnimationAndTheNineteenActionsAssembleTheirCount) {
    start();
    dropFromList(0, "one.bmp");
    dropFromList(19, "one.bmp");
    option<QCheckBox>("CheckBoxCrop").setChecked(false);
    option<QCheckBox>("CheckBoxMerge").setChecked(false);
    for (const QString& text : {u"1"_s, u""_s, u"02"_s}) {
        assemble(text);
        EXPECT_TRUE(preview().picture().empty()) << text.toStdString();
        EXPECT_FALSE(saveAsEnabled()) << text.toStdString();
    }
    for (int n : {2, 20}) {
        assemble(QString::number(n));
        ASSERT_NE(animation(), nullptr) << n;
        EXPECT_EQ(animation()->frameCount(), n);
        EXPECT_TRUE(preview().animating());
        EXPECT_TRUE(saveAsEnabled());
    }
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // New Gif Animation empties the preview and puts the hidden keeper's placeholder in every
    // slot, keeping the frame count text and the commands.
    frameCount().setText(u"7"_s);
    press("ToolButton53");
    EXPECT_TRUE(preview().picture().empty());
    const PictureView& keeper = *find<PictureView>("Image24");
    EXPECT_FALSE(keeper.isVisibleTo(keeper.parentWidget()));
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(slot(k).picture().encoded(), keeper.picture().encoded()) << k;
    EXPECT_EQ(frameCount().text(), u"7"_s);
    EXPECT_TRUE(playEnabled());
    EXPECT_TRUE(saveAsEnabled());
    option<QCheckBox>("CheckBoxCrop").setChecked(true);
    option<QCheckBox>("CheckBoxMerge").setChecked(true);
    for (int n = 2; n <= 20; ++n) {
        auto* action = tab<GifsTab>().findChild<QAction*>(u"actAnimate%1"_s.arg(n));
        ASSERT_NE(action, nullptr) << n;
        action->trigger();
        ASSERT_NE(animation(), nullptr) << n;
        // Identical placeholders: the three options leave only the first frame.
        EXPECT_EQ(animation()->frameCount(), 1) << n;
    }
}

// The frames assembled and saved by the tab equal `kelmor-cli animate` on the same files.
TEST_F(GifsTabTest, SaveAsWritesWhatTheCommandLineAssembles) {
    start();
    dropFromList(0, "one.bmp");
    dropFromList(1, "Two.BMP");
    dropFromList(2, "three.bmp");
    option<QCheckBox>("CheckBoxPalette").setChecked(false);
    assemble(u"3"_s);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    dialogs.fileAnswers.push_back(out("tab.gif"));
    press("ToolButton56");
    EXPECT_TRUE(dialogs.fileRequests.last().startsWith(u"save|GIF Image (*.gif)|*.gif"_s))
        << dialogs.fileRequests.last().toStdString();
    const std::string command = std::string(KELMOR_CLI) +
                                " animate --loop 2 --delay 7 --crop --merge -o " +
                                out("cli.gif").toStdString() + " " + frame("one.bmp") + " " +
                                frame("Two.BMP") + " " + frame("three.bmp");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readWholeFile(out("tab.gif").toStdString()),
              readWholeFile(out("cli.gif").toStdString()));
}

// PNG, WebP and SVG pictures are frames too; Save As of the animation assembled from them also
// offers an animated WebP, which equals `kelmor-cli animate -o OUT.webp` on the same files.
TEST_F(GifsTabTest, PngWebpAndSvgFramesAndTheAnimatedWebpSaveAs) {
    QImage png(10, 8, QImage::Format_ARGB32);
    png.fill(qRgba(200, 40, 40, 128));
    ASSERT_TRUE(png.save(QString::fromStdString(frame("four.png"))));
    ASSERT_EQ(QProcess::execute(u"cwebp"_s, {u"-quiet"_s, QString::fromStdString(frame("four.png")),
                                             u"-o"_s, QString::fromStdString(frame("six.WEBP"))}),
              0);
    writeFileReplacing(frame("five.svg"), "<svg xmlns='http://www.w3.org/2000/svg' width='12' "
                                          "height='6'><circle cx='6' cy='3' r='3'/></svg>");
    startOnGifsTab();
    EXPECT_EQ(list().count(), 7);
    const char* const files[] = {"four.png", "five.svg", "six.WEBP"};
    for (int k = 0; k < 3; ++k)
        dropFromList(k, files[k]);
    assemble(u"3"_s);
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_EQ(animation()->frameCount(), 3);

    currentAnimation().setEditText(out("anim.gif"));
    dialogs.fileAnswers.push_back(out("tab.webp"));
    press("ToolButton56");
    EXPECT_EQ(dialogs.fileRequests.last(),
              u"save|GIF Image (*.gif)|*.gif|Animated WebP (*.webp)|*.webp|"_s + out("anim.gif"));
    const std::string command = std::string(KELMOR_CLI) + " animate --loop 2 --delay 7 -o " +
                                out("cli.webp").toStdString() + " " + frame("four.png") + " " +
                                frame("five.svg") + " " + frame("six.WEBP");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readWholeFile(out("tab.webp").toStdString()),
              readWholeFile(out("cli.webp").toStdString()));
}

TEST_F(GifsTabTest, AssemblyWithoutValidLoopShowsTheMessageAndLeavesTheFirstFrame) {
    writeConfig("KelGifPref.ini", ""); // first start: empty Loop and Speed
    start();
    EXPECT_EQ(option<QLineEdit>("Edit1").text(), QString());
    dropFromList(0, "one.bmp");
    assemble(u"2"_s);
    EXPECT_EQ(dialogs.errors, QStringList{u"'' is not a valid integer value"_s});
    EXPECT_EQ(preview().picture().format(), PictureFormat::Bitmap); // slot a1's picture
    EXPECT_FALSE(saveAsEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    option<QLineEdit>("Edit1").setText(u"-1"_s);
    option<QLineEdit>("Edit2").setText(u"5"_s);
    assemble(u"2"_s);
    EXPECT_EQ(dialogs.errors.last(), u"'-1' is not a valid value (0 to 65535)"_s);
    option<QLineEdit>("Edit1").setText(u"0"_s);
    assemble(u"2"_s);
    ASSERT_NE(animation(), nullptr);
    EXPECT_EQ(animation()->frame(0).graphicControl()->delayTime, 5);
    EXPECT_TRUE(saveAsEnabled());
}

TEST_F(GifsTabTest, OpenShowsThePictureOnceInTheHistoryAndSaveWritesItInItsOwnFormat) {
    start();
    const QString one = QString::fromStdString(frame("one.bmp"));
    dialogs.fileAnswers = {std::nullopt, one, one.toUpper(),
                           QString::fromStdString(frame("notes.txt"))};
    for (int i = 0; i < 4; ++i)
        press("ToolButton54");
    EXPECT_EQ(currentAnimation().count(), 1);
    EXPECT_EQ(currentAnimation().itemText(0), one);
    EXPECT_EQ(dialogs.errors.size(), 2); // the upper-case name and the text file do not load
    EXPECT_TRUE(preview().picture().empty());

    // Choosing the history entry shows it again.
    currentAnimation().setCurrentIndex(0);
    emit currentAnimation().activated(0);
    EXPECT_EQ(preview().picture().width(), 10);

    // Save asks, then writes the preview in its own format; an empty box asks nothing.
    currentAnimation().setEditText(QString());
    press("ToolButton55");
    EXPECT_TRUE(dialogs.questions.isEmpty());

    dialogs.fileAnswers = {QString::fromStdString(frame("three.bmp"))};
    press("ToolButton54");
    dialogs.errors.clear();
    currentAnimation().setEditText(out("saved.gif"));
    dialogs.confirmAnswers = {false, true};
    press("ToolButton55");
    EXPECT_FALSE(QFile::exists(out("saved.gif")));
    press("ToolButton55");
    EXPECT_EQ(dialogs.questions, QStringList(2, u"Save File as "_s + out("saved.gif")));
    // A bitmap stays a bitmap whatever the name says.
    EXPECT_EQ(readWholeFile(out("saved.gif").toStdString()), readWholeFile(frame("three.bmp")));

    currentAnimation().setEditText(out("missing/x.gif"));
    dialogs.confirmAnswers = {true};
    press("ToolButton55");
    EXPECT_EQ(dialogs.errors, QStringList{u"Cannot create file "_s + out("missing/x.gif")});
    EXPECT_EQ(preview().picture().width(), 10);
}

TEST_F(GifsTabTest, GifsOptionsLoadAtStartAndOkStoresWhileCancelKeepsForTheRun) {
    const std::string stored = "[PREFERENCES]\nLoops=4\nSpeed=9\nCrop=yes\nMerge=0x0\n";
    writeConfig("KelGifPref.ini", stored);
    start();
    TAnimForm& form = tab<GifsTab>().gifsOptions();
    EXPECT_EQ(option<QLineEdit>("Edit1").text(), u"4"_s);
    EXPECT_EQ(option<QLineEdit>("Edit2").text(), u"9"_s);
    EXPECT_TRUE(option<QCheckBox>("CheckBoxCrop").isChecked());
    EXPECT_FALSE(option<QCheckBox>("CheckBoxMerge").isChecked());
    EXPECT_TRUE(option<QCheckBox>("CheckBoxPalette").isChecked());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    press("ToolButton65");
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    option<QLineEdit>("Edit2").setText(u"5"_s);
    QTest::mouseClick(&option<QPushButton>("SpeedButton2"), Qt::LeftButton); // Cancel
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readWholeFile(config("KelGifPref.ini")), stored);
    dropFromList(0, "one.bmp");
    assemble(u"2"_s);
    EXPECT_EQ(animation()->frame(0).graphicControl()->delayTime, 5);

    press("ToolButton65");
    QTest::mouseClick(&option<QPushButton>("SpeedButton1"), Qt::LeftButton); // OK
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readWholeFile(config("KelGifPref.ini")),
              "[PREFERENCES]\nLoops=4\nSpeed=5\nCrop=1\nMerge=0\nPalette=1\n");

    // A file that cannot be written keeps the dialog open.
    QFile::remove(QString::fromStdString(config("KelGifPref.ini")));
    QDir().mkpath(QString::fromStdString(config("KelGifPref.ini")));
    press("ToolButton65");
    QTest::mouseClick(&option<QPushButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors, QStringList{u"Unable to write to "_s +
                                          QString::fromStdString(config("KelGifPref.ini"))});
    EXPECT_TRUE(form.isVisible());
}

} // namespace
} // namespace kelmor::test
