#include "editor/editor_text_box.h"
#include "generator/page_writer.h"
#include "imaging/png.h"
#include "project/projects_tab_fixture.h"

#include <QDir>
#include <QFile>
#include <QToolButton>
#include <gmock/gmock.h>

namespace kelmor::test {
namespace {

using ::testing::HasSubstr;

// The field names of one editor tab, in the order of PageButton's members, and its Build.
struct Tab {
    PageKind kind;
    const char *normal, *mouseOver, *link, *frame, *sound, *add, *build;
};
const Tab kPlain{pageKindNamed("plain"), "Edit11",       "Edit16", "Edit17", "ComboBox1", nullptr,
                 "AddPlainButton",       "SpeedButton12"};
const Tab kSound{pageKindNamed("sound"), "Edit9",        "Edit8", "Edit7", "ComboBox5", "Edit21",
                 "AddSoundButton",       "SpeedButton13"};

std::string kindName(const Tab& tab) {
    return tab.kind == kSound.kind ? "Sound" : "Plain";
}

class PageBuildFixture : public ProjectsTabFixture {
protected:
    QString target() const { return workDir() + QStringLiteral("/site/menu.html"); }

    QByteArray contents(const QString& file) const {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    static PageButton button(const Tab& tab, int k, const std::string& extension) {
        const std::string n = std::to_string(k);
        return PageButton{"b" + n + extension, "b" + n + "over" + extension, "page" + n + ".html ",
                          k % 2 ? "_top" : "main", tab.sound ? "s" + n + ".wav" : ""};
    }

    // Fills the Button list so that row k holds button k, by adding from the last button up
    // and inserting a row above each time.
    std::vector<PageButton> addButtons(const Tab& tab, int count,
                                       const std::string& extension = ".gif") {
        std::vector<PageButton> buttons;
        for (int k = count; k >= 1; --k) {
            if (k < count)
                trigger("AddNewRow");
            const PageButton b = button(tab, k, extension);
            type(tab.normal, QString::fromStdString(b.normal));
            type(tab.mouseOver, QString::fromStdString(b.mouseOver));
            type(tab.link, QString::fromStdString(b.link));
            type(tab.frame, QString::fromStdString(b.frame));
            if (tab.sound)
                type(tab.sound, QString::fromStdString(b.sound));
            press(tab.add);
            buttons.insert(buttons.begin(), b);
        }
        return buttons;
    }

    PageSettings fillPage(const Tab& tab) {
        type("Edit4", QStringLiteral("My \"menu\""));
        type("Edit3", QStringLiteral("#FF0000"));
        type("Edit2", QStringLiteral("back.gif"));
        type("Edit25", target());
        type("ComboBox3", QStringLiteral("<br><br>"));
        type("ComboBox4", QStringLiteral("&nbsp;  "));
        QDir().mkpath(workDir() + QStringLiteral("/site"));
        return PageSettings{"My \"menu\"", "#FF0000", "back.gif",
                            tab.kind == kSound.kind ? "&nbsp;  " : "<br><br>"};
    }

    QComboBox* currentFileBox() const { return find<QComboBox>("ComboBox2"); }
    QAction* viewInBrowser() const { return find<QAction>("ToolButton22"); }
    EditorTextBox* editor() const { return find<EditorTextBox>("RichEdit2"); }
};

struct BuildCase {
    Tab tab;
    int buttons;
};

class PageBuildTest : public PageBuildFixture, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(PageBuildTest, SavesThePageLoadsItBackAndNamesIt) {
    const Tab& tab = GetParam().tab;
    const std::vector<PageButton> buttons = addButtons(tab, GetParam().buttons);
    const PageSettings settings = fillPage(tab);
    ASSERT_EQ(count(), QString::number(GetParam().buttons));

