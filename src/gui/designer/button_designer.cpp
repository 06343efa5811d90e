#include "designer/button_designer.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "designer/button_picture.h"
#include "designer/button_style.h"
#include "imaging/picture_qt.h"
#include "imaging/svg.h"
#include "ui/accessible_name.h"
#include "ui/drawn_icons.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelmor {
namespace {

// How long the preview waits after the last change before it draws the buttons again.
constexpr int kPreviewDelayMs = 150;

// One button of the preview: its normal picture, and its mouse-over picture while the mouse is
// over it, as on the built page.
class PreviewButton : public QWidget {
public:
    PreviewButton(QImage normal, QImage mouseOver, const QString& text, QWidget* parent)
        : QWidget(parent), normal_(std::move(normal)), mouseOver_(std::move(mouseOver)) {
        setFixedSize(normal_.size());
        setAccessibleName(text);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void enterEvent(QEnterEvent*) override {
        over_ = true;
        update();
    }
    void leaveEvent(QEvent*) override {
        over_ = false;
        update();
    }
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawImage(0, 0, over_ ? mouseOver_ : normal_);
    }

private:
    QImage normal_;
    QImage mouseOver_;
    bool over_ = false;
};

// Runs a reading of one field's text; its Error goes on with the field's name in front.
template <class Read> auto fieldValue(const QLineEdit& field, Read read) {
    try {
        return read(toLocal(field.text().trimmed()));
    } catch (const Error& error) {
        throw Error(toLocal(field.accessibleName()) + ": " + error.what());
    }
}

std::optional<Colour> optionalColour(const QLineEdit& field) {
    if (field.text().trimmed().isEmpty())
        return std::nullopt;
    return fieldValue(field, [](const std::string& v) { return colourValue(v); });
}

// A colour button's icon: a swatch of the field's colour, or the palette while the field holds
// no colour.
QIcon colourIcon(const QString& text) {
    const std::optional<Colour> colour = parseColour(toLocal(text.trimmed()));
    if (!colour)
        return drawnIcon(DrawnIcon::Palette);
    QPixmap swatch(16, 16);
    swatch.fill(QColor(colour->red, colour->green, colour->blue));
    QPainter painter(&swatch);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    return swatch;
}

QString sizeText(int pixels) {
    return pixels ? QString::number(pixels) : QString();
}

QString optionalText(const std::optional<Colour>& colour) {
    return colour ? toQt(colourText(*colour)) : QString();
}

} // namespace

