#include "project/button_editor_tabs.h"

#include "imaging/picture_view.h"
#include "project/image_previews.h"
#include "ui/accessible_name.h"
#include "ui/built_on_show.h"
#include "ui/drawn_icons.h"
#include "ui/error_guard.h"
#include "ui/file_drop.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace kelmor {
namespace {

const QString kSoundFilter = QStringLiteral("Wav Sound Files (*.wav)|*.wav|All Files (*.*)|*.*");
const QString kTargetPageFilter =
    QStringLiteral("HTML File (*.html)|*.html|HTM File (*.htm)|*.htm|Text File (*.txt)|*.txt|"
                   "All Files (*.html;*.htm;*.txt)|*.html;*.htm;*.txt");

QLineEdit* lineEdit(QWidget* parent, const char* name, int width = 0) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

QToolButton* toolButton(QWidget* parent, const QString& name, const QIcon& icon,
                        const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    return button;
}

QColor windowColour() {
    return QApplication::palette().color(QPalette::Base);
}

void setSwatch(QLabel& swatch, const QColor& colour) {
    QPalette palette = swatch.palette();
    palette.setColor(QPalette::Window, colour);
    swatch.setPalette(palette);
}

QString colourText(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return QStringLiteral("#%1%2%3")
        .arg(rgb.red(), 2, 16, QLatin1Char('0'))
        .arg(rgb.green(), 2, 16, QLatin1Char('0'))
        .arg(rgb.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

ButtonEditorTabs::ButtonEditorTabs(Dialogs& dialogs, ImagePreviews& previews,
                                   PictureBrowser& pictureBrowser, QWidget* parent)
    : QTabWidget(parent), dialogs_(dialogs), previews_(previews), pictureBrowser_(pictureBrowser) {
    setObjectName(QStringLiteral("EditorTabs"));
    setDocumentMode(true);
    auto* plainPage = new QWidget(this);
    buildButtonTab(*plainPage, ButtonTab::Plain, plain_,
                   {"Edit11", "Edit12", "Edit13", "Edit16", "Edit15", "Edit14", "Edit17",
                    "ComboBox1", "ComboBox3"});
    addTab(plainPage, QStringLiteral("Plain But"));
    // The sound button's fields are built when their tab is first opened or a row is
    // recalled into them: most starts never show them.
    soundPage_ = new BuiltOnShow(
        [this](QWidget& page) {
            buildButtonTab(page, ButtonTab::Sound, sound_,
                           {"Edit9", "Edit10", "Edit19", "Edit8", "Edit18", "Edit20", "Edit7",
                            "ComboBox5", "ComboBox4"});
        },
        this);
    addTab(soundPage_, QStringLiteral("Sound But"));
    // A picture dropped on a preview goes to the button tab shown, the plain one from the Page tab.
    for (PictureView* preview : {&previews_.normal(), &previews_.mouseOver()})
        for (QWidget* target : {static_cast<QWidget*>(preview), preview->parentWidget()})
            acceptFileDrops(
                *target, isPictureFile,
                guarded(dialogs_, [this, preview](const QStringList& files) {
                    ButtonFields& fields = currentWidget() == soundPage_ ? soundFields() : plain_;
                    takePicture(preview == &previews_.normal() ? fields.normal : fields.mouseOver,
                                *preview, files.first());
                }));
    addTab(buildPageTab(), QStringLiteral("Page"));
}

ButtonEditorTabs::ButtonFields& ButtonEditorTabs::soundFields() {
    soundPage_->ensureBuilt();
    return sound_;
}

ButtonEditorTabs::ButtonFields& ButtonEditorTabs::fieldsOf(ButtonTab tab) {
    return tab == ButtonTab::Sound ? soundFields() : plain_;
}

ButtonEditorTabs::PictureFields ButtonEditorTabs::pictureRow(QGridLayout& grid, int row,
                                                             const QString& caption,
                                                             const QString& pickName,
                                                             const char* const* names,
                                                             PictureView& preview) {
    QWidget* page = grid.parentWidget();
    PictureFields fields{lineEdit(page, names[0], 80), lineEdit(page, names[1], 36),
                         lineEdit(page, names[2], 36)};
    QLabel* label = kelmor::fieldCaption(page, caption, fields.name);
    grid.addWidget(label, row, 0);
    const QString name = fields.name->accessibleName();
    fields.width->setAccessibleName(name + QStringLiteral(" width"));
    fields.height->setAccessibleName(name + QStringLiteral(" height"));
    grid.addWidget(fields.name, row, 1);
    grid.addWidget(fields.width, row, 2);
    grid.addWidget(fields.height, row, 3);
    QToolButton* pick =
        toolButton(page, pickName, drawnIcon(DrawnIcon::Open), QStringLiteral("Pick a picture"));
    connect(pick, &QToolButton::clicked, this,
            guarded(dialogs_, [this, fields, &preview] { pickPicture(fields, preview); }));
    acceptFileDrops(*fields.name, isPictureFile,
                    guarded(dialogs_, [this, fields, &preview](const QStringList& files) {
                        takePicture(fields, preview, files.first());
                    }));
    grid.addWidget(pick, row, 4);
    return fields;
}

void ButtonEditorTabs::buildButtonTab(QWidget& into, ButtonTab tab, ButtonFields& fields,
                                      const std::array<const char*, 9>& names) {
    const bool sound = tab == ButtonTab::Sound;
    const QString prefix = sound ? QStringLiteral("PickSound") : QStringLiteral("PickPlain");
    QWidget* page = &into;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(4);
    fields.normal = pictureRow(*grid, 0, QStringLiteral("Normal Button:"),
                               prefix + QStringLiteral("Normal"), &names[0], previews_.normal());
    fields.mouseOver =
        pictureRow(*grid, 1, QStringLiteral("Mouse Over:"), prefix + QStringLiteral("MouseOver"),
                   &names[3], previews_.mouseOver());

    fields.link = lineEdit(page, names[6]);
    grid->addWidget(fieldCaption(page, QStringLiteral("Link to:"), fields.link), 2, 0);
    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(fields.link, 1);
    linkRow->addWidget(designButton(*page, tab));
    grid->addLayout(linkRow, 2, 1, 1, 4);

    fields.frame = comboBox(page, names[7],
                            {QStringLiteral("_top"), QStringLiteral("_self"),
                             QStringLiteral("_parent"), QStringLiteral("_blank")});
    grid->addWidget(fieldCaption(page, QStringLiteral("Target Frame:"), fields.frame), 3, 0);
    grid->addWidget(fields.frame, 3, 1, 1, 4);

    fields.breaks = comboBox(page, names[8],
                             {QStringLiteral("<br>"), QStringLiteral("<br><br>"),
                              QStringLiteral("<br><br><br>"), QStringLiteral("<br><br><br><br>"),
                              QStringLiteral("&nbsp;  "), QStringLiteral("&nbsp;&nbsp;  "),
                              QStringLiteral("&nbsp;&nbsp;&nbsp;  "),
                              QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;  ")});
    fields.breaks->setCurrentIndex(-1);
    grid->addWidget(fieldCaption(page, QStringLiteral("Breaks/Spaces:"), fields.breaks), 4, 0);
    grid->addWidget(fields.breaks, 4, 1, 1, 4);

    int row = 5;
    if (sound)
        addSoundFileRow(*grid, row++);
    addListButtons(*grid, row, tab);
}

// "Design..." under both pickers, at the end of the link's row: the button designer makes this
// button's two pictures. The link box gives it room, so the page keeps its width and height.
QToolButton* ButtonEditorTabs::designButton(QWidget& page, ButtonTab tab) {
    auto* design = new QToolButton(&page);
    design->setObjectName(tab == ButtonTab::Sound ? QStringLiteral("DesignSound")
                                                  : QStringLiteral("DesignPlain"));
    design->setText(QStringLiteral("Design..."));
    design->setToolTip(QStringLiteral("Make this button's pictures in the Button Designer"));
    design->setFocusPolicy(Qt::StrongFocus);
    connect(design, &QToolButton::clicked, this, [this, tab] { emit designClicked(tab); });
    return design;
}

void ButtonEditorTabs::addSoundFileRow(QGridLayout& grid, int row) {
    QWidget* page = grid.parentWidget();
    soundFile_ = lineEdit(page, "Edit21");
    grid.addWidget(fieldCaption(page, QStringLiteral("Sound:"), soundFile_), row, 0);
    grid.addWidget(soundFile_, row, 1, 1, 3);
    QToolButton* pick = toolButton(page, QStringLiteral("PickSoundFile"),
                                   drawnIcon(DrawnIcon::Open), QStringLiteral("Pick a sound"));
    connect(pick, &QToolButton::clicked, this, guarded(dialogs_, [this] { pickSound(); }));
    grid.addWidget(pick, row, 4);
}

// "Add ... Button to List:" and "Build" under the fields, starting at `row`.
void ButtonEditorTabs::addListButtons(QGridLayout& grid, int row, ButtonTab tab) {
    const bool sound = tab == ButtonTab::Sound;
    QWidget* page = grid.parentWidget();
    QToolButton* add = toolButton(
        page, sound ? QStringLiteral("AddSoundButton") : QStringLiteral("AddPlainButton"),
        drawnIcon(DrawnIcon::ArrowDown), QStringLiteral("Add to List"));
    auto* addCaption = new QLabel(sound ? QStringLiteral("Add Sound Button to List:")
                                        : QStringLiteral("Add Plain Button to List:"),
                                  page);
    addCaption->setBuddy(add);
    grid.addWidget(addCaption, row, 0);
    grid.addWidget(add, row, 1, Qt::AlignLeft);
    auto* build = new QToolButton(page);
    build->setObjectName(sound ? QStringLiteral("SpeedButton13") : QStringLiteral("SpeedButton12"));
    build->setText(QStringLiteral("Build"));
    auto* builds = new QHBoxLayout;
    builds->addWidget(build);
    if (!sound)
        builds->addWidget(buildMenuPageButton(*page));
    builds->addStretch(1);
    grid.addLayout(builds, row + 1, 1, 1, 4);
    grid.setRowStretch(row + 2, 1);
    grid.setColumnStretch(1, 1);

    connect(add, &QToolButton::clicked, this, [this, tab] { emit addClicked(tab); });
    connect(build, &QToolButton::clicked, this, [this, sound] {
        emit buildClicked(pageKindWith({sound, html5Page()}));
    });
}

// "Build Menu Page", beside the plain tab's Build, whose Breaks/Spaces lay the menu out: the
// project's site menu on a page of its own, written as the target page.
QToolButton* ButtonEditorTabs::buildMenuPageButton(QWidget& page) {
    auto* build = new QToolButton(&page);
    build->setObjectName(QStringLiteral("BuildMenuPage"));
    build->setText(QStringLiteral("Build Menu Page"));
    build->setToolTip(QStringLiteral("Build the target page as a page showing the site menu"));
    connect(build, &QToolButton::clicked, this,
            [this] { emit buildClicked(pageKindNamed("menu")); });
    return build;
}

QWidget* ButtonEditorTabs::buildPageTab() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(4);

    bgImage_ = lineEdit(page, "Edit2");
    grid->addWidget(fieldCaption(page, QStringLiteral("BG Image:"), bgImage_), 0, 0);
    grid->addWidget(bgImage_, 0, 1, 1, 2);
    QToolButton* pickImage =
        toolButton(page, QStringLiteral("PickBgImage"), drawnIcon(DrawnIcon::Open),
                   QStringLiteral("Pick a background picture"));
    connect(pickImage, &QToolButton::clicked, this, guarded(dialogs_, [this] { pickBgImage(); }));
    acceptFileDrops(*bgImage_, isPictureFile, guarded(dialogs_, [this](const QStringList& files) {
        takeBgImage(files.first());
    }));
    grid->addWidget(pickImage, 0, 3);

    bgColor_ = lineEdit(page, "Edit3");
    grid->addWidget(fieldCaption(page, QStringLiteral("BG Color:"), bgColor_), 1, 0);
    grid->addWidget(bgColor_, 1, 1);
    swatch_ = new QLabel(page);
    swatch_->setObjectName(QStringLiteral("Edit6"));
    swatch_->setFixedSize(21, 21);
    swatch_->setFocusPolicy(Qt::NoFocus);
    swatch_->setFrameShape(QFrame::Box);
    swatch_->setAutoFillBackground(true);
    setSwatch(*swatch_, windowColour());
    grid->addWidget(swatch_, 1, 2);
    QToolButton* pickColour =
        toolButton(page, QStringLiteral("PickBgColor"), drawnIcon(DrawnIcon::Palette),
                   QStringLiteral("Pick the background colour"));
    connect(pickColour, &QToolButton::clicked, this, guarded(dialogs_, [this] { pickColor(); }));
    grid->addWidget(pickColour, 1, 3);

    title_ = lineEdit(page, "Edit4");
    grid->addWidget(fieldCaption(page, QStringLiteral("Page Title:"), title_), 2, 0);
    grid->addWidget(title_, 2, 1, 1, 3);

    target_ = lineEdit(page, "Edit25");
    grid->addWidget(fieldCaption(page, QStringLiteral("Target Page:"), target_), 3, 0);
    grid->addWidget(target_, 3, 1, 1, 2);
    QToolButton* pickTarget =
        toolButton(page, QStringLiteral("PickTargetPage"), drawnIcon(DrawnIcon::Open),
                   QStringLiteral("Select a Html file as a Target page\n"
                                  "or create a new Html file name."));
    connect(pickTarget, &QToolButton::clicked, this,
            guarded(dialogs_, [this] { pickTargetPage(); }));
    grid->addWidget(pickTarget, 3, 3);

    html5Page_ = new QCheckBox(QStringLiteral("HTML5 page"), page);
    html5Page_->setObjectName(QStringLiteral("CheckHtml5Page"));
    connect(html5Page_, &QCheckBox::clicked, this, &ButtonEditorTabs::html5PageToggled);
    grid->addWidget(html5Page_, 4, 1, 1, 3, Qt::AlignLeft);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

ButtonRowUpdate ButtonEditorTabs::rowFrom(const ButtonFields& fields) const {
    ButtonRowUpdate row;
    row[ButtonColumn::Normal] = fields.normal.name->text();
    row[ButtonColumn::NormalWidth] = fields.normal.width->text();
    row[ButtonColumn::NormalHeight] = fields.normal.height->text();
    row[ButtonColumn::Frame] = fields.frame->currentText();
    row[ButtonColumn::Link] = fields.link->text();
    row[ButtonColumn::MouseOver] = fields.mouseOver.name->text();
    row[ButtonColumn::MouseOverWidth] = fields.mouseOver.width->text();
    row[ButtonColumn::MouseOverHeight] = fields.mouseOver.height->text();
    row[ButtonColumn::BgImage] = bgImage_->text();
    row[ButtonColumn::BgColor] = bgColor_->text();
    row[ButtonColumn::PageTitle] = title_->text();
    row[ButtonColumn::TargetPage] = target_->text();
    return row;
}

ButtonRowUpdate ButtonEditorTabs::plainRow() const {
    return rowFrom(plain_);
}

ButtonRowUpdate ButtonEditorTabs::soundRow() {
    ButtonRowUpdate row = rowFrom(soundFields());
    row[ButtonColumn::Sound] = soundFile_->text();
    return row;
}

void ButtonEditorTabs::recall(const ButtonRow& row) {
    for (const ButtonFields* fields : {&plain_, &soundFields()}) {
        fields->normal.name->setText(row[ButtonColumn::Normal]);
        fields->normal.width->setText(row[ButtonColumn::NormalWidth]);
        fields->normal.height->setText(row[ButtonColumn::NormalHeight]);
        fields->frame->setEditText(row[ButtonColumn::Frame]);
        fields->link->setText(row[ButtonColumn::Link]);
        fields->mouseOver.name->setText(row[ButtonColumn::MouseOver]);
        fields->mouseOver.width->setText(row[ButtonColumn::MouseOverWidth]);
        fields->mouseOver.height->setText(row[ButtonColumn::MouseOverHeight]);
    }
    soundFile_->setText(row[ButtonColumn::Sound]);
    recallPage(row);
}

void ButtonEditorTabs::recallPage(const ButtonRow& row) {
    bgImage_->setText(row[ButtonColumn::BgImage]);
    bgColor_->setText(row[ButtonColumn::BgColor]);
    title_->setText(row[ButtonColumn::PageTitle]);
    target_->setText(row[ButtonColumn::TargetPage]);
}

QList<QWidget*> ButtonEditorTabs::textFields() {
    soundPage_->ensureBuilt();
    QList<QWidget*> fields;
    for (QWidget* widget : findChildren<QWidget*>()) {
        const bool comboEdit = qobject_cast<QComboBox*>(widget->parentWidget()) != nullptr;
        if ((qobject_cast<QLineEdit*>(widget) != nullptr && !comboEdit) ||
            qobject_cast<QComboBox*>(widget) != nullptr)
            fields << widget;
    }
    return fields;
}

QStringList ButtonEditorTabs::fieldTexts() {
    QStringList texts;
    for (QWidget* field : textFields())
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            texts << edit->text();
        else
            texts << static_cast<QComboBox*>(field)->currentText();
    return texts;
}

void ButtonEditorTabs::setFieldTexts(const QStringList& texts) {
    const QList<QWidget*> fields = textFields();
    for (qsizetype i = 0; i < fields.size() && i < texts.size(); ++i)
        if (auto* edit = qobject_cast<QLineEdit*>(fields[i]))
            edit->setText(texts[i]);
        else
            static_cast<QComboBox*>(fields[i])->setEditText(texts[i]);
}

void ButtonEditorTabs::clearFields() {
    soundPage_->ensureBuilt();
    for (QLineEdit* edit :
         {plain_.normal.name, plain_.normal.width, plain_.normal.height, plain_.mouseOver.name,
          plain_.mouseOver.width, plain_.mouseOver.height, plain_.link, sound_.link})
        edit->clear();
    for (QComboBox* box : {plain_.frame, plain_.breaks, sound_.frame, sound_.breaks})
        box->setEditText(QString());
    for (QLineEdit* edit : {bgImage_, soundFile_, bgColor_, title_, sound_.normal.name,
                            sound_.normal.width, sound_.normal.height, sound_.mouseOver.name,
                            sound_.mouseOver.width, sound_.mouseOver.height})
        edit->clear();
    setSwatch(*swatch_, windowColour());
}

void ButtonEditorTabs::setPictures(ButtonTab tab, const DesignedButton& button) {
    const ButtonFields& fields = fieldsOf(tab);
    const QString width = QString::number(button.width);
    const QString height = QString::number(button.height);
    fields.normal.name->setText(button.normal);
    fields.normal.width->setText(width);
    fields.normal.height->setText(height);
    fields.mouseOver.name->setText(button.mouseOver);
    fields.mouseOver.width->setText(width);
    fields.mouseOver.height->setText(height);
    fields.link->setText(button.link);
    if (!button.frame.isEmpty())
        fields.frame->setEditText(button.frame);
}

QString ButtonEditorTabs::pageTitle() const {
    return title_->text();
}

QString ButtonEditorTabs::bgColor() const {
    return bgColor_->text();
}

QString ButtonEditorTabs::bgImage() const {
    return bgImage_->text();
}

QString ButtonEditorTabs::targetPage() const {
    return target_->text();
}

QString ButtonEditorTabs::separator(PageKind kind) {
    return fieldsOf(kind.traits().sounds ? ButtonTab::Sound : ButtonTab::Plain)
        .breaks->currentText();
}

bool ButtonEditorTabs::html5Page() const {
    return html5Page_->isChecked();
}

void ButtonEditorTabs::setHtml5Page(bool ticked) {
    html5Page_->setChecked(ticked);
}

// The view is emptied before it loads, so a picture that cannot be read leaves it empty
// and the boxes keep their old values.
void ButtonEditorTabs::pickPicture(const PictureFields& fields, PictureView& preview) {
    if (const auto path = dialogs_.openPicture())
        takePicture(fields, preview, *path);
}

void ButtonEditorTabs::takePicture(const PictureFields& fields, PictureView& preview,
                                   const QString& path) {
    const WaitCursor wait;
    preview.loadFromFile(toLocal(path));
    fields.name->setText(QFileInfo(path).fileName());
    fields.width->setText(QString::number(preview.width()));
    fields.height->setText(QString::number(preview.height()));
    dialogs_.rememberPicture(path);
}

void ButtonEditorTabs::pickBgImage() {
    if (const auto path = dialogs_.openPicture())
        takeBgImage(*path);
}

void ButtonEditorTabs::takeBgImage(const QString& path) {
    pictureBrowser_.showPicture(path);
    bgImage_->setText(QFileInfo(path).fileName());
    dialogs_.rememberPicture(path);
}

void ButtonEditorTabs::pickSound() {
    if (auto path = dialogs_.openFile(kSoundFilter, QString()))
        soundFile_->setText(QFileInfo(*path).fileName());
}

void ButtonEditorTabs::pickColor() {
    if (auto colour = dialogs_.pickColor(swatch_->palette().color(QPalette::Window))) {
        setSwatch(*swatch_, *colour);
        bgColor_->setText(colourText(*colour));
    }
}

void ButtonEditorTabs::pickTargetPage() {
    if (auto path = dialogs_.openFile(kTargetPageFilter, QString()))
        target_->setText(*path);
}

} // namespace kelmor
