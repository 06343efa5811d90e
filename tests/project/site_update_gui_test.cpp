// Update Site... on the Projects tab over a small site: the pages listed with what each would
// become, one page unticked with Space, and the report in the tab's status line. The Html tab's
// Insert Menu Markers takes the open project's name.
#include "imaging/png.h"
#include "projects_tab_fixture.h"
#include "qstring_printer.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace kelmor::test {
namespace {

const QByteArray kMenuProject = "13,3\r\n0,1,images/home.png\r\n4,1,index.html\r\n"
                                "5,1,images/home-over.png\r\n11,1,Site\r\n"
                                "0,2,images/blog.png\r\n4,2,blog/post.html\r\n"
                                "5,2,images/blog-over.png\r\n";
const QByteArray kMarkedPage =
    "<p>before</p>\r\n<!-- kelmor-menu menu -->\r\n<!-- /kelmor-menu -->\r\n<p>after</p>\r\n";
const QByteArray kPlainPage = "<p>no menu here</p>\n";

// What the dialog showed: each line's text, whether it was ticked and could be ticked.
struct ShownPage {
    QString text;
    bool ticked;
    bool tickable;
    friend bool operator==(const ShownPage&, const ShownPage&) = default;
};

struct SiteUpdateCase {
    const char* name;
    int untickedRow; // the line unticked with Space; -1: none
    bool accept;
    const char* postAfter; // "menu": blog/post.html gets it; "same": kept as it was
    const char* indexAfter;
    QString status;
};

class SiteUpdateGuiTest : public ProjectsTabFixture {
protected:
    void SetUp() override {
        ProjectsTabFixture::SetUp();
        for (const char* name : {"home", "home-over", "blog", "blog-over"}) {
            const std::string png = encodePng(RgbaImage::blank(40, 20));
            writeFile(QStringLiteral("site/images/%1.png").arg(QLatin1String(name)),
                      QByteArray(png.data(), static_cast<qsizetype>(png.size())));
        }
        writeFile(QStringLiteral("site/index.html"), kMarkedPage);
        writeFile(QStringLiteral("site/blog/post.html"), kMarkedPage);
        writeFile(QStringLiteral("site/plain.html"), kPlainPage);
    }
    QString site(const QString& name = {}) const {
        return workDir() + QStringLiteral("/site/") + name;
    }
    QByteArray bytes(const QString& name) const {
        QFile in(site(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }
    void openProject() {
        dialogs.fileAnswers.push_back(writeFile(QStringLiteral("site/menu.kxq"), kMenuProject));
        trigger("OpenProject");
    }
    // Runs Update Site... on the site; the dialog unticks a line and answers.
    std::vector<ShownPage> updateSite(int untickedRow, bool accept) {
        std::vector<ShownPage> shown;
        dialogs.folderAnswers.push_back(site());
        dialogs.onModal = [&](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("SitePages"));
            for (int row = 0; row < list->count(); ++row)
                shown.push_back({list->item(row)->text(),
                                 list->item(row)->checkState() == Qt::Checked,
                                 (list->item(row)->flags() & Qt::ItemIsUserCheckable) != 0});
            if (untickedRow >= 0) {
                list->setCurrentRow(untickedRow);
                QTest::keyClick(list, Qt::Key_Space);
            }
            auto* button = dialog.findChild<QPushButton*>(
                QString::fromLatin1(accept ? "SiteUpdateOk" : "SiteUpdateCancel"));
            QTest::mouseClick(button, Qt::LeftButton);
            return dialog.result();
        };
        trigger("UpdateSite");
        return shown;
    }
};

class SiteUpdateAnswerTest : public SiteUpdateGuiTest,
                             public ::testing::WithParamInterface<SiteUpdateCase> {};

TEST_P(SiteUpdateAnswerTest, TheTickedPagesGetTheMenuAndTheReportIsShown) {
    const SiteUpdateCase& param = GetParam();
    EXPECT_FALSE(find<QAction>("UpdateSite")->isEnabled());
    EXPECT_EQ(find<QToolButton>("UpdateSite")->text(), QStringLiteral("Update Site..."));
    openProject();
    const std::vector<ShownPage> shown = updateSite(param.untickedRow, param.accept);

    EXPECT_EQ(dialogs.errors, QStringList());
    EXPECT_EQ(dialogs.modalShown, QStringList{QStringLiteral("SiteUpdateDialog")});
    EXPECT_EQ(shown,
              (std::vector<ShownPage>{{QStringLiteral("blog/post.html: updated"), true, true},
                                      {QStringLiteral("index.html: updated"), true, true},
                                      {QStringLiteral("plain.html: no markers"), false, false}}));
    for (const auto& [name, after] : {std::pair{QStringLiteral("blog/post.html"), param.postAfter},
                                      std::pair{QStringLiteral("index.html"), param.indexAfter}}) {
        const QByteArray page = bytes(name);
        if (QByteArray(after) == "menu") {
            EXPECT_TRUE(page.contains("<nav class=\"kelmor-menu\" aria-label=\"Site\">"))
                << name.toStdString();
            EXPECT_TRUE(page.startsWith("<p>before</p>\r\n<!-- kelmor-menu menu -->\r\n"))
                << name.toStdString();
            EXPECT_TRUE(page.endsWith("<!-- /kelmor-menu -->\r\n<p>after</p>\r\n"))
                << name.toStdString();
        } else {
            EXPECT_EQ(page, kMarkedPage) << name.toStdString();
        }
    }
    EXPECT_EQ(bytes(QStringLiteral("plain.html")), kPlainPage);
    // The sprite every updated page refers to is written with the pages, and only then.
    EXPECT_EQ(QFileInfo::exists(site(QStringLiteral("images/menu-sprite.png"))), param.accept);
    EXPECT_EQ(text("ProjectsStatus"), param.status);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SiteUpdateAnswerTest,
    ::testing::Values(
        SiteUpdateCase{"Every", -1, true, "menu", "menu",
                       QStringLiteral("blog/post.html: updated\nindex.html: updated\n"
                                      "2 updated, 0 unchanged, 0 without markers, 0 refused")},
        SiteUpdateCase{"IndexUnticked", 1, true, "menu", "same",
                       QStringLiteral("blog/post.html: updated\n"
                                      "1 updated, 0 unchanged, 0 without markers, 0 refused")},
        SiteUpdateCase{"Cancelled", -1, false, "same", "same", QString()}),
    [](const auto& tested) { return std::string(tested.param.name); });

// Unsaved rows are asked about first; Cancel there asks for no folder.
TEST_F(SiteUpdateGuiTest, CancellingTheSaveQuestionStopsBeforeTheSite) {
    openProject();
    clickCell(0, 1);
    trigger("DeleteSelectedRow");
    dialogs.saveAnswers.push_back(Dialogs::SaveChoice::Cancel);
    dialogs.folderAnswers.push_back(site());
    trigger("UpdateSite");
    EXPECT_EQ(dialogs.saveQuestions, QStringList{QStringLiteral("Save changes to menu.kxq?")});
    EXPECT_EQ(dialogs.folderAnswers.size(), 1U);
    EXPECT_EQ(dialogs.modalShown, QStringList());
}

// The Html tab learns the project's name from the Projects tab.
TEST_F(SiteUpdateGuiTest, InsertMenuMarkersNamesTheOpenProject) {
    auto* insert = find<QAction>("HtmlMenuMarkers");
    EXPECT_FALSE(insert->isEnabled());
    openProject();
    ASSERT_TRUE(insert->isEnabled());
    insert->trigger();
    EXPECT_EQ(find<QPlainTextEdit>("RichEdit2")->toPlainText(),
              QStringLiteral("<!-- kelmor-menu menu -->\n<!-- /kelmor-menu -->\n"));
    trigger("FileNew");
    EXPECT_FALSE(insert->isEnabled());
}

} // namespace
} // namespace kelmor::test
