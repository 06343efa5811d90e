// The "HTML5 page" box of the Page tab: its preference, and Build against kelmor-cli page --html5
// on the same project, byte for byte.
#include "generator/html_text.h"
#include "prefs/form_prefs.h"
#include "project/button_columns.h"
#include "project/projects_tab_fixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QColor>
#include <QFile>
#include <QProcess>

namespace kelmor::test {
namespace {

const QString kOddValues = QStringLiteral(KELMOR_TEST_DATA "/projects/odd-values.kxq");

QByteArray contents(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

class Html5PageTest : public ProjectsTabFixture {
protected:
    QCheckBox* html5Box() const { return find<QCheckBox>("CheckHtml5Page"); }
    QString iniPath() const { return configDir() + QStringLiteral("/KelmorPref.ini"); }

    // Opens the project and recalls row 1, so the Page fields hold what kelmor-cli reads there.
    // The recall's previews find no pictures here; that message is not the Build's.
    void openWithPageOfRowOne(const QString& project, const QString& target) {
        dialogs.fileAnswers.push_back(project);
        trigger("OpenProject");
        doubleClickCell(ButtonColumn::Normal, 1);
        dialogs.errors.clear();
        type("Edit25", target);
    }

    QByteArray cliPage(const QStringList& options, const QString& project) {
        const QString out = workDir() + QStringLiteral("/cli.html");
        QProcess cli;
        cli.start(QStringLiteral(KELMOR_CLI),
                  QStringList{QStringLiteral("page")} + options + QStringList{project, out});
        EXPECT_TRUE(cli.waitForFinished(30000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        return contents(out);
    }
};

struct BuildCase {
    const char* name;
    const char* build;
    const char* separatorBox;
    bool sound;
    // Bytes put after every cell of rows 1 to 10, for byte sequences that are no UTF-8.
    QByteArray cellSuffix;
};

class Html5BuildTest : public Html5PageTest, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(Html5BuildTest, WindowAndCommandLineWriteTheSameBytes) {
    const BuildCase& c = GetParam();
    QByteArray bytes = contents(kOddValues);
    if (!c.cellSuffix.isEmpty()) {
        // Every cell line of a data row, "column,row,value", ends in CR LF.
        bytes.replace("\r\n", c.cellSuffix + "\r\n");
        bytes.replace("13,11" + c.cellSuffix, "13,11");
    }
    // Beside the target page, which Build then writes without asking.
    const QString project = writeFile(QStringLiteral("odd-values.kxq"), bytes);
    const QString target = workDir() + QStringLiteral("/menu.html");
    openWithPageOfRowOne(project, target);
    const QString separator = QStringLiteral("&nbsp;&nbsp;  ");
    type(c.separatorBox, separator);
    press("CheckHtml5Page");
    press(c.build);
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();

    const QByteArray window = contents(target);
    ASSERT_TRUE(window.startsWith("<!DOCTYPE html>\r\n")) << window.left(200).toStdString();
    QStringList options{QStringLiteral("--html5"), QStringLiteral("--separator"), separator};
    if (c.sound)
        options << QStringLiteral("--sound");
    const QByteArray cli = cliPage(options, project);
    EXPECT_EQ(window.toStdString(), cli.toStdString());
    EXPECT_TRUE(QString::fromUtf8(window).toUtf8() == window) << "the page is not UTF-8";
    EXPECT_EQ(text("ComboBox2"), target);
}

INSTANTIATE_TEST_SUITE_P(
    OddValues, Html5BuildTest,
    ::testing::Values(BuildCase{"Plain", "SpeedButton12", "ComboBox3", false, {}},
                      BuildCase{"Sound", "SpeedButton13", "ComboBox4", true, {}},
                      BuildCase{"SoundNoUtf8", "SpeedButton13", "ComboBox4", true,
                                QByteArray("\xE2\x80 \xFF\xF0\x9F\x98", 7)}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(Html5PageTest, ElevenButtonsWriteNothingAndSaySo) {
    for (int i = 0; i < 10; ++i)
        trigger("AddNewRow");
    type("Edit25", workDir() + QStringLiteral("/menu.html"));
    press("CheckHtml5Page");
    for (const char* build : {"SpeedButton12", "SpeedButton13"})
        press(build);
    EXPECT_EQ(
        dialogs.errors,
        QStringList(2, QStringLiteral("A page holds 1 to 10 buttons; the Button list has 11.")));
    EXPECT_FALSE(QFile::exists(workDir() + QStringLiteral("/menu.html")));
}

TEST_F(Html5PageTest, BgColorThatIsNoCssColourIsLeftOutAndTheStatusLineSaysSo) {
    const QString target = workDir() + QStringLiteral("/menu.html");
    openWithPageOfRowOne(writeFile(QStringLiteral("odd-values.kxq"), contents(kOddValues)), target);
    press("CheckHtml5Page");
    type("Edit3", QStringLiteral("#fff; background-image:url(http://127.0.0.1:9/beacon); "
                                 "visibility:hidden"));
    press("SpeedButton12");
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_FALSE(contents(target).contains("background-color")) << contents(target).data();
    EXPECT_FALSE(contents(target).contains("beacon"));
    EXPECT_TRUE(text("HtmlStatus")
                    .startsWith(QStringLiteral(
                        "BG Color is not a CSS colour (#rgb, #rrggbb, a colour name, rgb() "
                        "or hsl()); the page has no background colour; ")))
        << text("HtmlStatus").toStdString();

    type("Edit3", QStringLiteral("hsl(120deg 50% 50%)"));
    press("SpeedButton13");
    EXPECT_TRUE(contents(target).contains("; background-color: hsl(120deg 50% 50%)\">\r\n"));
    EXPECT_FALSE(text("HtmlStatus").startsWith(QStringLiteral("BG Color")));
}

// Qt's own list of colour names (the SVG names, which CSS took over, and "transparent").
TEST(CssColourTest, EveryColourNameQtKnowsInAnyCase) {
    const QStringList names = QColor::colorNames();
    ASSERT_GT(names.size(), 140);
    for (const QString& name : names) {
        EXPECT_TRUE(isCssColour(name.toStdString())) << name.toStdString();
        EXPECT_TRUE(isCssColour(name.toUpper().toStdString())) << name.toStdString();
        EXPECT_FALSE(isCssColour((name + QStringLiteral("x")).toStdString()));
    }
}

TEST_F(Html5PageTest, TheBoxIsWrittenAtOnceAndTheOptionsDialogKeepsIt) {
    EXPECT_EQ(QAccessible::queryAccessibleInterface(html5Box())->text(QAccessible::Name),
              QStringLiteral("HTML5 page"));
    press("CheckHtml5Page");
    EXPECT_EQ(contents(iniPath()), QByteArray("[PREFERENCES]\nHTML5 Page=1\n"));

    app->prefs().findChild<QAbstractButton*>(QStringLiteral("OkButton1"))->click();
    const QByteArray afterOk = contents(iniPath());
    EXPECT_TRUE(afterOk.startsWith("[PREFERENCES]\nHTML5 Page=1\n")) << afterOk.data();
    EXPECT_EQ(afterOk.count('='), 25) << afterOk.data();

    html5Box()->setFocus();
    QTest::keyClick(html5Box(), Qt::Key_Space);
    EXPECT_TRUE(contents(iniPath()).startsWith("[PREFERENCES]\nHTML5 Page=0\n"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

// The box as the program starts over a preference file.
struct StoredCase {
    const char* name;
    QByteArray file;
    bool ticked;
};

class Html5StoredTest : public Html5PageTest, public ::testing::WithParamInterface<StoredCase> {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        if (!GetParam().file.isNull()) {
            QFile file(iniPath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(GetParam().file);
        }
        start();
    }
};

TEST_P(Html5StoredTest, StartsTickedOnlyForAnIntegerOtherThanZero) {
    EXPECT_EQ(html5Box()->isChecked(), GetParam().ticked);
    EXPECT_EQ(contents(iniPath()), GetParam().file) << "reading changed the file";
}

INSTANTIATE_TEST_SUITE_P(
    Values, Html5StoredTest,
    ::testing::Values(StoredCase{"NoFile", QByteArray(), false},
                      StoredCase{"One", "[PREFERENCES]\nHtml=0\nHTML5 Page=1\n", true},
                      StoredCase{"Zero", "[PREFERENCES]\nHTML5 Page=0\n", false},
                      StoredCase{"AnyCase", "[preferences]\n html5 page = 0x1 \n", true},
                      StoredCase{"NoInteger", "[PREFERENCES]\nHTML5 Page=yes\n", false},
                      StoredCase{"OtherSection", "[OTHER]\nHTML5 Page=1\n", false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace kelmor::test
