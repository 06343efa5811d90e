// The Gifs tab and the Gifs Options dialog, driven through the whole program
// with scripted dialogs: one test per command, the slot family and the frame
// count texts parameterised, drag and drop with synthetic drag events.
#include "animation/anim_form.h"
#include "animation/gifs_tab.h"
#include "animation/preview_area.h"
#include "app_fixture.h"
#include "base/atomic_file.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/picture_view.h"
#include "pictures/pics_tab.h"

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
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <sys/wait.h>

namespace kelmor::test {
namespace {

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

QString slotName(int slot) {
    static const char* const kNames[] = {"a1",      "b2",      "c3",      "d4",      "Image6",
                                         "Image7",  "Image9",  "Image10", "Image11", "Image12",
                                         "Image13", "Image14", "Image15", "Image16", "Image17",
                                         "Image18", "Image19", "Image20", "Image21", "Image22"};
    return QString::fromLatin1(kNames[slot]);
}

class GifsTabTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        frames_ = workDir() + QStringLiteral("/frames");
        QDir().mkpath(frames_ + QStringLiteral("/folder.bmp"));
        writeFileReplacing(frame("one.bmp"), writeBmp(stripes(4, 0)));
        writeFileReplacing(frame("Two.BMP"), writeBmp(stripes(24, 1)));
        writeFileReplacing(frame("three.bmp"), writeBmp(stripes(8, 0)));
        writeFileReplacing(frame("notes.txt"), "not a picture");
        writeConfig("KelmorPref.ini", "[PREFERENCES]\nBmp2=" + frames_.toStdString() + "\n");
        writeConfig("KelGifPref.ini", "[PREFERENCES]\nLoops=2\nSpeed=7\n");
    }

    void writeConfig(const char* name, const std::string& text) const {
        writeFileReplacing((configDir() + QLatin1Char('/') + QLatin1String(name)).toStdString(),
                           text);
    }
    std::string frame(const char* name) const {
        return (frames_ + QLatin1Char('/') + QLatin1String(name)).toStdString();
    }

    GifsTab& tab() const { return app->mainWindow().gifsTab(); }
    // Starts the program and brings the Gifs tab to the front, laid out.
    void startOnGifsTab() {
        start();
        find<QTabWidget>("PageControl1")->setCurrentWidget(&tab());
        QApplication::processEvents();
    }
    QListWidget& list() const { return *find<QListWidget>("ListView7"); }
    PictureView& slot(int k) const {
        return *find<PictureView>(slotName(k).toLatin1().constData());
    }
    PictureView& preview() const { return *find<PictureView>("ImageAnimate"); }
    QToolButton& button(const char* name) const { return *find<QToolButton>(name); }
    QLineEdit& frameCount() const { return *find<QLineEdit>("Edit27"); }
    QComboBox& currentAnimation() const { return *find<QComboBox>("ComboBox7"); }
    template <class T> T& option(const char* name) const {
        return *app->anim().findChild<T*>(QString::fromLatin1(name));
    }

