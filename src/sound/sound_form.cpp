#include "sound/sound_form.h"

#include "prefs/form_prefs.h"
#include "prefs/ini_file.h"
#include "sound/sound_module.h"
#include "ui/error_guard.h"
#include "ui/folder_list.h"
#include "ui/history.h"
#include "ui/qt_text.h"
#include "ui/tool_commands.h"
#include "ui/tool_icons.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QComboBox>
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
    return toolIcon(QStyle::SP_MediaVolume);
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
    Dialogs& dialogs = services_.dialogs;
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    setUpToolBar(*bar, ToolBarSize::Small);
    auto command = [&](CommandIcon icon, const char* hint, const char* name,
                       void (TSoundForm::*handler)()) {
        return addToolCommand(*bar, dialogs, icon, QString::fromLatin1(hint), name,
                              [this, handler] { (this->*handler)(); });
    };
    command(CommandIcon::Open, "Open...", "ToolButton1", &TSoundForm::OpenClick);
    command(CommandIcon::Save, "Save", "ToolButton2", &TSoundForm::SaveClick);
    command(CommandIcon::SaveAs, "SaveAs...", "ToolButton3", &TSoundForm::SaveAsClick);
    bar->addSeparator();
    command(CommandIcon::PlaySound, "Play", "ToolButton4", &TSoundForm::PlayClick);
    command(CommandIcon::StopSound, "Stop", "ToolButton5", &TSoundForm::StopClick);
    command(CommandIcon::RewindSound, "Rewind", "ToolButton6", &TSoundForm::RewindClick);
    command(CommandIcon::RecordSound, "Record Sound", "ToolButton7", &TSoundForm::RecordClick);
    bar->addSeparator();
    // These three have no hint; their captions name them for assistive tools.
    const struct {
        CommandIcon icon;
        const char* name;
        const char* caption;
        std::function<void()> handler;
    } views[] = {
        {CommandIcon::LargeView, "ToolButton8", "Large Icons",
         [this] { setListStyle(ListStyle::Large); }},
        {CommandIcon::SmallView, "ToolButton9", "Small Icons",
         [this] { setListStyle(ListStyle::Small); }},
        {CommandIcon::Refresh, "ToolButton10", "Refresh List", [this] { RefreshClick(); }},
    };
    for (const auto& view : views) {
        QAction* action =
            addToolCommand(*bar, dialogs, view.icon, QString(), view.name, view.handler);
        bar->widgetForAction(action)->setAccessibleName(QString::fromLatin1(view.caption));
    }
    bar->addSeparator();
    addToolCommand(*bar, dialogs, CommandIcon::Options, QStringLiteral("Options..."),
                   "ToolButton11", [this] { emit optionsRequested(); });

    auto* saveAsLabel = new QLabel(QStringLiteral("Save As:"), bar);
    saveAsLabel->setObjectName(QStringLiteral("Label1"));
    saveAsLabel->setContentsMargins(8, 0, 4, 0);
    saveAsName_ = new QLineEdit(QStringLiteral("newsound.wav"), bar);
    saveAsName_->setObjectName(QStringLiteral("Edit2"));
    saveAsName_->setAccessibleName(QStringLiteral("Save As:"));
    saveAsLabel->setBuddy(saveAsName_);
    bar->addWidget(saveAsLabel);
    bar->addWidget(saveAsName_);

    history_ = new QComboBox(this);
    history_->setObjectName(QStringLiteral("ComboBox1"));
    history_->setEditable(true);
    history_->setInsertPolicy(QComboBox::NoInsert);
    history_->setAccessibleName(QStringLiteral("Sound history"));
    connect(history_, &QComboBox::activated, this,
            guarded(dialogs, [this](int index) { ComboBox1Select(index); }));
    historyAdd_ = new QAction(this);
    historyAdd_->setObjectName(QStringLiteral("actCombo1"));
    connect(historyAdd_, &QAction::triggered, this, [this] { historyAdd(*history_); });

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
    history_->setEditText(*chosen);
    historyAdd_->trigger();
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
    const IniFile file(toLocal(services_.paths.configDir), TFormPrefs::kFileName);
    const QString folder = toQt(file.readString("PREFERENCES", "Sounds Directory", ""));
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
