#include "designer/button_designer.h"
#include "designer/button_picture.h"
#include "designer/button_style.h"
#include "imaging/png.h"
#include "project/button_columns.h"
#include "project/projects_tab_fixture.h"
#include "qstring_printer.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <span>

namespace kelmor::test {
namespace {

const std::vector<std::string> kTexts = {"Home", "About Us", "Contact"};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The designer of the running program, its Project Images folder a fresh folder of the work
// folder, the shipped styles installed by its first show.
class ButtonDesignerTest : public ProjectsTabFixture {
protected:
    void SetUp() override {
        ProjectsTabFixture::SetUp();
        QDir(workDir()).mkpath(QStringLiteral("images"));
        app->preferences().setPath(PrefPath::Images, images());
        designer().show();
    }

    TButtonDesigner& designer() const { return app->designer(); }
    QString images() const { return workDir() + QStringLiteral("/images"); }
    QStringList written() const { return QDir(images()).entryList(QDir::Files, QDir::Name); }
    template <class T> T* control(const char* name) const {
        T* found = designer().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no designer control named " << name;
        return found;
    }

    void chooseStyle(const QString& name) const {
        auto* box = control<QComboBox>("StyleBox");
        box->setCurrentText(name);
        emit box->textActivated(name);
    }
    QTableWidget* list() const { return control<QTableWidget>("ButtonTexts"); }
    // Puts each text into the list's empty last row, after removing every row there was.
    void typeTexts(const std::vector<std::string>& texts) const {
        list()->selectAll();
        QTest::keyClick(list(), Qt::Key_Delete);
        for (const std::string& text : texts)
            list()->item(list()->rowCount() - 1, 0)->setText(QString::fromStdString(text));
    }
    // Edits the current cell of the list from the keyboard, ending with `end`.
    void typeIntoList(const QString& keys, Qt::Key end) const {
        QTest::keyClick(list(), Qt::Key_F2);
        QLineEdit* editor = nullptr;
        for (auto* edit : list()->viewport()->findChildren<QLineEdit*>())
            editor = edit->isVisible() ? edit : editor;
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, keys);
        QTest::keyClick(editor, end);
        QCoreApplication::processEvents(); // the delegate commits the edit queued
    }
    void make() const { QTest::mouseClick(control<QPushButton>("MakeButtons"), Qt::LeftButton); }

    // The menu kelmor-cli makes from the same style file and texts.
    ButtonMenu coreMenu(const char* style, std::span<const std::string> texts) const {
        const std::string folder = stylesFolder(toLocal(configDir()));
        return makeButtonMenu(loadStyle(styleFile(folder, style)), texts, ButtonFormat::Png, true);
    }
};

TEST_F(ButtonDesignerTest, MakesPngButtonsOfTheCoreSizeAndFillsTheButtonList) {
    chooseStyle(QStringLiteral("Glass"));
    typeTexts(kTexts);
    make();

    const ButtonMenu expected = coreMenu("Glass", kTexts);
    EXPECT_EQ(dialogs.errors, QStringList());
    EXPECT_EQ(written().size(), 18);
    EXPECT_EQ(count(), QStringLiteral("3"));
    const QString width = QString::number(expected.size.width);
    const QString height = QString::number(expected.size.height);
    for (int i = 0; i < 3; ++i) {
        const MadeButton& button = expected.buttons[static_cast<size_t>(i)];
        const QString normal = toQt(button.normalFile());
        const QString over = toQt(button.mouseOverFile());
        EXPECT_EQ(fileBytes(images() + QLatin1Char('/') + normal),
                  QByteArray::fromStdString(button.normal));
        EXPECT_EQ(fileBytes(images() + QLatin1Char('/') + over),
                  QByteArray::fromStdString(button.mouseOver));
        for (const ButtonPicture& picture : button.pictures())
            EXPECT_EQ(fileBytes(images() + QLatin1Char('/') + toQt(picture.file)),
                      QByteArray::fromStdString(*picture.bytes))
                << picture.file;
        const PictureFileSize size = measurePng(button.normal);
        EXPECT_EQ(size.size.width, expected.size.width);
        EXPECT_EQ(size.size.height, expected.size.height);
        EXPECT_EQ((QStringList{
                      cell(ButtonColumn::Normal, i + 1), cell(ButtonColumn::NormalWidth, i + 1),
                      cell(ButtonColumn::NormalHeight, i + 1), cell(ButtonColumn::MouseOver, i + 1),
                      cell(ButtonColumn::MouseOverWidth, i + 1),
                      cell(ButtonColumn::MouseOverHeight, i + 1)}),
                  (QStringList{normal, width, height, over, width, height}));
    }
    // The preview shows each button at the size of its files, once it has caught up, and its
    // mouse-over picture while the mouse is over it.
    QWidget* shown = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        for (QWidget* w : control<QWidget>("Preview")->findChildren<QWidget*>())
            if (w->accessibleName() == QStringLiteral("About Us"))
                shown = w;
        return shown != nullptr;
    }));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->size(), QSize(expected.size.width, expected.size.height));
    const QImage normal = shown->grab().toImage();
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(shown, &enter);
    EXPECT_NE(shown->grab().toImage(), normal);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(shown, &leave);
    EXPECT_EQ(shown->grab().toImage(), normal);
}