TButtonDesigner::TButtonDesigner(Services& services, const PreferenceStore& preferences,
                                 DesignedButtons& target, QWidget* parent)
    : QDialog(parent), services_(services), preferences_(preferences), target_(target) {
    setObjectName(QStringLiteral("ButtonDesigner"));
    setWindowTitle(QStringLiteral("Button Designer"));
    previewTimer_ = new QTimer(this);
    previewTimer_->setSingleShot(true);
    previewTimer_->setInterval(kPreviewDelayMs);
    connect(previewTimer_, &QTimer::timeout, this, [this] { refreshPreview(); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildStyleValues());
    layout->addWidget(buildMenuSide(), 1);
    showStyle(ButtonStyle{});
    watchChanges();
}

TButtonDesigner::~TButtonDesigner() = default;

QLineEdit* TButtonDesigner::addField(QGridLayout& grid, int row, const QString& text,
                                     const char* name) {
    QWidget* page = grid.parentWidget();
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    grid.addWidget(fieldCaption(page, text, edit), row, 0);
    grid.addWidget(edit, row, 1);
    return edit;
}

TButtonDesigner::ColourField TButtonDesigner::addColourField(QGridLayout& grid, int row,
                                                             const QString& text, const char* name,
                                                             bool optional) {
    ColourField field{addField(grid, row, text, name), optional};
    auto* pick = new QToolButton(grid.parentWidget());
    pick->setObjectName(QString::fromLatin1(name) + QStringLiteral("Pick"));
    pick->setIcon(drawnIcon(DrawnIcon::Palette));
    const QString hint = QStringLiteral("Pick: ") + field.edit->accessibleName();
    pick->setToolTip(hint);
    pick->setAccessibleName(hint);
    pick->setFocusPolicy(Qt::StrongFocus);
    connect(pick, &QToolButton::clicked, this,
            guarded(services_.dialogs, [this, field] { pickColour(field); }));
    connect(field.edit, &QLineEdit::textChanged, pick,
            [pick](const QString& value) { pick->setIcon(colourIcon(value)); });
    grid.addWidget(pick, row, 2);
    return field;
}

QWidget* TButtonDesigner::buildStyleValues() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;

    styleBox_ = new QComboBox(page);
    styleBox_->setObjectName(QStringLiteral("StyleBox"));
    grid->addWidget(fieldCaption(page, QStringLiteral("St&yle:"), styleBox_), row, 0);
    grid->addWidget(styleBox_, row++, 1, 1, 2);
    auto* saveButtons = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("Save Style"), page);
    save->setObjectName(QStringLiteral("SaveStyle"));
    auto* saveAs = new QPushButton(QStringLiteral("Save Style As..."), page);
    saveAs->setObjectName(QStringLiteral("SaveStyleAs"));
    saveButtons->addWidget(save);
    saveButtons->addWidget(saveAs);
    grid->addLayout(saveButtons, row++, 1, 1, 2);
    connect(styleBox_, &QComboBox::textActivated, this,
            guarded(services_.dialogs, [this](const QString& name) { chooseStyle(name); }));
    connect(save, &QPushButton::clicked, this, guarded(services_.dialogs, [this] { saveStyle(); }));
    connect(saveAs, &QPushButton::clicked, this,
            guarded(services_.dialogs, [this] { saveStyleAs(); }));

    font_ = new QComboBox(page);
    font_->setObjectName(QStringLiteral("FontBox"));
    font_->setEditable(true);
    font_->setInsertPolicy(QComboBox::NoInsert);
    font_->addItems({QStringLiteral("Sans"), QStringLiteral("Serif"), QStringLiteral("Monospace")});
    font_->addItems(QFontDatabase::families());
    grid->addWidget(fieldCaption(page, QStringLiteral("&Font:"), font_), row, 0);
    grid->addWidget(font_, row++, 1, 1, 2);
    fontSize_ = addField(*grid, row++, QStringLiteral("Font si&ze (points):"), "FontSize");
    auto* faces = new QHBoxLayout;
    bold_ = new QCheckBox(QStringLiteral("&Bold"), page);
    bold_->setObjectName(QStringLiteral("Bold"));
    italic_ = new QCheckBox(QStringLiteral("&Italic"), page);
    italic_->setObjectName(QStringLiteral("Italic"));
    shadow_ = new QCheckBox(QStringLiteral("S&hadow"), page);
    shadow_->setObjectName(QStringLiteral("Shadow"));
    faces->addWidget(bold_);
    faces->addWidget(italic_);
    faces->addWidget(shadow_);
    grid->addLayout(faces, row++, 1, 1, 2);
    color_ = addColourField(*grid, row++, QStringLiteral("Text &colour:"), "TextColor", false);
    padding_ = addField(*grid, row++, QStringLiteral("&Padding:"), "Padding");
    width_ = addField(*grid, row++, QStringLiteral("Fixed &width:"), "FixedWidth");
    height_ = addField(*grid, row++, QStringLiteral("Fixed hei&ght:"), "FixedHeight");

    shape_ = new QComboBox(page);
    shape_->setObjectName(QStringLiteral("ShapeBox"));
    for (ButtonShape shape : {ButtonShape::Rectangle, ButtonShape::Rounded, ButtonShape::Pill})
        shape_->addItem(toQt(std::string(shapeName(shape))));
    grid->addWidget(fieldCaption(page, QStringLiteral("Sh&ape:"), shape_), row, 0);
    grid->addWidget(shape_, row++, 1, 1, 2);
    radius_ = addField(*grid, row++, QStringLiteral("Corner &radius:"), "Radius");
    fill_ = addColourField(*grid, row++, QStringLiteral("Fi&ll:"), "Fill", false);
    fill2_ = addColourField(*grid, row++, QStringLiteral("Second fill:"), "Fill2", true);
    borderWidth_ = addField(*grid, row++, QStringLiteral("Border wi&dth:"), "BorderWidth");
    borderColor_ =
        addColourField(*grid, row++, QStringLiteral("Border colo&ur:"), "BorderColor", false);
    overFill_ = addColourField(*grid, row++, QStringLiteral("Mouse-over fill:"), "OverFill", true);
    overFill2_ =
        addColourField(*grid, row++, QStringLiteral("Mouse-over second fill:"), "OverFill2", true);
    overColor_ =
        addColourField(*grid, row++, QStringLiteral("Mouse-over text colour:"), "OverColor", true);
    overBorderColor_ = addColourField(*grid, row++, QStringLiteral("Mouse-over border colour:"),
                                      "OverBorderColor", true);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* TButtonDesigner::buildMenuSide() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);

    texts_ = new QPlainTextEdit(page);
    texts_->setObjectName(QStringLiteral("ButtonTexts"));
    texts_->setTabChangesFocus(true);
    texts_->setFixedHeight(110);
    grid->addWidget(fieldCaption(page, QStringLiteral("&Texts, one button a line:"), texts_), 0, 0,
                    1, 2);
    grid->addWidget(texts_, 1, 0, 1, 2);

    format_ = new QComboBox(page);
    format_->setObjectName(QStringLiteral("FormatBox"));
    format_->addItems({QStringLiteral("SVG"), QStringLiteral("PNG"), QStringLiteral("GIF")});
    format_->setCurrentIndex(1);
    grid->addWidget(fieldCaption(page, QStringLiteral("&Output:"), format_), 2, 0);
    grid->addWidget(format_, 2, 1);

    auto* scroll = new QScrollArea(page);
    scroll->setObjectName(QStringLiteral("Preview"));
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(260, 200);
    preview_ = new QWidget(scroll);
    previewLayout_ = new QVBoxLayout(preview_);
    previewLayout_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    scroll->setWidget(preview_);
    grid->addWidget(
        new QLabel(QStringLiteral("Preview (the mouse shows the mouse-over picture):"), page), 3, 0,
        1, 2);
    grid->addWidget(scroll, 4, 0, 1, 2);
    grid->setRowStretch(4, 1);
    previewNote_ = new QLabel(page);
    previewNote_->setObjectName(QStringLiteral("PreviewNote"));
    previewNote_->setWordWrap(true);
    grid->addWidget(previewNote_, 5, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    auto* make = new QPushButton(QStringLiteral("&Make Buttons"), page);
    make->setObjectName(QStringLiteral("MakeButtons"));
    make->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"), page);
    close->setObjectName(QStringLiteral("CloseDesigner"));
    buttons->addStretch(1);
    buttons->addWidget(make);
    buttons->addWidget(close);
    grid->addLayout(buttons, 6, 0, 1, 2);
    connect(make, &QPushButton::clicked, this,
            guarded(services_.dialogs, [this] { makeButtons(); }));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return page;
}

