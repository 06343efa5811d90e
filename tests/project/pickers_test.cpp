#include "imaging/picture_view.h"
#include "projects_tab_fixture.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace kelmor::test {
namespace {

// The Projects tab with "Project Images:" set to a folder holding a 120 x 40
// picture and a 30 x 20 one.
class PickersTest : public ProjectsTabFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        images = workDir() + QStringLiteral("/images");
        QDir().mkpath(images);
        QImage(120, 40, QImage::Format_RGB32).save(images + QStringLiteral("/wide.bmp"));
        QImage(30, 20, QImage::Format_RGB32).save(images + QStringLiteral("/small.bmp"));
        QFile ini(configDir() + QStringLiteral("/KelmorPref.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[PREFERENCES]\r\nImage Directory=" + images.toLocal8Bit() + "\r\n");
        ini.close();
        start();
    }

    QSize preview(const char* name) const {
        const PictureView* view = find<PictureView>(name);
        return view->picture().empty() ? QSize() : view->size();
    }

    QString images;
};

struct PictureRow {
    const char* pick;
    const char* preview;
    const char* name;
    const char* width;
    const char* height;
};

class PickPictureTest : public PickersTest, public ::testing::WithParamInterface<PictureRow> {};

TEST_P(PickPictureTest, FillsNameAndSizeAndShowsThePicture) {
    const PictureRow row = GetParam();
    dialogs.fileAnswers.push_back(images + QStringLiteral("/wide.bmp"));
    press(row.pick);
    EXPECT_EQ(dialogs.fileRequests.last(), QStringLiteral("picture"));
    EXPECT_EQ(text(row.name), QStringLiteral("wide.bmp"));
    EXPECT_EQ(text(row.width), QStringLiteral("120"));
    EXPECT_EQ(text(row.height), QStringLiteral("40"));
    EXPECT_EQ(preview(row.preview), QSize(120, 40));

    press(row.pick); // cancelled: nothing changes
    EXPECT_EQ(text(row.name), QStringLiteral("wide.bmp"));
    EXPECT_EQ(preview(row.preview), QSize(120, 40));

    // A file that cannot be read empties the preview and keeps the boxes.
    dialogs.fileAnswers.push_back(images + QStringLiteral("/gone.gif"));
    press(row.pick);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith(QStringLiteral("Cannot open file")));
    EXPECT_TRUE(dialogs.errors[0].contains(QStringLiteral("gone.gif")));
    EXPECT_EQ(text(row.name), QStringLiteral("wide.bmp"));
    EXPECT_EQ(text(row.width), QStringLiteral("120"));
    EXPECT_FALSE(preview(row.preview).isValid());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PickPictureTest,
    ::testing::Values(
        PictureRow{"PickPlainNormal", "NormalPreview", "Edit11", "Edit12", "Edit13"},
        PictureRow{"PickPlainMouseOver", "MouseOverPreview", "Edit16", "Edit15", "Edit14"},
        PictureRow{"PickSoundNormal", "NormalPreview", "Edit9", "Edit10", "Edit19"},
        PictureRow{"PickSoundMouseOver", "MouseOverPreview", "Edit8", "Edit18", "Edit20"}),
    [](const ::testing::TestParamInfo<PictureRow>& tested) {
        return std::string(tested.param.pick);
    });

TEST_F(PickersTest, BackgroundPictureGoesToThePicsPreviewAndItsNameToTheField) {
    dialogs.fileAnswers.push_back(images + QStringLiteral("/wide.bmp"));
    press("PickBgImage");
    EXPECT_EQ(text("Edit2"), QStringLiteral("wide.bmp"));
    EXPECT_EQ(preview("Image3"), QSize(120, 40));
    press("PickBgImage"); // cancelled
    EXPECT_EQ(preview("Image3"), QSize(120, 40));
    dialogs.fileAnswers.push_back(images + QStringLiteral("/notes.txt"));
    press("PickBgImage");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Unknown picture file extension (.txt)"));
    EXPECT_EQ(text("Edit2"), QStringLiteral("wide.bmp"));
    EXPECT_FALSE(preview("Image3").isValid());
}