    void select(const QString& caption) const {
        const auto items = list().findItems(caption, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << caption.toStdString();
        list().setCurrentItem(items.first());
    }
    // Drags the payload onto the widget and drops it there; true when the drop was accepted.
    static bool dragAndDrop(QWidget& target, QMimeData& payload) {
        const QPoint at(5, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &payload, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &payload, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        return drop.isAccepted();
    }
    // What the list gives a drag of its selected item.
    QMimeData* listDrag() const {
        return list().model()->mimeData(list().selectionModel()->selectedIndexes());
    }
    void dropFromList(int k, const QString& caption) {
        select(caption);
        std::unique_ptr<QMimeData> payload(listDrag());
        EXPECT_TRUE(dragAndDrop(slot(k), *payload));
    }
    void assemble(const QString& count) {
        frameCount().setText(count);
        QTest::mouseClick(&button("ToolButton57"), Qt::LeftButton);
    }
    QString out(const char* name) const {
        return workDir() + QLatin1Char('/') + QLatin1String(name);
    }

    QString frames_;
};

TEST_F(GifsTabTest, FrameSourceListShowsTheBitmapsOfTheBmpFilesFolder) {
    start();
    QStringList captions;
    for (int i = 0; i < list().count(); ++i)
        captions << list().item(i)->text();
    captions.sort(Qt::CaseInsensitive);
    EXPECT_EQ(captions, (QStringList{QStringLiteral("folder.bmp"), QStringLiteral("one.bmp"),
                                     QStringLiteral("three.bmp"), QStringLiteral("Two.BMP")}));
    EXPECT_EQ(list().viewMode(), QListView::IconMode);
    EXPECT_EQ(list().dragDropMode(), QAbstractItemView::DragOnly);

    writeFileReplacing(frame("four.bmp"), writeBmp(stripes(8, 2)));
    QTest::mouseClick(&button("ToolButton62"), Qt::LeftButton);
    EXPECT_EQ(list().count(), 5);
    QTest::mouseClick(&button("ToolButton60"), Qt::LeftButton);
    EXPECT_EQ(list().viewMode(), QListView::ListMode);
    QTest::mouseClick(&button("ToolButton59"), Qt::LeftButton);
    EXPECT_EQ(list().viewMode(), QListView::IconMode);
    EXPECT_EQ(list().dragDropMode(), QAbstractItemView::DragOnly);
}

TEST_F(GifsTabTest, ToolBarStartsWithSaveAsAndPlayDisabled) {
    startOnGifsTab();
    const char* const kButtons[][2] = {{"ToolButton53", "New Gif Animation"},
                                       {"ToolButton54", "Open..."},
                                       {"ToolButton55", "Save"},
                                       {"ToolButton56", "Save As..."},
                                       {"ToolButton62", "Refresh Bmp View"},
                                       {"ToolButton59", "Large Icons"},
                                       {"ToolButton60", "Small Icons"},
                                       {"ToolButton64", "Options..."},
                                       {"ToolButton65", "Gifs Option..."},
                                       {"ToolButton57", "Play Animation"}};
    int lastX = -1;
    for (const auto& [name, hint] : kButtons) {
        EXPECT_EQ(button(name).toolTip(), QString::fromLatin1(hint));
        EXPECT_EQ(button(name).accessibleName(), QString::fromLatin1(hint));
        EXPECT_GT(button(name).x(), lastX) << name;
        lastX = button(name).x();
        const bool startsDisabled = QLatin1String(name) == QLatin1String("ToolButton56") ||
                                    QLatin1String(name) == QLatin1String("ToolButton57");
        EXPECT_EQ(button(name).isEnabled(), !startsDisabled) << name;
    }
    EXPECT_EQ(frameCount().text(), QStringLiteral("1"));
}

TEST_F(GifsTabTest, UpDownStepsTheFrameCountFromZeroToTwentyWithoutWrapping) {
    start();
    QToolButton& up = *find<QToolButton>("UpDown1Up");
    QToolButton& down = *find<QToolButton>("UpDown1Down");
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(&down, Qt::LeftButton);
    EXPECT_EQ(frameCount().text(), QStringLiteral("0"));
    frameCount().setText(QStringLiteral("19"));
    QTest::keyClick(&frameCount(), Qt::Key_Up);
    QTest::mouseClick(&up, Qt::LeftButton);
    EXPECT_EQ(frameCount().text(), QStringLiteral("20"));
}

class SlotFamily : public GifsTabTest, public ::testing::WithParamInterface<int> {};

TEST_P(SlotFamily, DropLoadsTheSelectedBitmapAtItsPositionAndOnlyTheFirstEnablesPlay) {
    const int k = GetParam();
    start();
    EXPECT_EQ(slot(k).geometry(), QRect(1, 1 + 51 * k, 50, 50));
    EXPECT_EQ(slot(k).picture().width(), 50); // the placeholder
    dropFromList(k, QStringLiteral("Two.BMP"));
    EXPECT_EQ(slot(k).picture().format(), PictureFormat::Bitmap);
    EXPECT_EQ(slot(k).picture().width(), 10); // held at full size,
    EXPECT_EQ(slot(k).size(), QSize(50, 50)); // shown stretched
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(button("ToolButton57").isEnabled(), k == 0);
}

INSTANTIATE_TEST_SUITE_P(TwentySlots, SlotFamily, ::testing::Range(0, 20),
                         [](const auto& param) { return slotName(param.param).toStdString(); });

TEST_F(GifsTabTest, EverySlotLoadsTheSelectedItemWhateverIsDragged) {
    start();
    select(QStringLiteral("three.bmp"));
    QMimeData fromPreview;
    fromPreview.setData(QString::fromLatin1(kControlDragMime), QByteArray());
    QMimeData text;
    text.setText(QStringLiteral("anything"));
    EXPECT_TRUE(dragAndDrop(slot(3), fromPreview));
    EXPECT_TRUE(dragAndDrop(slot(4), text));
    EXPECT_EQ(slot(3).picture().width(), 10);
    EXPECT_EQ(slot(4).picture().width(), 10);

    // The preview area takes every drag and does nothing with the drop.
    const Picture before = preview().picture();
    EXPECT_TRUE(dragAndDrop(*find<QScrollArea>("ScrollBox5")->viewport(), text));
    EXPECT_TRUE(preview().picture().empty());
}

TEST_F(GifsTabTest, EnterOnAFocusedSlotLoadsTheSelectedItemLikeADrop) {
    startOnGifsTab();
    select(QStringLiteral("three.bmp"));
    slot(7).setFocus();
    QTest::keyClick(&slot(7), Qt::Key_Return);
    EXPECT_EQ(slot(7).picture().width(), 10);
}

// Records, at every paint of the preview during an assembly, what it shows and the cursor.
class PaintRecorder : public QObject {
public:
    QStringList painted;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const auto& view = static_cast<PictureView&>(*watched);
            const QCursor* cursor = QApplication::overrideCursor();
            painted << QStringLiteral("%1x%2 %3")
                           .arg(view.picture().width())
                           .arg(view.picture().height())
                           .arg(QLatin1String(cursor && cursor->shape() == Qt::WaitCursor ? "wait"
                                                                                          : "-"));
        }
        return false;
    }
};