// Every change of a value, a text or the kind draws the preview again after a short pause.
void TButtonDesigner::watchChanges() {
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, [this] { schedulePreview(); });
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, [this] { schedulePreview(); });
    connect(shape_, &QComboBox::currentIndexChanged, this, [this] { schedulePreview(); });
    connect(texts_, &QPlainTextEdit::textChanged, this, [this] { schedulePreview(); });
}

void TButtonDesigner::setOneButton(bool one) {
    oneButton_ = one;
}

// The first show installs the shipped styles and takes the first of them; later shows keep the
// fields as the user left them and only read the folder again.
void TButtonDesigner::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    runGuarded(services_.dialogs, [this] {
        const bool first = styleBox_->count() == 0;
        installShippedStyles(stylesFolder());
        fillStyleList(styleBox_->currentText());
        if (first && styleBox_->count() > 0)
            chooseStyle(styleBox_->currentText());
    });
    refreshPreview();
}

std::string TButtonDesigner::stylesFolder() const {
    return kelmor::stylesFolder(toLocal(services_.paths.configDir));
}

void TButtonDesigner::fillStyleList(const QString& chosen) {
    styleBox_->clear();
    for (const std::string& name : listStyles(stylesFolder()))
        styleBox_->addItem(toQt(name));
    const int index = styleBox_->findText(chosen);
    styleBox_->setCurrentIndex(index >= 0 ? index : 0);
}

