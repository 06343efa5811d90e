#include "designer/button_designer.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "designer/button_contrast.h"
#include "designer/button_drawing.h"
#include "designer/button_style.h"
#include "designer/button_text_table.h"
#include "designer/style_keys.h"
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
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

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

// How the designer shows a style key: its caption and its control's object name, in the order
// of the form. The check boxes share one row.
struct FieldLook {
    const char* key;
    const char* caption;
    const char* name;
};

constexpr FieldLook kFieldLooks[] = {
    {styleKey::kFont, "&Font:", "FontBox"},
    {styleKey::kSize, "Font si&ze (points):", "FontSize"},
    {styleKey::kBold, "&Bold", "Bold"},
    {styleKey::kItalic, "&Italic", "Italic"},
    {styleKey::kShadow, "S&hadow", "Shadow"},
    {styleKey::kColor, "Text &colour:", "TextColor"},
    {styleKey::kPadding, "&Padding:", "Padding"},
    {styleKey::kWidth, "Fixed &width:", "FixedWidth"},
    {styleKey::kHeight, "Fixed hei&ght:", "FixedHeight"},
    {styleKey::kShape, "Sh&ape:", "ShapeBox"},
    {styleKey::kRadius, "Corner &radius:", "Radius"},
    {styleKey::kFill, "Fi&ll:", "Fill"},
    {styleKey::kFill2, "Second fill:", "Fill2"},
    {styleKey::kBorderWidth, "Border wi&dth:", "BorderWidth"},
    {styleKey::kBorderColor, "Border colo&ur:", "BorderColor"},
    {styleKey::kOverFill, "Mouse-over fill:", "OverFill"},
    {styleKey::kOverFill2, "Mouse-over second fill:", "OverFill2"},
    {styleKey::kOverColor, "Mouse-over text colour:", "OverColor"},
    {styleKey::kOverBorderColor, "Mouse-over border colour:", "OverBorderColor"},
    {styleKey::kCurrentFill, "Current page fill:", "CurrentFill"},
    {styleKey::kCurrentFill2, "Current page second fill:", "CurrentFill2"},
    {styleKey::kCurrentColor, "Current page text colour:", "CurrentColor"},
    {styleKey::kCurrentBorderColor, "Current page border colour:", "CurrentBorderColor"},
};

// A field's text as a style file holds it: "1" or "0" for a check box, the blanks around a
// typed text dropped.
QString controlText(const QWidget& control) {
    if (const auto* box = qobject_cast<const QCheckBox*>(&control))
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (const auto* list = qobject_cast<const QComboBox*>(&control))
        return list->currentText().trimmed();
    return qobject_cast<const QLineEdit*>(&control)->text().trimmed();
}