    press(tab.build);
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    const std::string expected = pageText(tab.kind, buttons, settings);
    const QByteArray saved = contents(target());
    EXPECT_EQ(std::string(saved.constData(), static_cast<size_t>(saved.size())), expected);
    EXPECT_EQ(editor()->fileText(), QString::fromStdString(expected));
    EXPECT_EQ(currentFileBox()->currentText(), target());
    EXPECT_TRUE(viewInBrowser()->isEnabled());

    press(tab.build);
    EXPECT_EQ(currentFileBox()->count(), 1);
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, PageBuildTest,
                         ::testing::Values(BuildCase{kPlain, 1}, BuildCase{kSound, 1},
                                           BuildCase{kPlain, 3}, BuildCase{kSound, 10}),
                         [](const auto& testInfo) {
                             return kindName(testInfo.param.tab) +
                                    std::to_string(testInfo.param.buttons);
                         });

class PageBuildFaultTest : public PageBuildFixture, public ::testing::WithParamInterface<Tab> {};

TEST_P(PageBuildFaultTest, ElevenButtonsWriteNothingAndSaySo) {
    for (int i = 0; i < 10; ++i)
        trigger("AddNewRow");
    fillPage(GetParam());
    editor()->setPlainText(QStringLiteral("earlier text"));
    press(GetParam().build);
    EXPECT_EQ(dialogs.errors,
              QStringList{QStringLiteral("A page holds 1 to 10 buttons; the Button list has 11.")});
    EXPECT_FALSE(QFile::exists(target()));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("earlier text"));
    EXPECT_TRUE(currentFileBox()->currentText().isEmpty());
    EXPECT_TRUE(viewInBrowser()->isEnabled());
}

TEST_P(PageBuildFaultTest, TargetPageThatIsNoWebPageWritesNothing) {
    addButtons(GetParam(), 1);
    editor()->setPlainText(QStringLiteral("earlier text"));
    const QString text = workDir() + QStringLiteral("/menu.txt");
    // A writer that stopped at the NUL would write menu.txt.
    const QString nul = text + QChar(0) + QStringLiteral(".html");
    for (const QString& target : {QString(), text, nul}) {
        type("Edit25", target);
        press(GetParam().build);
    }
    const QString refused = QStringLiteral("Target page is not a web page: ");
    EXPECT_EQ(dialogs.errors, (QStringList{refused, refused + text,
                                           refused + text + QStringLiteral("\\x00.html")}));
    EXPECT_FALSE(QFile::exists(text));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("earlier text"));
    EXPECT_EQ(currentFileBox()->count(), 0);
}

TEST_P(PageBuildFaultTest, UnwritableTargetPageNamesTheFile) {
    addButtons(GetParam(), 1);
    const QString unwritable = workDir() + QStringLiteral("/missing/menu.html");
    type("Edit25", unwritable);
    press(GetParam().build);
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("Cannot create file ") + unwritable});
}

INSTANTIATE_TEST_SUITE_P(Kinds, PageBuildFaultTest, ::testing::Values(kPlain, kSound),
                         [](const auto& testInfo) { return kindName(testInfo.param); });

class PageBuildConfirmTest : public PageBuildFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(PageBuildConfirmTest, TargetOutsideTheProjectsFolderIsWrittenOnlyAfterYes) {
    const std::vector<PageButton> buttons = addButtons(kPlain, 2);
    const PageSettings settings = fillPage(kPlain);
    // Saved into a folder of its own, the project no longer holds the target page.
    const QString projectFolder = workDir() + QStringLiteral("/project");
    QDir().mkpath(projectFolder);
    dialogs.fileAnswers.push_back(projectFolder + QStringLiteral("/menu.kxq"));
    trigger("SaveProjectAs");
    editor()->setPlainText(QStringLiteral("earlier text"));
    dialogs.confirmAnswers.push_back(GetParam());
    press(kPlain.build);
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Build writes ") + target() +
                                             QStringLiteral(", outside the project's folder. "
                                                            "Write it?")});
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    if (GetParam()) {
        EXPECT_EQ(contents(target()).toStdString(), pageText(kPlain.kind, buttons, settings));
        EXPECT_EQ(currentFileBox()->currentText(), target());
    } else {
        EXPECT_FALSE(QFile::exists(target()));
        EXPECT_EQ(editor()->toPlainText(), QStringLiteral("earlier text"));
        EXPECT_EQ(currentFileBox()->count(), 0);
    }

    // A page beside the project is written without a question.
    type("Edit25", QStringLiteral("menu.html"));
    press(kPlain.build);
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(contents(projectFolder + QStringLiteral("/menu.html")).toStdString(),
              pageText(kPlain.kind, buttons, settings));
}