TEST_F(GifsTabTest, EachFrameIsPaintedUnderTheHourglassWhileItIsAdded) {
    startOnGifsTab();
    dropFromList(0, QStringLiteral("one.bmp"));
    PaintRecorder recorder;
    preview().installEventFilter(&recorder);
    assemble(QStringLiteral("3"));
    preview().removeEventFilter(&recorder);
    // Later paints show the finished animation, after the hourglass.
    EXPECT_EQ(recorder.painted.mid(0, 3),
              (QStringList{QStringLiteral("10x8 wait"), QStringLiteral("50x50 wait"),
                           QStringLiteral("50x50 wait")}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(GifsTabTest, FailedDropKeepsTheSlotAndNoSelectionDoesNothing) {
    start();
    list().clearSelection();
    QMimeData text;
    text.setText(QStringLiteral("x"));
    dragAndDrop(slot(0), text);
    EXPECT_EQ(slot(0).picture().width(), 50);
    EXPECT_FALSE(button("ToolButton57").isEnabled());

    dropFromList(0, QStringLiteral("folder.bmp"));
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("Cannot open file ") + frames_ +
                                          QStringLiteral("/folder.bmp")});
    EXPECT_EQ(slot(0).picture().width(), 50);
    EXPECT_FALSE(button("ToolButton57").isEnabled());
}

TEST_F(GifsTabTest, DoubleClickShowsTheBitmapAndItsSizeOnThePicsStatusLine) {
    startOnGifsTab();
    select(QStringLiteral("one.bmp"));
    QListWidgetItem* item = list().currentItem();
    const QRect at = list().visualItemRect(item);
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, at.center());
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, at.center());
    EXPECT_EQ(preview().picture().format(), PictureFormat::Bitmap);
    EXPECT_EQ(preview().size(), QSize(10, 8));
    EXPECT_EQ(app->mainWindow().picsTab().statusText(), QStringLiteral("Image Size: 8h x 10w"));
}

struct CountCase {
    const char* name;
    const char* text;
    int frames; // 0: nothing is assembled
};