// "Design..." opens the designer for one button: only the first line's pictures are made, and
// they land in the page's picture fields, not in the Button list.
TEST_F(ButtonDesignerTest, DesignButtonMakesTheFirstLinesButtonForItsPage) {
    designer().hide();
    dialogs.onModal = [this](QDialog&) {
        typeTexts(kTexts);
        make();
        return 0;
    };
    press("DesignPlain");
    EXPECT_EQ(dialogs.modalShown, QStringList{QStringLiteral("ButtonDesigner")});
    EXPECT_EQ(
        written(),
        (QStringList{QStringLiteral("home-current.png"), QStringLiteral("home-current@2x.png"),
                     QStringLiteral("home-over.png"), QStringLiteral("home-over@2x.png"),
                     QStringLiteral("home.png"), QStringLiteral("home@2x.png")}));
    const ButtonMenu expected = coreMenu("Flat", {kTexts.begin(), 1});
    EXPECT_EQ(text("Edit11"), QStringLiteral("home.png"));
    EXPECT_EQ(text("Edit16"), QStringLiteral("home-over.png"));
    EXPECT_EQ(text("Edit17"), QStringLiteral("home.html"));
    EXPECT_EQ(text("Edit12"), QString::number(expected.size.width));
    EXPECT_EQ(text("Edit14"), QString::number(expected.size.height));
    EXPECT_EQ(cell(ButtonColumn::Normal, 1), QString());

    // Tools / Button Designer... makes the whole menu again.
    QMenu* tools = app->mainWindow().menuBar()->findChild<QMenu*>(QStringLiteral("Tools1"));
    dialogs.confirmAnswers = {false};
    for (QAction* item : tools->actions())
        if (item->text() == QStringLiteral("&Button Designer..."))
            item->trigger();
    EXPECT_FALSE(designer().oneButton());
    EXPECT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(written().size(), 18); // "No" kept the existing home pictures
    EXPECT_EQ(cell(ButtonColumn::Normal, 1), QStringLiteral("about-us.png"));
}

// Typed from the keyboard: a text and its link, texts whose links they give, a row removed with
// Delete; the links and the Target Frame go into the Button list's rows.
TEST_F(ButtonDesignerTest, TheListsLinksAndTargetFrameGoIntoTheButtonList) {
    designer().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&designer()));
    list()->setFocus();
    list()->setCurrentCell(0, 0);
    typeIntoList(QStringLiteral("Home"), Qt::Key_Tab);
    EXPECT_EQ(list()->item(0, 1)->text(), QStringLiteral("home.html"));
    typeIntoList(QStringLiteral("index.html"), Qt::Key_Return);
    QTest::keyClick(list(), Qt::Key_Left);
    for (const QString& text :
         {QStringLiteral("Spare"), QStringLiteral("About"), QStringLiteral("Contact Us")})
        typeIntoList(text, Qt::Key_Return);
    ASSERT_EQ(list()->rowCount(), 5);
    list()->item(2, 0)->setText(QStringLiteral("About Us"));
    list()->setCurrentCell(1, 1);
    typeIntoList(QStringLiteral("spare.php?x=1"), Qt::Key_Return);
    list()->item(0, 0)->setText(QStringLiteral("Start"));
    EXPECT_EQ(list()->item(0, 1)->text(), QStringLiteral("index.html"));
    list()->setCurrentCell(1, 0);
    QTest::keyClick(list(), Qt::Key_Delete);
    // The empty last row takes the next button; Tab on its link cell leaves the list, editing
    // or not.
    ASSERT_EQ(list()->rowCount(), 4);
    for (bool editing : {true, false}) {
        list()->setFocus();
        list()->setCurrentCell(3, 1);
        if (editing)
            typeIntoList(QString(), Qt::Key_Tab);
        else
            QTest::keyClick(list(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>("RemoveTextRows")) << editing;
    }
    control<QComboBox>("TargetFrame")->setEditText(QStringLiteral("_blank"));
    make();

    EXPECT_EQ(dialogs.errors, QStringList());
    EXPECT_EQ(count(), QStringLiteral("3"));
    const QString frame = QStringLiteral("_blank");
    const std::vector<QStringList> expected{
        {QStringLiteral("start.png"), QStringLiteral("index.html"), frame},
        {QStringLiteral("about-us.png"), QStringLiteral("about-us.html"), frame},
        {QStringLiteral("contact-us.png"), QStringLiteral("contact-us.html"), frame}};
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ((QStringList{cell(ButtonColumn::Normal, row), cell(ButtonColumn::Link, row),
                               cell(ButtonColumn::Frame, row)}),
                  expected[size_t(row - 1)]);
    // A link without a text is refused; emptying a typed link brings the text's back.
    list()->item(3, 1)->setText(QStringLiteral("lost.html"));
    make();
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("A button text is empty")});
    list()->item(0, 1)->setText(QString());
    EXPECT_EQ(list()->item(0, 1)->text(), QStringLiteral("start.html"));
}

