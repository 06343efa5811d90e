#include "animation/anim_form.h"

#include "animation/gif_preferences.h"
#include "animation/placeholder.h"
#include "imaging/picture_qt.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kelmor {
namespace {

QCheckBox* addCheckBox(QWidget& parent, QLayout& layout, const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), &parent);
    box->setObjectName(QString::fromLatin1(name));
    layout.addWidget(box);
    return box;
}

QLineEdit* addEdit(QWidget& parent, QFormLayout& layout, const char* name, const char* caption) {
    auto* edit = new QLineEdit(&parent);
    edit->setObjectName(QString::fromLatin1(name));
    auto* label = new QLabel(QString::fromLatin1(caption), &parent);
    label->setBuddy(edit);
    edit->setAccessibleName(label->text());
    layout.addRow(label, edit);
    return edit;
}

QPushButton* addButton(QWidget& parent, QLayout& layout, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), &parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    layout.addWidget(button);
    return button;
}

} // namespace

TAnimForm::TAnimForm(Services& services, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), services_(services) {
    setObjectName(QStringLiteral("AnimForm"));
    setWindowTitle(QStringLiteral("Gifs Options"));

    auto* layout = new QVBoxLayout(this);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(10, 10, 10, 10);

    auto* switches = new QHBoxLayout;
    auto* boxes = new QVBoxLayout;
    crop_ = addCheckBox(*panel, *boxes, "CheckBoxCrop", "Crop");
    merge_ = addCheckBox(*panel, *boxes, "CheckBoxMerge", "Merge");
    palette_ = addCheckBox(*panel, *boxes, "CheckBoxPalette", "Palette");
    switches->addLayout(boxes);
    // The small picture beside the switches: the film frame the slots start with.
    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QPixmap::fromImage(toQImage(filmFramePlaceholder())));
    switches->addWidget(picture);
    panelLayout->addLayout(switches);

    auto* values = new QFormLayout;
    loop_ = addEdit(*panel, *values, "Edit1", "Loop:");
    speed_ = addEdit(*panel, *values, "Edit2", "Speed:");
    loop_->setText(QStringLiteral("0"));
    speed_->setText(QStringLiteral("30"));
    panelLayout->addLayout(values);
    layout->addWidget(panel);

    auto* strip = new QHBoxLayout;
    strip->addStretch();
    QPushButton* cancel = addButton(*this, *strip, "SpeedButton2", "&Cancel");
    QPushButton* ok = addButton(*this, *strip, "SpeedButton1", "&OK");
    layout->addLayout(strip);

    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(ok, &QPushButton::clicked, this,
            guarded(services_.dialogs, [this] { speedButton1Click(); }));

    loadGifPreferences();
}

void TAnimForm::showOptions() {
    if (!placed_) {
        adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

std::string TAnimForm::loopText() const {
    return toLocal(loop_->text());
}

std::string TAnimForm::speedText() const {
    return toLocal(speed_->text());
}

bool TAnimForm::crop() const {
    return crop_->isChecked();
}

bool TAnimForm::merge() const {
    return merge_->isChecked();
}

bool TAnimForm::palette() const {
    return palette_->isChecked();
}

void TAnimForm::loadGifPreferences() {
    const GifPreferences stored = kelmor::loadGifPreferences(toLocal(services_.paths.configDir));
    loop_->setText(toQt(stored.loops));
    speed_->setText(toQt(stored.speed));
    crop_->setChecked(stored.crop);
    merge_->setChecked(stored.merge);
    palette_->setChecked(stored.palette);
}

void TAnimForm::saveGifPreferences() {
    GifPreferences values;
    values.loops = loopText();
    values.speed = speedText();
    values.crop = crop();
    values.merge = merge();
    values.palette = palette();
    kelmor::saveGifPreferences(toLocal(services_.paths.configDir), values);
}

void TAnimForm::speedButton1Click() {
    // The dialog stays open when the file cannot be written.
    saveGifPreferences();
    hide();
}

} // namespace kelmor