void setControlText(QWidget& control, const QString& text) {
    if (auto* box = qobject_cast<QCheckBox*>(&control))
        box->setChecked(text == QStringLiteral("1"));
    else if (auto* list = qobject_cast<QComboBox*>(&control); list && list->isEditable())
        list->setEditText(text);
    else if (list)
        list->setCurrentIndex(list->findText(text));
    else
        qobject_cast<QLineEdit*>(&control)->setText(text);
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

QLineEdit* TButtonDesigner::addColourField(QGridLayout& grid, int row, const QString& text,
                                           const char* name) {
    QLineEdit* edit = addField(grid, row, text, name);
    auto* pick = new QToolButton(grid.parentWidget());
    pick->setObjectName(QString::fromLatin1(name) + QStringLiteral("Pick"));
    pick->setIcon(drawnIcon(DrawnIcon::Palette));
    const QString hint = QStringLiteral("Pick: ") + edit->accessibleName();
    pick->setToolTip(hint);
    pick->setAccessibleName(hint);
    pick->setFocusPolicy(Qt::StrongFocus);
    connect(pick, &QToolButton::clicked, this,
            guarded(services_.dialogs, [this, edit] { pickColour(*edit); }));
    connect(edit, &QLineEdit::textChanged, pick,
            [pick](const QString& value) { pick->setIcon(colourIcon(value)); });
    grid.addWidget(pick, row, 2);
    return edit;
}

// An editable box is made so before its caption names it, so that its text field gets the name.
QComboBox* TButtonDesigner::addDropDown(QGridLayout& grid, int row, const QString& text,
                                        const char* name, bool editable) {
    QWidget* page = grid.parentWidget();
    auto* box = new QComboBox(page);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(editable);
    grid.addWidget(fieldCaption(page, text, box), row, 0);
    grid.addWidget(box, row, 1, 1, 2);
    return box;
}

// The control a key's kind takes; the check boxes go into one row, made by the first of them.
QWidget* TButtonDesigner::addStyleField(QGridLayout& grid, int& row, const StyleKey& key,
                                        const QString& caption, const char* name) {
    switch (key.kind) {
    case StyleValueKind::Flag: {
        if (!flagRow_) {
            flagRow_ = new QHBoxLayout;
            grid.addLayout(flagRow_, row++, 1, 1, 2);
        }
        auto* box = new QCheckBox(caption, grid.parentWidget());
        box->setObjectName(QString::fromLatin1(name));
        flagRow_->addWidget(box);
        return box;
    }
    case StyleValueKind::Text: {
        QComboBox* box = addDropDown(grid, row++, caption, name, true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(
            {QStringLiteral("Sans"), QStringLiteral("Serif"), QStringLiteral("Monospace")});
        box->addItems(QFontDatabase::families());
        return box;
    }
    case StyleValueKind::Shape: {
        QComboBox* box = addDropDown(grid, row++, caption, name, false);
        for (ButtonShape shape : {ButtonShape::Rectangle, ButtonShape::Rounded, ButtonShape::Pill})
            box->addItem(toQt(std::string(shapeName(shape))));
        return box;
    }
    case StyleValueKind::Colour:
    case StyleValueKind::OptionalColour:
        return addColourField(grid, row++, caption, name);
    case StyleValueKind::FontSize:
    case StyleValueKind::Pixels:
    case StyleValueKind::PixelsOrUnset:
        break;
    }
    return addField(grid, row++, caption, name);
}

void TButtonDesigner::addStyleBox(QGridLayout& grid, int& row) {
    QWidget* page = grid.parentWidget();
    styleBox_ = new QComboBox(page);
    styleBox_->setObjectName(QStringLiteral("StyleBox"));
    grid.addWidget(fieldCaption(page, QStringLiteral("St&yle:"), styleBox_), row, 0);
    grid.addWidget(styleBox_, row++, 1, 1, 2);
    auto* saveButtons = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("Save Style"), page);
    save->setObjectName(QStringLiteral("SaveStyle"));
    auto* saveAs = new QPushButton(QStringLiteral("Save Style As..."), page);
    saveAs->setObjectName(QStringLiteral("SaveStyleAs"));
    saveButtons->addWidget(save);
    saveButtons->addWidget(saveAs);
    grid.addLayout(saveButtons, row++, 1, 1, 2);
    connect(styleBox_, &QComboBox::textActivated, this,
            guarded(services_.dialogs, [this](const QString& name) { chooseStyle(name); }));
    connect(save, &QPushButton::clicked, this, guarded(services_.dialogs, [this] { saveStyle(); }));
    connect(saveAs, &QPushButton::clicked, this,
            guarded(services_.dialogs, [this] { saveStyleAs(); }));
}

QWidget* TButtonDesigner::buildStyleValues() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    addStyleBox(*grid, row);
    for (const FieldLook& look : kFieldLooks) {
        const StyleKey& key = *findStyleKey(look.key);
        fields_.push_back(
            {&key, addStyleField(*grid, row, key, QString::fromUtf8(look.caption), look.name)});
    }
    grid->setRowStretch(row, 1);
    return page;
}

// The picture kind and whether 2x pictures come with it.
void TButtonDesigner::addOutputRow(QGridLayout& grid, int row) {
    format_ = new QComboBox(grid.parentWidget());
    format_->setObjectName(QStringLiteral("FormatBox"));
    format_->addItems({QStringLiteral("SVG"), QStringLiteral("PNG"), QStringLiteral("GIF")});
    format_->setCurrentIndex(1);
    grid.addWidget(fieldCaption(grid.parentWidget(), QStringLiteral("&Output:"), format_), row, 0);
    auto* output = new QHBoxLayout;
    output->addWidget(format_);
    doubleScale_ = new QCheckBox(QStringLiteral("Also &2x pictures"), grid.parentWidget());
    doubleScale_->setObjectName(QStringLiteral("AlsoDouble"));
    doubleScale_->setAccessibleName(QStringLiteral("Also 2x pictures"));
    doubleScale_->setChecked(doubleScaleByDefault(ButtonFormat::Png));
    output->addWidget(doubleScale_);
    grid.addLayout(output, row, 1);
    // Each kind brings its own default; SVG pictures scale by themselves.
    connect(format_, &QComboBox::currentIndexChanged, this, [this] {
        const ButtonFormat format = outputFormat();
        doubleScale_->setChecked(doubleScaleByDefault(format));
        doubleScale_->setEnabled(format != ButtonFormat::Svg);
    });
}

