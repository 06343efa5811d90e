#include "sound/sound_form.h"

#include "prefs/preference_values.h"
#include "sound/sound_module.h"
#include "ui/drawn_icons.h"
#include "ui/error_guard.h"
#include "ui/folder_list.h"
#include "ui/history.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {
namespace {

QString waveFilter() {
    return QStringLiteral("Wave Sound Files (*.wav)|*.wav");
}

// The sound list's one icon, in the small and the large view.
QIcon soundIcon() {
    return drawnIcon(DrawnIcon::Speaker);
}

} // namespace

TSoundForm::TSoundForm(Services& services, const PreferenceStore& preferences, QWidget* parent)
    : TSoundForm(services, preferences, makeModuleAudioBackend(), nullptr, parent) {}

TSoundForm::TSoundForm(Services& services, const PreferenceStore& preferences, AudioBackend& audio,
                       QWidget* parent)
    : TSoundForm(services, preferences, nullptr, &audio, parent) {}

TSoundForm::TSoundForm(Services& services, const PreferenceStore& preferences,
                       std::unique_ptr<AudioBackend> ownAudio, AudioBackend* audio, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(services), preferences_(preferences), ownAudio_(std::move(ownAudio)),
      device_(audio != nullptr ? *audio : *ownAudio_, moduleSoundFiles()),
      playerFile_(fixedSoundsFolder() + QStringLiteral("/default.wav")) {
    setObjectName(QStringLiteral("SoundForm"));
    setWindowTitle(QStringLiteral("Play/Record Sound"));
    buildWindow();
}

TSoundForm::~TSoundForm() = default;

QString TSoundForm::fixedSoundsFolder() const {
    return services_.paths.dataDir + QStringLiteral("/sounds");
}

void TSoundForm::buildWindow() {
    QToolBar* bar = buildToolBar();
    buildSoundList();
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("BitBtn1"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(bar);
    layout->addWidget(history_);
    layout->addWidget(soundList_);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    // A fixed single border: the window keeps the size of its contents.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QToolBar* TSoundForm::buildToolBar() {
    using C = Command<TSoundForm>;
    // "Large Icons", "Small Icons" and "Refresh List" have no hint; their
    // captions name them for assistive tools.
    commands_ = std::make_unique<CommandSet>(
        *this, services_.dialogs,
        std::initializer_list<C>{
            C::shared(SharedCommand::Open, "ToolButton1", &TSoundForm::OpenClick),
            C::shared(SharedCommand::Save, "ToolButton2", &TSoundForm::SaveClick),
            {"ToolButton3", "Save&As...", "SaveAs...", CommandIcon::SaveAs,
             Qt::CTRL | Qt::SHIFT | Qt::Key_S, &TSoundForm::SaveAsClick, Place::ToolBar},
            C::separator(Place::ToolBar),
            {"ToolButton4", "&Play", "Play", CommandIcon::PlaySound, Qt::CTRL | Qt::Key_P,
             &TSoundForm::PlayClick, Place::ToolBar},
            {"ToolButton5", "S&top", "Stop", CommandIcon::StopSound, Qt::CTRL | Qt::Key_T,
             &TSoundForm::StopClick, Place::ToolBar},
            {"ToolButton6", "Re&wind", "Rewind", CommandIcon::RewindSound, Qt::CTRL | Qt::Key_Home,
             &TSoundForm::RewindClick, Place::ToolBar},
            {"ToolButton7", "&Record Sound", "Record Sound", CommandIcon::RecordSound,
             Qt::CTRL | Qt::Key_R, &TSoundForm::RecordClick, Place::ToolBar},
            C::separator(Place::ToolBar),
            {"ToolButton8", "Large Icons", nullptr, CommandIcon::LargeView, Qt::CTRL | Qt::Key_1,
             &TSoundForm::LargeIconsClick, Place::ToolBar},
            {"ToolButton9", "Small Icons", nullptr, CommandIcon::SmallView, Qt::CTRL | Qt::Key_2,
             &TSoundForm::SmallIconsClick, Place::ToolBar},
            {"ToolButton10", "Refresh List", nullptr, CommandIcon::Refresh, Qt::Key_F5,
             &TSoundForm::RefreshClick, Place::ToolBar},
            C::separator(Place::ToolBar),
            C::shared(SharedCommand::Options, "ToolButton11", &TSoundForm::OptionsClick),
        });
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    setUpToolBar(*bar, ToolBarSize::Small);
    commands_->fillToolBar(*bar);

    auto* saveAsLabel = new QLabel(QStringLiteral("Save As:"), bar);
    saveAsLabel->setObjectName(QStringLiteral("Label1"));
    saveAsLabel->setContentsMargins(8, 0, 4, 0);
    saveAsName_ = new QLineEdit(QStringLiteral("newsound.wav"), bar);
    saveAsName_->setObjectName(QStringLiteral("Edit2"));
    saveAsName_->setAccessibleName(QStringLiteral("Save As:"));
    saveAsLabel->setBuddy(saveAsName_);
    bar->addWidget(saveAsLabel);
    bar->addWidget(saveAsName_);

    return bar;
}

void TSoundForm::buildSoundList() {
    Dialogs& dialogs = services_.dialogs;
    history_ = new HistoryBox("ComboBox1", QStringLiteral("Sound history"), "actCombo1", this);
    connect(history_, &QComboBox::activated, this,
            guarded(dialogs, [this](int index) { ComboBox1Select(index); }));

    soundList_ = new QListWidget(this);
    soundList_->setObjectName(QStringLiteral("ListView1"));
    soundList_->setAccessibleName(QStringLiteral("Sounds"));
    soundList_->setMinimumSize(420, 240);
    connect(soundList_, &QListWidget::itemDoubleClicked, this,
            guarded(dialogs, [this] { ListView1DblClick(); }));
    // Return on the list does what a double-click does.
    auto* playSelected = new QAction(soundList_);
    playSelected->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    playSelected->setShortcutContext(Qt::WidgetShortcut);
    soundList_->addAction(playSelected);
    connect(playSelected, &QAction::triggered, this,
            guarded(dialogs, [this] { ListView1DblClick(); }));
}

void TSoundForm::LargeIconsClick() {
    setListStyle(ListStyle::Large);
}

void TSoundForm::SmallIconsClick() {
    setListStyle(ListStyle::Small);
}

void TSoundForm::OptionsClick() {
    emit optionsRequested();
}

void TSoundForm::setListStyle(ListStyle style) {
    applyListStyle(*soundList_, style);
}

// Each showing applies the Sounds view style, reads the folder again and centres the
// window on the desktop.
void TSoundForm::showEvent(QShowEvent* event) {
    if (const std::optional<ListStyle> style = preferences_.listStyle(PrefLists::Sounds))
        setListStyle(*style);
    RefreshClick();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QWidget::showEvent(event);
}

void TSoundForm::RefreshClick() {
    fillFileList(*soundList_, preferences_.path(PrefPath::Sounds), QStringLiteral("*.wav"),
                 soundIcon(), QStringLiteral(".wav"));
}

void TSoundForm::openPlayerFile() {
    WaitCursor wait;
    device_.open(toLocal(playerFile_));
}

void TSoundForm::openAndPlay(const QString& fileName) {
    playerFile_ = fileName;
    openPlayerFile();
    device_.play();
}

void TSoundForm::saveAs(const QString& fileName) {
    playerFile_ = fileName;
    WaitCursor wait;
    device_.save(toLocal(playerFile_));
}

// "Open...": the chosen file enters the history box and plays.
void TSoundForm::OpenClick() {
    const std::optional<QString> chosen = services_.dialogs.openFile(waveFilter(), QString());
    if (!chosen)
        return;
    history_->showPath(*chosen);
    openAndPlay(history_->currentText());
}

void TSoundForm::ComboBox1Select(int index) {
    openAndPlay(history_->itemText(index));
}

// The folder comes from the preference file itself, which differs from the list's
// folder when the Options dialog was left with Cancel after a change.
void TSoundForm::ListView1DblClick() {
    const QListWidgetItem* item = soundList_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    const QString folder = toQt(
        expandHome(readPreference(toLocal(services_.paths.configDir), prefKey(PrefPath::Sounds))));
    openAndPlay(folder + QLatin1Char('/') + item->text() + QStringLiteral(".wav"));
}

// Play always opens the player's file afresh, so it starts at the beginning.
void TSoundForm::PlayClick() {
    openAndPlay(playerFile_);
}

// Stop keeps what was played or recorded in the fixed sounds folder under the Save As name.
void TSoundForm::StopClick() {
    device_.stop();
    saveAs(fixedSoundsFolder() + QLatin1Char('/') + saveAsName_->text());
}

void TSoundForm::RewindClick() {
    device_.seekToStart();
}

// Recording goes into the empty default sound of the fixed sounds folder.
void TSoundForm::RecordClick() {
    playerFile_ = fixedSoundsFolder() + QStringLiteral("/default.wav");
    openPlayerFile();
    device_.startRecording();
}

// A bare name is saved into the current folder.
void TSoundForm::SaveClick() {
    saveAs(saveAsName_->text());
}

void TSoundForm::SaveAsClick() {
    if (const std::optional<QString> chosen = services_.dialogs.saveFile(
            waveFilter(), QString(), QString(), Dialogs::Overwrite::Replace))
        saveAs(*chosen);
}

} // namespace kelmor