// The 2x check box follows the kind's default; unticked, or for SVG, no 2x picture is written.
TEST_F(ButtonDesignerTest, AlsoDoublePicturesFollowsTheKind) {
    auto* twice = control<QCheckBox>("AlsoDouble");
    auto* kind = control<QComboBox>("FormatBox");
    EXPECT_EQ(twice->accessibleName(), QStringLiteral("Also 2x pictures"));
    EXPECT_EQ(twice->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    EXPECT_TRUE(twice->isChecked());
    kind->setCurrentText(QStringLiteral("GIF"));
    EXPECT_FALSE(twice->isChecked());
    typeTexts({"Home"});
    make();
    EXPECT_EQ(written(),
              (QStringList{QStringLiteral("home-current.gif"), QStringLiteral("home-over.gif"),
                           QStringLiteral("home.gif")}));
    twice->setChecked(true);
    kind->setCurrentText(QStringLiteral("SVG"));
    EXPECT_FALSE(twice->isEnabled());
    make();
    EXPECT_EQ(written().filter(QStringLiteral("@2x")), QStringList());
    EXPECT_EQ(written().size(), 6);
    kind->setCurrentText(QStringLiteral("PNG"));
    EXPECT_TRUE(twice->isChecked());
    EXPECT_TRUE(twice->isEnabled());
    EXPECT_EQ(dialogs.errors, QStringList());
}

// GIF pictures lie on the Page tab's BG Color, white when it names no #RRGGBB colour.
TEST_F(ButtonDesignerTest, GifPicturesLieOnThePageColour) {
    chooseStyle(QStringLiteral("Glass"));
    control<QComboBox>("FormatBox")->setCurrentText(QStringLiteral("GIF"));
    const std::vector<std::string> texts{"Home"};
    typeTexts(texts);
    const ButtonStyle glass = loadStyle(styleFile(stylesFolder(toLocal(configDir())), "Glass"));
    for (const auto& [bgColor, matte] :
         {std::pair{"#203040", Colour{0x20, 0x30, 0x40}}, std::pair{"navy", kDefaultMatte}}) {
        type("Edit3", QString::fromLatin1(bgColor));
        dialogs.confirmAnswers = {true};
        make();
        EXPECT_EQ(
            fileBytes(images() + QStringLiteral("/home.gif")),
            QByteArray::fromStdString(
                makeButtonMenu(glass, texts, ButtonFormat::Gif, false, matte).buttons[0].normal))
            << bgColor;
    }
    EXPECT_EQ(dialogs.errors, QStringList());
}

// The PNG pictures carry the button's text as Qt reads it, whatever its characters.
TEST_F(ButtonDesignerTest, PngPicturesCarryTheirTextAsTitle) {
    typeTexts({"Caf\xC3\xA9 & Bar", "Go \xE2\x86\x92"});
    make();
    EXPECT_EQ(dialogs.errors, QStringList());
    for (const auto& [file, title] :
         {std::pair{"caf\xC3\xA9--bar-current@2x.png", "Caf\xC3\xA9 & Bar"},
          std::pair{"caf\xC3\xA9--bar.png", "Caf\xC3\xA9 & Bar"},
          std::pair{"go-\xE2\x86\x92-over.png", "Go \xE2\x86\x92"}}) {
        QImageReader reader(images() + QLatin1Char('/') + QString::fromUtf8(file));
        EXPECT_EQ(reader.text(QStringLiteral("Title")), QString::fromUtf8(title)) << file;
    }
}

struct BadValue {
    const char* field;
    const char* value;
    const char* message;
};

class ButtonDesignerBadValueTest : public ButtonDesignerTest,
                                   public ::testing::WithParamInterface<BadValue> {};

TEST_P(ButtonDesignerBadValueTest, ShowsTheCoreMessageAndWritesNothing) {
    typeTexts(kTexts);
    control<QLineEdit>(GetParam().field)->setText(QString::fromLatin1(GetParam().value));
    make();
    EXPECT_EQ(dialogs.errors, QStringList{QString::fromUtf8(GetParam().message)});
    EXPECT_EQ(written(), QStringList());
    EXPECT_EQ(cell(ButtonColumn::Normal, 1), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Values, ButtonDesignerBadValueTest,
    ::testing::Values(
        BadValue{"TextColor", "#12345", "Text colour: '#12345' is not a colour (#RRGGBB)"},
        BadValue{"OverFill", "blue", "Mouse-over fill: 'blue' is not a colour (#RRGGBB)"},
        BadValue{"FontSize", "300",
                 "Font size (points): '300' is not a font size from 4 to 200 points"},
        BadValue{"FixedWidth", "2001", "Fixed width: '2001' is not a size from 1 to 2000 pixels"},
        BadValue{"Padding", "-1", "Padding: '-1' is not a size from 0 to 2000 pixels"},
        BadValue{"FixedHeight", "0", "Fixed height: '0' is not a size from 1 to 2000 pixels"}));

TEST_F(ButtonDesignerTest, RefusesTextsTheCoreRefuses) {
    for (const auto& [texts, message] : std::vector<std::pair<std::string, QString>>{
             {"\n \n", QStringLiteral("A button text is empty")},
             {"Home\nhome", QStringLiteral("Buttons 'Home' and 'home' would both write home.png")},
             {"A\nA over",
              QStringLiteral("Buttons 'A' and 'A over' would both write a-over.png")}}) {
        dialogs.errors.clear();
        std::vector<std::string> lines;
        for (const QString& line : QString::fromStdString(texts).split(QLatin1Char('\n')))
            lines.push_back(line.toStdString());
        typeTexts(lines);
        make();
        EXPECT_EQ(dialogs.errors, QStringList{message});
    }
    EXPECT_EQ(written(), QStringList());
}

TEST_F(ButtonDesignerTest, SaveStyleAsWritesTheFieldsAsANewStyle) {
    chooseStyle(QStringLiteral("Pill"));
    control<QLineEdit>("FontSize")->setText(QStringLiteral("17"));
    control<QLineEdit>("OverColor")->setText(QStringLiteral("#ffee00"));
    dialogs.textAnswers = {QStringLiteral("My/Style.ini")};
    QTest::mouseClick(control<QPushButton>("SaveStyleAs"), Qt::LeftButton);

    const std::string folder = stylesFolder(toLocal(configDir()));
    ButtonStyle expected = loadStyle(styleFile(folder, "Pill"));
    expected.fontSize = 17;
    expected.overColor = Colour{0xFF, 0xEE, 0x00};
    EXPECT_EQ(loadStyle(styleFile(folder, "My-Style")), expected);
    EXPECT_EQ(control<QComboBox>("StyleBox")->currentText(), QStringLiteral("My-Style"));
    EXPECT_EQ(dialogs.errors, QStringList());
}

// Each state's contrast shows beside the preview and follows the fields; a state below what
// the text asks for gets its warning line.
TEST_F(ButtonDesignerTest, ContrastOfEveryStateFollowsTheFields) {
    chooseStyle(QStringLiteral("Outline"));
    typeTexts({"Home"});
    QTest::qWait(400);
    EXPECT_EQ(control<QLabel>("NormalContrast")->text(), QStringLiteral("Normal 8.6:1"));
    EXPECT_EQ(control<QLabel>("MouseOverContrast")->accessibleName(),
              QStringLiteral("Contrast: Mouse-over 8.6:1"));
    EXPECT_EQ(control<QLabel>("ContrastNote")->text(), QString());
    control<QLineEdit>("OverColor")->setText(QStringLiteral("#3366AA"));
    QTest::qWait(400);
    EXPECT_EQ(control<QLabel>("MouseOverContrast")->text(), QStringLiteral("Mouse-over 1.4:1"));
    EXPECT_EQ(control<QLabel>("ContrastNote")->text(),
              QStringLiteral("The text of the mouse-over state is hard to read: contrast 1.4:1, "
                             "at least 4.5:1 wanted."));
}

} // namespace
} // namespace kelmor::test