// The texts and links of the buttons, a way to remove rows, and the Target Frame of them all.
void TButtonDesigner::addTextList(QGridLayout& grid) {
    QWidget* page = grid.parentWidget();
    texts_ = new ButtonTextTable(page);
    texts_->setObjectName(QStringLiteral("ButtonTexts"));
    texts_->setFixedHeight(150);
    grid.addWidget(fieldCaption(page, QStringLiteral("&Texts, one button a line:"), texts_), 0, 0,
                   1, 2);
    auto* remove = new QPushButton(QStringLiteral("Remo&ve Rows"), page);
    remove->setObjectName(QStringLiteral("RemoveTextRows"));
    remove->setAccessibleName(QStringLiteral("Remove the selected rows"));
    remove->setToolTip(QStringLiteral("Remove the rows of the selected cells (Delete)"));
    frame_ = new QComboBox(page);
    frame_->setObjectName(QStringLiteral("TargetFrame"));
    frame_->setEditable(true);
    frame_->setInsertPolicy(QComboBox::NoInsert);
    frame_->setMinimumContentsLength(12);
    frame_->addItems({QString(), QStringLiteral("_top"), QStringLiteral("_self"),
                      QStringLiteral("_parent"), QStringLiteral("_blank")});
    auto* below = new QHBoxLayout;
    below->addWidget(remove);
    below->addStretch(1);
    below->addWidget(fieldCaption(page, QStringLiteral("Targ&et Frame:"), frame_));
    below->addWidget(frame_);
    auto* list = new QVBoxLayout;
    list->addWidget(texts_);
    list->addLayout(below);
    grid.addLayout(list, 1, 0, 1, 2);
    connect(remove, &QPushButton::clicked, texts_, &ButtonTextTable::removeSelectedRows);
}

// Each state's contrast of text against fill beside the preview, and a warning line for the
// states that fall below what the text's size asks for.
QWidget* TButtonDesigner::buildContrastRow(QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* ratios = new QHBoxLayout;
    for (const char* name : {"NormalContrast", "MouseOverContrast", "CurrentContrast"}) {
        auto* label = new QLabel(row);
        label->setObjectName(QString::fromLatin1(name));
        contrastLabels_.push_back(label);
        ratios->addWidget(label);
    }
    ratios->addStretch(1);
    layout->addLayout(ratios);
    contrastNote_ = new QLabel(row);
    contrastNote_->setObjectName(QStringLiteral("ContrastNote"));
    contrastNote_->setWordWrap(true);
    layout->addWidget(contrastNote_);
    return row;
}

void TButtonDesigner::showContrast(const ButtonStyle& style) {
    const char* captions[] = {"Normal", "Mouse-over", "Current"};
    for (std::size_t i = 0; i < contrastLabels_.size(); ++i) {
        const QString text = QString::fromLatin1(captions[i]) + QLatin1Char(' ') +
                             toQt(ratioText(stateContrast(style, kButtonStates[i])));
        contrastLabels_[i]->setText(text);
        contrastLabels_[i]->setAccessibleName(QStringLiteral("Contrast: ") + text);
    }
    QStringList warnings;
    for (const ContrastShortfall& shortfall : contrastShortfalls(style))
        warnings.push_back(toQt(contrastWarning(shortfall)));
    contrastNote_->setText(warnings.join(QLatin1Char('\n')));
    contrastNote_->setAccessibleName(contrastNote_->text());
}

