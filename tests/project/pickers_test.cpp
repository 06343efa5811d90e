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

// A PNG (written by Qt) and an SVG, opaque at the top left and transparent at the bottom right,
// show in Image Preview and in the Pics tab's preview over the white area behind them.
TEST_F(PickersTest, PngAndSvgPicturesShowOverThePreviewsBackground) {
    QImage png(16, 10, QImage::Format_ARGB32);
    png.fill(Qt::transparent);
    png.setPixel(0, 0, qRgb(30, 160, 90));
    ASSERT_TRUE(png.save(images + QStringLiteral("/button.png")));
    writeFile(QStringLiteral("images/over.svg"), "<svg xmlns='http://www.w3.org/2000/svg' "
                                                 "width='24' height='6'><rect width='1' "
                                                 "height='1' fill='#1ea05a'/></svg>");
    const char* const cases[][3] = {{"PickPlainNormal", "button.png", "NormalPreview"},
                                    {"PickSoundMouseOver", "over.svg", "MouseOverPreview"},
                                    {"PickBgImage", "over.svg", "Image3"}};
    for (const auto& [pick, file, preview] : cases) {
        SCOPED_TRACE(pick);
        dialogs.fileAnswers.push_back(images + QLatin1Char('/') + QLatin1String(file));
        press(pick);
        const QImage seen = seenOnScreen(*find<PictureView>(preview));
        EXPECT_EQ(seen.pixel(0, 0), qRgb(30, 160, 90));
        EXPECT_EQ(seen.pixel(seen.width() - 1, seen.height() - 1), qRgb(255, 255, 255));
    }
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(QStringList({text("Edit11"), text("Edit12"), text("Edit13"), text("Edit8")}),
              QStringList({QStringLiteral("button.png"), QStringLiteral("16"), QStringLiteral("10"),
                           QStringLiteral("over.svg")}));
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
