#include "animation/gifs_tab.h"

#include "animation/assembly.h"
#include "animation/frame_count_box.h"
#include "animation/frame_slots.h"
#include "animation/placeholder.h"
#include "animation/preview_area.h"
#include "app/error_guard.h"
#include "app/file_icons.h"
#include "app/folder_list.h"
#include "app/history.h"
#include "app/qt_text.h"
#include "app/tool_icons.h"
#include "app/wait_cursor.h"
#include "base/folder_scan.h"
#include "prefs/preferences.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelmor {
namespace {

QToolButton* addToolButton(QToolBar& bar, const char* name, const char* hint,
                           QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(&bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAccessibleName(QString::fromLatin1(hint));
    button->setIcon(toolIcon(icon));
    bar.addWidget(button);
    return button;
}

} // namespace

GifsTab::GifsTab(Services& services, QWidget* parent) : QWidget(parent), services_(services) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    frameCount_ = new FrameCountBox(this);
    currentAnimation_ = new QComboBox(this);
    currentAnimation_->setObjectName(QStringLiteral("ComboBox7"));
    currentAnimation_->setAccessibleName(QStringLiteral("Current animation"));
    currentAnimation_->setEditable(true);
    currentAnimation_->setInsertPolicy(QComboBox::NoInsert);
    buildToolBars();

    auto* body = new QWidget(this);
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    slots_ = new FrameSlotColumn(body);
    bodyLayout->addWidget(slots_);
    auto* splitter = new QSplitter(body);
    sourceList_ = new QListWidget(splitter);
    sourceList_->setObjectName(QStringLiteral("ListView7"));
    sourceList_->setAccessibleName(QStringLiteral("Bmp files"));
    sourceList_->setDragEnabled(true);
    sourceList_->setDragDropMode(QAbstractItemView::DragOnly);
    previewArea_ = new PreviewArea(splitter);
    splitter->setStretchFactor(1, 1);
    bodyLayout->addWidget(splitter, 1);
    layout->addWidget(body, 1);

    // The placeholder film frame: kept by Image24, and in every slot at start.
    previewArea_->placeholderKeeper().setPicture(Picture(filmFramePlaceholder()));
    slots_->fillAll(previewArea_->placeholderKeeper().picture());
    setListStyle(ListStyle::Large);

    Dialogs& dialogs = services_.dialogs;
    connect(slots_, &FrameSlotColumn::dropped, this,
            [this, &dialogs](int slot) { runGuarded(dialogs, [&] { slotDragDrop(slot); }); });
    connect(sourceList_, &QListWidget::itemDoubleClicked, this,
            guarded(dialogs, [this] { listView7DblClick(); }));
    connect(currentAnimation_, &QComboBox::activated, this,
            [this, &dialogs](int index) { runGuarded(dialogs, [&] { comboBox7Click(index); }); });

    historyAdd_ = new QAction(QStringLiteral("History Add"), this);
    historyAdd_->setObjectName(QStringLiteral("actCombo3"));
    connect(historyAdd_, &QAction::triggered, this, [this] { historyAdd(*currentAnimation_); });
    addAction(historyAdd_);
    // One assembly, parameterised by the frame count, behind the nineteen actions.
    for (int n = 2; n <= kFrameSlotCount; ++n) {
        auto* action = new QAction(QStringLiteral("Animate %1 Frames").arg(n), this);
        action->setObjectName(QStringLiteral("actAnimate%1").arg(n));
        action->setProperty("category", QStringLiteral("Animation"));
        connect(action, &QAction::triggered, this, guarded(dialogs, [this, n] { animate(n); }));
        addAction(action);
        animateActions_.push_back(action);
    }
}

void GifsTab::buildToolBars() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar4"));
    Dialogs& dialogs = services_.dialogs;
    auto command = [&](const char* name, const char* hint, QStyle::StandardPixmap icon,
                       auto handler) {
        QToolButton* button = addToolButton(*bar, name, hint, icon);
        connect(button, &QToolButton::clicked, this, guarded(dialogs, handler));
        return button;
    };
    command("ToolButton53", "New Gif Animation", QStyle::SP_FileIcon,
            [this] { toolButton53Click(); });
    command("ToolButton54", "Open...", QStyle::SP_DialogOpenButton,
            [this] { toolButton54Click(); });
    command("ToolButton55", "Save", QStyle::SP_DialogSaveButton, [this] { toolButton55Click(); });
    saveAs_ = command("ToolButton56", "Save As...", QStyle::SP_DriveFDIcon,
                      [this] { toolButton56Click(); });
    bar->addSeparator();
    command("ToolButton62", "Refresh Bmp View", QStyle::SP_BrowserReload,
            [this] { fillFrameSourceList(); });
    command("ToolButton59", "Large Icons", QStyle::SP_FileDialogContentsView,
            [this] { setListStyle(ListStyle::Large); });
    command("ToolButton60", "Small Icons", QStyle::SP_FileDialogListView,
            [this] { setListStyle(ListStyle::Small); });
    bar->addSeparator();
    command("ToolButton64", "Options...", QStyle::SP_FileDialogDetailedView,
            [this] { emit optionsRequested(); });
    command("ToolButton65", "Gifs Option...", QStyle::SP_FileDialogInfoView,
            [this] { emit gifsOptionsRequested(); });
    bar->addSeparator();
    play_ = command("ToolButton57", "Play Animation", QStyle::SP_MediaPlay,
                    [this] { toolButton57Click(); });
    bar->addSeparator();
    bar->addWidget(frameCount_);
    saveAs_->setEnabled(false);
    play_->setEnabled(false);
    layout()->addWidget(bar);

    auto* comboBar = new QToolBar(this);
    comboBar->setObjectName(QStringLiteral("ToolBar5"));
    comboBar->addWidget(currentAnimation_);
    currentAnimation_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout()->addWidget(comboBar);
}