class FrameCountTexts : public GifsTabTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(FrameCountTexts, PlayAssemblesOnlyForTheExactTextsTwoToTwenty) {
    const CountCase& c = GetParam();
    start();
    dropFromList(0, QStringLiteral("one.bmp"));
    option<QCheckBox>("CheckBoxCrop").setChecked(false);
    option<QCheckBox>("CheckBoxMerge").setChecked(false);
    assemble(QString::fromLatin1(c.text));
    const GifImage* gif = preview().picture().gif();
    if (c.frames == 0) {
        EXPECT_TRUE(preview().picture().empty());
        EXPECT_FALSE(button("ToolButton56").isEnabled());
    } else {
        ASSERT_NE(gif, nullptr);
        EXPECT_EQ(gif->frameCount(), c.frames);
        EXPECT_TRUE(preview().animating());
        EXPECT_TRUE(button("ToolButton56").isEnabled());
    }
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Texts, FrameCountTexts,
                         ::testing::Values(CountCase{"Two", "2", 2}, CountCase{"Twenty", "20", 20},
                                           CountCase{"One", "1", 0}, CountCase{"Empty", "", 0},
                                           CountCase{"LeadingZero", "02", 0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(GifsTabTest, TheNineteenActionsAssembleTheirFrameCount) {
    start();
    for (int n = 2; n <= 20; ++n) {
        QAction* action = tab().findChild<QAction*>(QStringLiteral("actAnimate%1").arg(n));
        ASSERT_NE(action, nullptr) << n;
        action->trigger();
        ASSERT_NE(preview().picture().gif(), nullptr) << n;
        // Twenty placeholders: all three options leave only the first frame.
        EXPECT_EQ(preview().picture().gif()->frameCount(), 1) << n;
    }
}

// The frames assembled and saved by the tab equal `kelmor-cli animate` on the same files.
TEST_F(GifsTabTest, SaveAsWritesWhatTheCommandLineAssembles) {
    start();
    dropFromList(0, QStringLiteral("one.bmp"));
    dropFromList(1, QStringLiteral("Two.BMP"));
    dropFromList(2, QStringLiteral("three.bmp"));
    option<QCheckBox>("CheckBoxCrop").setChecked(true);
    option<QCheckBox>("CheckBoxMerge").setChecked(true);
    option<QCheckBox>("CheckBoxPalette").setChecked(false);
    assemble(QStringLiteral("3"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    dialogs.fileAnswers.push_back(out("tab.gif"));
    QTest::mouseClick(&button("ToolButton56"), Qt::LeftButton);
    EXPECT_TRUE(
        dialogs.fileRequests.last().startsWith(QStringLiteral("save|GIF Image (*.gif)|*.gif")))
        << dialogs.fileRequests.last().toStdString();

    const std::string command = std::string(KELMOR_CLI) +
                                " animate --loop 2 --delay 7 --crop --merge -o " +
                                out("cli.gif").toStdString() + " " + frame("one.bmp") + " " +
                                frame("Two.BMP") + " " + frame("three.bmp");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readWholeFile(out("tab.gif").toStdString()),
              readWholeFile(out("cli.gif").toStdString()));
}

TEST_F(GifsTabTest, AssemblyWithoutValidLoopShowsTheMessageAndLeavesTheFirstFrame) {
    writeConfig("KelGifPref.ini", ""); // first start: empty Loop and Speed
    start();
    EXPECT_EQ(option<QLineEdit>("Edit1").text(), QString());
    dropFromList(0, QStringLiteral("one.bmp"));
    assemble(QStringLiteral("2"));
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_EQ(preview().picture().format(), PictureFormat::Bitmap); // slot a1's picture
    EXPECT_FALSE(button("ToolButton56").isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    option<QLineEdit>("Edit1").setText(QStringLiteral("-1"));
    option<QLineEdit>("Edit2").setText(QStringLiteral("5"));
    assemble(QStringLiteral("2"));
    EXPECT_EQ(dialogs.errors.last(), QStringLiteral("'-1' is not a valid value (0 to 65535)"));
    option<QLineEdit>("Edit1").setText(QStringLiteral("0"));
    assemble(QStringLiteral("2"));
    ASSERT_NE(preview().picture().gif(), nullptr);
    EXPECT_EQ(preview().picture().gif()->frame(0).graphicControl()->delayTime, 5);
    EXPECT_TRUE(button("ToolButton56").isEnabled());
}

TEST_F(GifsTabTest, NewGifAnimationClearsThePreviewAndResetsEverySlot) {
    start();
    dropFromList(0, QStringLiteral("one.bmp"));
    dropFromList(19, QStringLiteral("one.bmp"));
    assemble(QStringLiteral("2"));
    frameCount().setText(QStringLiteral("7"));
    QTest::mouseClick(&button("ToolButton53"), Qt::LeftButton);
    EXPECT_TRUE(preview().picture().empty());
    const PictureView& keeper = *find<PictureView>("Image24");
    EXPECT_FALSE(keeper.isVisibleTo(keeper.parentWidget()));
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(slot(k).picture().encoded(), keeper.picture().encoded()) << k;
    EXPECT_EQ(frameCount().text(), QStringLiteral("7"));
    EXPECT_TRUE(button("ToolButton57").isEnabled());
    EXPECT_TRUE(button("ToolButton56").isEnabled());
}

TEST_F(GifsTabTest, OpenShowsThePictureAndAddsItsNameToTheHistoryOnce) {
    start();
    dialogs.fileAnswers = {std::nullopt, QString::fromStdString(frame("one.bmp")),
                           QString::fromStdString(frame("one.bmp")).toUpper(),
                           QString::fromStdString(frame("notes.txt"))};
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(&button("ToolButton54"), Qt::LeftButton);
    EXPECT_EQ(currentAnimation().count(), 1);
    EXPECT_EQ(currentAnimation().itemText(0), QString::fromStdString(frame("one.bmp")));
    EXPECT_EQ(dialogs.errors.size(), 2); // the upper-case name and the text file do not load
    EXPECT_TRUE(preview().picture().empty());

    // Choosing the history entry shows it again.
    currentAnimation().setCurrentIndex(0);
    emit currentAnimation().activated(0);
    EXPECT_EQ(preview().picture().width(), 10);
}

TEST_F(GifsTabTest, SaveAsksAndWritesThePreviewInItsOwnFormat) {
    start();
    QTest::mouseClick(&button("ToolButton55"), Qt::LeftButton); // empty box: nothing
    EXPECT_TRUE(dialogs.questions.isEmpty());

    dialogs.fileAnswers = {QString::fromStdString(frame("three.bmp"))};
    QTest::mouseClick(&button("ToolButton54"), Qt::LeftButton);
    currentAnimation().setEditText(out("saved.gif"));
    dialogs.confirmAnswers = {false, true};
    QTest::mouseClick(&button("ToolButton55"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(out("saved.gif")));
    QTest::mouseClick(&button("ToolButton55"), Qt::LeftButton);
    EXPECT_EQ(dialogs.questions, (QStringList{QStringLiteral("Save File as ") + out("saved.gif"),
                                              QStringLiteral("Save File as ") + out("saved.gif")}));
    // A bitmap stays a bitmap whatever the name says.
    EXPECT_EQ(readWholeFile(out("saved.gif").toStdString()), readWholeFile(frame("three.bmp")));

    currentAnimation().setEditText(out("missing/x.gif"));
    dialogs.confirmAnswers = {true};
    QTest::mouseClick(&button("ToolButton55"), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors,
              QStringList{QStringLiteral("Cannot create file ") + out("missing/x.gif")});
    EXPECT_EQ(preview().picture().width(), 10);
}

TEST_F(GifsTabTest, GifsOptionsLoadAtStartAndOkStoresWhileCancelKeepsForTheRun) {
    writeConfig("KelGifPref.ini", "[PREFERENCES]\nLoops=4\nSpeed=9\nCrop=yes\nMerge=0x0\n");
    start();
    TAnimForm& form = app->anim();
    EXPECT_EQ(option<QLineEdit>("Edit1").text(), QStringLiteral("4"));
    EXPECT_EQ(option<QLineEdit>("Edit2").text(), QStringLiteral("9"));
    EXPECT_TRUE(option<QCheckBox>("CheckBoxCrop").isChecked());
    EXPECT_FALSE(option<QCheckBox>("CheckBoxMerge").isChecked());
    EXPECT_TRUE(option<QCheckBox>("CheckBoxPalette").isChecked());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Gifs Options"));

    QTest::mouseClick(&button("ToolButton65"), Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    option<QLineEdit>("Edit2").setText(QStringLiteral("5"));
    QTest::mouseClick(&option<QPushButton>("SpeedButton2"), Qt::LeftButton); // Cancel
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readWholeFile((configDir() + QStringLiteral("/KelGifPref.ini")).toStdString()),
              "[PREFERENCES]\nLoops=4\nSpeed=9\nCrop=yes\nMerge=0x0\n");
    dropFromList(0, QStringLiteral("one.bmp"));
    assemble(QStringLiteral("2"));
    EXPECT_EQ(preview().picture().gif()->frame(0).graphicControl()->delayTime, 5);

    QTest::mouseClick(&button("ToolButton65"), Qt::LeftButton);
    QTest::mouseClick(&option<QPushButton>("SpeedButton1"), Qt::LeftButton); // OK
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readWholeFile((configDir() + QStringLiteral("/KelGifPref.ini")).toStdString()),
              "[PREFERENCES]\nLoops=4\nSpeed=5\nCrop=1\nMerge=0\nPalette=1\n");
}

TEST_F(GifsTabTest, OkThatCannotWriteKeepsTheDialogOpen) {
    start();
    QFile::remove(configDir() + QStringLiteral("/KelGifPref.ini"));
    QDir().mkpath(configDir() + QStringLiteral("/KelGifPref.ini"));
    QTest::mouseClick(&button("ToolButton65"), Qt::LeftButton);
    QTest::mouseClick(&option<QPushButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("Unable to write to ") + configDir() +
                                          QStringLiteral("/KelGifPref.ini")});
    EXPECT_TRUE(app->anim().isVisible());
}

} // namespace
} // namespace kelmor::test