// A PNG with a transparent lower half (written by Qt) and an SVG with a transparent right half:
// each picker shows its picture with the white area behind it through the transparent part.
TEST_F(PickersTest, PngAndSvgPicturesShowOverThePreviewsBackground) {
    QImage png(16, 10, QImage::Format_ARGB32);
    png.fill(Qt::transparent);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 16; ++x)
            png.setPixel(x, y, qRgb(30, 160, 90));
    ASSERT_TRUE(png.save(images + QStringLiteral("/button.png")));
    writeFile(QStringLiteral("images/over.svg"),
              "<svg xmlns='http://www.w3.org/2000/svg' width='24' height='6'>"
              "<rect width='12' height='6' fill='#c00000'/></svg>");
    const struct {
        const char* pick;
        const char* file;
        const char* name; // the field that takes the file's name
        const char* preview;
        QSize size;
        QRgb opaque;
        PictureFormat format;
    } cases[] = {
        {"PickPlainNormal",
         "button.png",
         "Edit11",
         "NormalPreview",
         {16, 10},
         qRgb(30, 160, 90),
         PictureFormat::Png},
        {"PickSoundMouseOver",
         "over.svg",
         "Edit8",
         "MouseOverPreview",
         {24, 6},
         qRgb(192, 0, 0),
         PictureFormat::Svg},
        {"PickBgImage",
         "button.png",
         "Edit2",
         "Image3",
         {16, 10},
         qRgb(30, 160, 90),
         PictureFormat::Png},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pick);
        dialogs.fileAnswers.push_back(images + QLatin1Char('/') + QLatin1String(c.file));
        press(c.pick);
        EXPECT_TRUE(dialogs.errors.isEmpty())
            << dialogs.errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(text(c.name), QLatin1String(c.file));
        const PictureView& view = *find<PictureView>(c.preview);
        EXPECT_EQ(view.picture().format(), c.format);
        const QImage seen = seenOnScreen(view);
        ASSERT_EQ(seen.size(), c.size);
        EXPECT_EQ(seen.pixel(0, 0), c.opaque);
        EXPECT_EQ(seen.pixel(c.size.width() - 1, c.size.height() - 1), qRgb(255, 255, 255));
    }
    EXPECT_EQ(text("Edit12"), QStringLiteral("16"));
    EXPECT_EQ(text("Edit13"), QStringLiteral("10"));
}

TEST_F(PickersTest, RecallShowsBothPicturesFromTheImagesFolder) {
    type("Edit11", QStringLiteral("wide.bmp"));
    type("Edit16", QStringLiteral("small.bmp"));
    press("AddPlainButton");
    doubleClickCell(0, 1);
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_EQ(preview("NormalPreview"), QSize(120, 40));
    EXPECT_EQ(preview("MouseOverPreview"), QSize(30, 20));
}

TEST_F(PickersTest, RecallStopsAtAMissingNormalPictureAfterFillingTheFields) {
    dialogs.fileAnswers.push_back(images + QStringLiteral("/small.bmp"));
    press("PickPlainMouseOver");
    type("Edit11", QStringLiteral("elsewhere.bmp"));
    type("Edit17", QStringLiteral("next.html"));
    press("AddPlainButton");
    doubleClickCell(0, 1);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains(images + QStringLiteral("/elsewhere.bmp")));
    EXPECT_EQ(text("Edit7"), QStringLiteral("next.html"));
    EXPECT_FALSE(preview("NormalPreview").isValid());
    EXPECT_FALSE(preview("MouseOverPreview").isValid());
}

TEST_F(PickersTest, RecallOfAnEmptyRowAsksForTheFolderAlone) {
    doubleClickCell(0, 1);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Unknown picture file extension (.)"));
}

} // namespace
} // namespace kelmor::test