void TButtonDesigner::chooseStyle(const QString& name) {
    showStyle(loadStyle(styleFile(stylesFolder(), toLocal(name))));
}

void TButtonDesigner::saveStyle() {
    if (styleBox_->currentText().isEmpty()) {
        saveStyleAs();
        return;
    }
    const ButtonStyle style = fieldStyle();
    kelmor::saveStyle(styleFile(stylesFolder(), toLocal(styleBox_->currentText())), style);
}

void TButtonDesigner::saveStyleAs() {
    const ButtonStyle style = fieldStyle();
    const std::optional<QString> name =
        services_.dialogs.askText(QStringLiteral("Style name:"), styleBox_->currentText());
    if (!name)
        return;
    // A style is a NAME.ini file of the styles folder: the name holds no folder.
    QString styleName = name->trimmed();
    styleName.replace(QLatin1Char('/'), QLatin1Char('-'))
        .replace(QLatin1Char('\\'), QLatin1Char('-'));
    if (styleName.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive))
        styleName.chop(4);
    if (styleName.isEmpty())
        return;
    const std::string file = styleFile(stylesFolder(), toLocal(styleName));
    if (QFileInfo::exists(toQt(file)) &&
        !services_.dialogs.confirm(QStringLiteral("Style %1 exists. Replace it?").arg(styleName)))
        return;
    kelmor::saveStyle(file, style);
    fillStyleList(styleName);
}

void TButtonDesigner::showStyle(const ButtonStyle& style) {
    showingStyle_ = true;
    font_->setEditText(toQt(style.font));
    fontSize_->setText(QString::number(style.fontSize));
    bold_->setChecked(style.bold);
    italic_->setChecked(style.italic);
    color_.edit->setText(toQt(colourText(style.color)));
    padding_->setText(QString::number(style.padding));
    width_->setText(sizeText(style.width));
    height_->setText(sizeText(style.height));
    shape_->setCurrentIndex(static_cast<int>(style.shape));
    radius_->setText(QString::number(style.radius));
    fill_.edit->setText(toQt(colourText(style.fill.top)));
    fill2_.edit->setText(optionalText(style.fill.bottom));
    borderWidth_->setText(QString::number(style.borderWidth));
    borderColor_.edit->setText(toQt(colourText(style.borderColor)));
    shadow_->setChecked(style.shadow);
    overFill_.edit->setText(style.overFill ? toQt(colourText(style.overFill->top)) : QString());
    overFill2_.edit->setText(optionalText(style.overFill ? style.overFill->bottom : std::nullopt));
    overColor_.edit->setText(optionalText(style.overColor));
    overBorderColor_.edit->setText(optionalText(style.overBorderColor));
    showingStyle_ = false;
    schedulePreview();
}

ButtonStyle TButtonDesigner::fieldStyle() const {
    ButtonStyle style;
    const auto pixels = [](const QLineEdit& field, bool allowZero) {
        return fieldValue(field, [allowZero](const std::string& v) {
            return v.empty() && !allowZero ? 0 : pixelValue(v, allowZero);
        });
    };
    const auto colour = [](const ColourField& field) {
        return fieldValue(*field.edit, [](const std::string& v) { return colourValue(v); });
    };
    const QString family = font_->currentText().trimmed();
    if (!family.isEmpty())
        style.font = toLocal(family);
    style.fontSize = fieldValue(*fontSize_, [](const std::string& v) { return fontSizeValue(v); });
    style.bold = bold_->isChecked();
    style.italic = italic_->isChecked();
    style.color = colour(color_);
    style.padding = pixels(*padding_, true);
    style.width = pixels(*width_, false);
    style.height = pixels(*height_, false);
    style.shape = shapeValue(toLocal(shape_->currentText()));
    style.radius = pixels(*radius_, true);
    style.fill = {colour(fill_), optionalColour(*fill2_.edit)};
    style.borderWidth = pixels(*borderWidth_, true);
    style.borderColor = colour(borderColor_);
    style.shadow = shadow_->isChecked();
    if (const std::optional<Colour> top = optionalColour(*overFill_.edit))
        style.overFill = ButtonFill{*top, optionalColour(*overFill2_.edit)};
    style.overColor = optionalColour(*overColor_.edit);
    style.overBorderColor = optionalColour(*overBorderColor_.edit);
    return style;
}