INSTANTIATE_TEST_SUITE_P(Answers, PageBuildConfirmTest, ::testing::Bool(),
                         [](const auto& testInfo) {
                             return std::string(testInfo.param ? "Yes" : "No");
                         });

// Build Menu Page takes the way of every Build: the menu page of the Button list is saved as
// the target page and shown in the Html tab, its paths written from the target page's folder
// and its sprite written beside the pictures.
TEST_F(PageBuildFixture, BuildMenuPageSavesTheMenuPageAndItsSprite) {
    const std::vector<PageButton> buttons = addButtons(kPlain, 2, ".png");
    for (const PageButton& b : buttons)
        for (const std::string& name : {b.normal, b.mouseOver})
            writeFile(QString::fromStdString(name),
                      QByteArray::fromStdString(encodePng(RgbaImage::blank(30, 12))));
    PageSettings settings = fillPage(kPlain);
    settings.page = target().toStdString();

    press("BuildMenuPage");
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(workDir() + QStringLiteral("/menu-sprite.png")));
    const std::string expected = pageText(pageKindNamed("menu"), buttons, settings);
    EXPECT_THAT(expected,
                HasSubstr("<nav class=\"kelmor-menu\" aria-label=\"My &quot;menu&quot;\">"));
    EXPECT_THAT(expected, HasSubstr("href=\"../page2.html \""));
    EXPECT_EQ(contents(target()).toStdString(), expected);
    EXPECT_EQ(editor()->fileText(), QString::fromStdString(expected));
    EXPECT_EQ(currentFileBox()->currentText(), target());
    EXPECT_TRUE(viewInBrowser()->isEnabled());
}

TEST_F(PageBuildFixture, BuildMenuPageWithoutPicturesWritesNothingAndSaysSo) {
    fillPage(kPlain);
    editor()->setPlainText(QStringLiteral("earlier text"));
    press("BuildMenuPage");
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("The menu has no buttons")});
    EXPECT_FALSE(QFile::exists(target()));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("earlier text"));
}

TEST_F(PageBuildFixture, ViewInBrowserOpensTheCurrentFileOnceBuilt) {
    EXPECT_FALSE(viewInBrowser()->isEnabled());
    EXPECT_FALSE(find<QToolButton>("ToolButton22")->isEnabled());
    addButtons(kPlain, 1);
    fillPage(kPlain);
    press(kPlain.build);
    ASSERT_TRUE(viewInBrowser()->isEnabled());
    QTest::mouseClick(find<QToolButton>("ToolButton22"), Qt::LeftButton);
    EXPECT_EQ(shell.opened, QStringList{QUrl::fromLocalFile(target()).toString()});

    currentFileBox()->setEditText(QString());
    viewInBrowser()->trigger();
    EXPECT_EQ(shell.opened.size(), 1);

    currentFileBox()->setEditText(QStringLiteral("other.html"));
    viewInBrowser()->trigger();
    EXPECT_EQ(shell.opened.last(),
              QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("other.html")))
                  .toString());

    // The desktop found no program for it: the user is told.
    shell.opens = false;
    viewInBrowser()->trigger();
    EXPECT_EQ(dialogs.errors,
              QStringList{QStringLiteral("No program opened ") +
                          QDir::current().absoluteFilePath(QStringLiteral("other.html"))});
}

} // namespace
} // namespace kelmor::test