void GifsTab::attachPreferences(const Preferences& preferences) {
    preferences_ = &preferences;
}

void GifsTab::attachAnimationSettings(const AnimationSettings& settings) {
    settings_ = &settings;
}

void GifsTab::refillLists() {
    fillFrameSourceList();
}

void GifsTab::clearAnimation() {
    previewArea_->preview().clear();
}

QString GifsTab::framePath(const QString& caption) const {
    const QString folder = preferences_ ? preferences_->framesFolder() : QString();
    return toQt(joinPath(toLocal(folder), toLocal(caption)));
}

void GifsTab::fillFrameSourceList() {
    const QString folder = preferences_ ? preferences_->framesFolder() : QString();
    fillFileList(*sourceList_, folder, QStringLiteral("*.bmp"), fileIcon(FileIcon::Bmp));
}

void GifsTab::setListStyle(ListStyle style) {
    applyListStyle(*sourceList_, style);
}

void GifsTab::slotDragDrop(int slot) {
    const QListWidgetItem* item = sourceList_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    // Loaded aside first, so a file that fails leaves the slot's picture.
    Picture loaded;
    loaded.loadFromFile(toLocal(framePath(item->text())));
    slots_->slotAt(slot).setPicture(std::move(loaded));
    if (slot == 0)
        play_->setEnabled(true);
}

void GifsTab::listView7DblClick() {
    const QListWidgetItem* item = sourceList_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    PictureView& preview = previewArea_->preview();
    preview.loadFromFile(toLocal(framePath(item->text())));
    emit statusTextChanged(QStringLiteral("Image Size: %1h x %2w")
                               .arg(preview.picture().height())
                               .arg(preview.picture().width()));
}

void GifsTab::toolButton57Click() {
    if (const std::optional<int> n = assemblyFrameCount(toLocal(frameCount_->text())))
        animateActions_[static_cast<std::size_t>(*n - 2)]->trigger();
}

void GifsTab::animate(int frameCount) {
    if (settings_ == nullptr)
        return;
    const WaitCursor hourglass;
    PictureView& preview = previewArea_->preview();
    const std::vector<Picture> pictures = slots_->pictures();
    GifImage animation = assembleAnimation(pictures, frameCount, *settings_, [&](int slot) {
        // Each frame is shown, and painted at once, while it is added.
        preview.setPicture(pictures[static_cast<std::size_t>(slot)]);
        preview.repaint();
    });
    preview.setPicture(Picture(std::move(animation)));
    saveAs_->setEnabled(true);
}

void GifsTab::toolButton53Click() {
    clearAnimation();
    slots_->fillAll(previewArea_->placeholderKeeper().picture());
}

void GifsTab::toolButton54Click() {
    const std::optional<QString> chosen = services_.dialogs.openPicture();
    if (!chosen)
        return;
    previewArea_->preview().loadFromFile(toLocal(*chosen));
    currentAnimation_->setEditText(*chosen);
    historyAdd_->trigger();
}

void GifsTab::toolButton55Click() {
    const QString name = currentAnimation_->currentText();
    if (name.isEmpty())
        return;
    if (services_.dialogs.confirm(QStringLiteral("Save File as ") + name))
        previewArea_->preview().saveToFile(toLocal(name));
}

void GifsTab::toolButton56Click() {
    const Picture& picture = previewArea_->preview().picture();
    if (picture.empty())
        return;
    const std::optional<QString> chosen = services_.dialogs.saveFile(
        toQt(pictureSaveFilter(picture.format())), currentAnimation_->currentText(),
        toQt(pictureDefaultExtension(picture.format())));
    if (chosen)
        picture.saveToFile(toLocal(*chosen));
}

void GifsTab::comboBox7Click(int index) {
    PictureView& preview = previewArea_->preview();
    preview.loadFromFile(toLocal(currentAnimation_->itemText(index)));
}

} // namespace kelmor