// The lines of the text list, each without the blanks around it; blank lines make no button.
std::vector<std::string> TButtonDesigner::texts() const {
    std::vector<std::string> lines;
    for (const QString& line : texts_->toPlainText().split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines.push_back(line.trimmed().toStdString());
    return lines;
}

ButtonFormat TButtonDesigner::outputFormat() const {
    return buttonFormatValue(toLocal(format_->currentText()));
}

void TButtonDesigner::pickColour(const ColourField& field) {
    const std::optional<Colour> now = parseColour(toLocal(field.edit->text().trimmed()));
    const QColor initial = now ? QColor(now->red, now->green, now->blue) : QColor(Qt::white);
    if (const std::optional<QColor> chosen = services_.dialogs.pickColor(initial)) {
        const QColor rgb = chosen->toRgb();
        field.edit->setText(toQt(colourText({static_cast<std::uint8_t>(rgb.red()),
                                             static_cast<std::uint8_t>(rgb.green()),
                                             static_cast<std::uint8_t>(rgb.blue())})));
    }
}

void TButtonDesigner::schedulePreview() {
    if (!showingStyle_)
        previewTimer_->start();
}

// The preview draws the SVG documents the files are made from through the same renderer as the
// PNG and GIF files; a value or a text that is not valid shows its message under the preview.
void TButtonDesigner::refreshPreview() {
    previewTimer_->stop();
    while (QLayoutItem* item = previewLayout_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    previewNote_->clear();
    const std::vector<std::string> lines = texts();
    if (lines.empty())
        return;
    try {
        const ButtonMenu menu = makeButtonMenu(fieldStyle(), lines, ButtonFormat::Svg);
        for (const MadeButton& button : menu.buttons)
            previewLayout_->addWidget(
                new PreviewButton(rgbaView(renderSvg(button.normal)).copy(),
                                  rgbaView(renderSvg(button.mouseOver)).copy(),
                                  QString::fromStdString(button.text), preview_));
        if (menu.font.fellBack)
            previewNote_->setText(toQt(format(msg::kFontFallback, fieldStyle().font)) +
                                  toQt(menu.font.family));
    } catch (const Error& error) {
        previewNote_->setText(QString::fromLocal8Bit(error.what()));
    }
}

// Everything is checked and made in memory first, so a value or a text that is refused writes
// nothing. A button whose picture exists is written only when the user agrees.
void TButtonDesigner::makeButtons() {
    const ButtonStyle style = fieldStyle();
    std::vector<std::string> lines = texts();
    if (lines.empty())
        throw Error(msg::kEmptyButtonText);
    if (oneButton_)
        lines.resize(1);
    const WaitCursor wait;
    const ButtonMenu menu = makeButtonMenu(style, lines, outputFormat());
    const QDir folder(preferences_.path(PrefPath::Images));
    const auto path = [&](const std::string& file) { return folder.filePath(toQt(file)); };
    const std::string first = toLocal(path(menu.buttons[0].normalFile()));
    checkPathName(first, msg::kCannotCreateFile);
    if (!folder.exists())
        throw Error(format(msg::kCannotCreateFile, first));

    std::vector<DesignedButton> made;
    for (const MadeButton& button : menu.buttons) {
        const QString normal = path(button.normalFile());
        const QString mouseOver = path(button.mouseOverFile());
        const QString existing = QFileInfo::exists(normal)      ? normal
                                 : QFileInfo::exists(mouseOver) ? mouseOver
                                                                : QString();
        if (!existing.isEmpty() &&
            !services_.dialogs.confirm(existing +
                                       QStringLiteral(" exists. Replace the button's pictures?")))
            continue;
        writeFileReplacing(toLocal(normal), button.normal);
        writeFileReplacing(toLocal(mouseOver), button.mouseOver);
        made.push_back({toQt(button.normalFile()), toQt(button.mouseOverFile()), menu.size.width,
                        menu.size.height});
    }
    if (made.empty())
        return;
    if (oneButton_)
        target_.fillDesignedButton(made.front());
    else
        target_.addDesignedButtons(made);
}

} // namespace kelmor