QWidget* TButtonDesigner::buildMenuSide() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);

    addTextList(*grid);
    addOutputRow(*grid, 2);

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
    grid->addWidget(buildContrastRow(page), 6, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    auto* make = new QPushButton(QStringLiteral("&Make Buttons"), page);
    make->setObjectName(QStringLiteral("MakeButtons"));
    make->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"), page);
    close->setObjectName(QStringLiteral("CloseDesigner"));
    buttons->addStretch(1);
    buttons->addWidget(make);
    buttons->addWidget(close);
    grid->addLayout(buttons, 7, 0, 1, 2);
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
    for (const StyleField& field : fields_)
        if (auto* box = qobject_cast<QComboBox*>(field.control))
            connect(box, &QComboBox::currentIndexChanged, this, [this] { schedulePreview(); });
    connect(texts_, &ButtonTextTable::textsChanged, this, [this] { schedulePreview(); });
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
    for (const StyleField& field : fields_)
        setControlText(*field.control, toQt(field.key->text(style)));
    showingStyle_ = false;
    schedulePreview();
}

// Taken in the order of the style keys, as a style file is read: a second mouse-over fill
// needs the first.
ButtonStyle TButtonDesigner::fieldStyle() const {
    ButtonStyle style;
    for (const StyleKey& key : styleKeys()) {
        const auto field = std::ranges::find(fields_, &key, &StyleField::key);
        try {
            key.take(style, toLocal(controlText(*field->control)));
        } catch (const Error& error) {
            throw Error(toLocal(field->control->accessibleName()) + ": " + error.what());
        }
    }
    return style;
}

ButtonFormat TButtonDesigner::outputFormat() const {
    return buttonFormatValue(toLocal(format_->currentText()));
}

void TButtonDesigner::pickColour(QLineEdit& edit) {
    const std::optional<Colour> now = parseColour(toLocal(edit.text().trimmed()));
    const QColor initial = now ? QColor(now->red, now->green, now->blue) : QColor(Qt::white);
    if (const std::optional<QColor> chosen = services_.dialogs.pickColor(initial)) {
        const QColor rgb = chosen->toRgb();
        edit.setText(toQt(colourText({static_cast<std::uint8_t>(rgb.red()),
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
    for (QLabel* label : contrastLabels_)
        label->clear();
    contrastNote_->clear();
    const std::vector<std::string> lines = texts_->texts();
    if (lines.empty())
        return;
    try {
        showContrast(fieldStyle());
        const ButtonMenu menu = drawButtonMenu(fieldStyle(), lines, ButtonFormat::Svg);
        for (const MadeButton& button : menu.buttons)
            previewLayout_->addWidget(
                new PreviewButton(drawSvg(button.normal), drawSvg(button.mouseOver),
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
    std::vector<ButtonTextRow> rows = texts_->rows();
    if (rows.empty())
        throw Error(msg::kEmptyButtonText);
    if (oneButton_)
        rows.resize(1);
    std::vector<std::string> lines;
    for (const ButtonTextRow& row : rows)
        lines.push_back(row.text);
    const WaitCursor wait;
    const ButtonMenu menu = drawButtonMenu(style, lines, outputFormat(), doubleScale_->isChecked(),
                                           pageMatte(toLocal(target_.pageBgColor())));
    const QDir folder(preferences_.path(PrefPath::Images));
    const auto path = [&](const std::string& file) { return folder.filePath(toQt(file)); };
    const std::string first = toLocal(path(menu.buttons[0].normalFile()));
    checkPathName(first, msg::kCannotCreateFile);
    if (!folder.exists())
        throw Error(format(msg::kCannotCreateFile, first));

    std::vector<DesignedButton> made;
    for (std::size_t at = 0; at < menu.buttons.size(); ++at) {
        const MadeButton& button = menu.buttons[at];
        const std::vector<ButtonPicture> pictures = button.pictures();
        const auto existing = std::ranges::find_if(pictures, [&](const ButtonPicture& picture) {
            return QFileInfo::exists(path(picture.file));
        });
        if (existing != pictures.end() &&
            !services_.dialogs.confirm(path(existing->file) +
                                       QStringLiteral(" exists. Replace the button's pictures?")))
            continue;
        for (const ButtonPicture& picture : pictures)
            writeFileReplacing(toLocal(path(picture.file)), *picture.bytes);
        made.push_back({toQt(button.normalFile()), toQt(button.mouseOverFile()), menu.size.width,
                        menu.size.height, rows[at].link, frame_->currentText().trimmed()});
    }
    if (made.empty())
        return;
    if (oneButton_)
        target_.fillDesignedButton(made.front());
    else
        target_.addDesignedButtons(made);
}

} // namespace kelmor
