#include "animation/gifs_tab.h"

#include "animation/anim_form.h"
#include "animation/assembly.h"
#include "animation/frame_count_box.h"
#include "animation/frame_slots.h"
#include "animation/placeholder.h"
#include "animation/preview_area.h"
#include "base/folder_scan.h"
#include "ui/error_guard.h"
#include "ui/file_icons.h"
#include "ui/folder_list.h"
#include "ui/history.h"
#include "ui/qt_text.h"
#include "ui/tool_commands.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelmor {

GifsTab::GifsTab(Services& services, const PreferenceStore& preferences,
                 PictureStatusLine& statusLine, QWidget* parent)
    : TabPage(parent), services_(services), preferences_(preferences), statusLine_(statusLine) {
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
    // The frame source list sits above the animation preview.
    auto* splitter = new QSplitter(Qt::Vertical, body);
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
    setListsStyle(ListStyle::Large);

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
    setUpToolBar(*bar, ToolBarSize::Small);
    Dialogs& dialogs = services_.dialogs;
    auto command = [&](CommandIcon icon, const char* hint, const char* name,
                       std::function<void()> handler) {
        return addToolCommand(*bar, dialogs, icon, QString::fromLatin1(hint), name,
                              std::move(handler));
    };
    command(CommandIcon::NewAnimation, "New Gif Animation", "ToolButton53",
            [this] { toolButton53Click(); });
    command(CommandIcon::Open, "Open...", "ToolButton54", [this] { toolButton54Click(); });
    command(CommandIcon::Save, "Save", "ToolButton55", [this] { toolButton55Click(); });
    saveAs_ =
        command(CommandIcon::SaveAs, "Save As...", "ToolButton56", [this] { toolButton56Click(); });
    bar->addSeparator();
    command(CommandIcon::Refresh, "Refresh Bmp View", "ToolButton62",
            [this] { fillFrameSourceList(); });
    command(CommandIcon::LargeView, "Large Icons", "ToolButton59",
            [this] { setListsStyle(ListStyle::Large); });
    command(CommandIcon::SmallView, "Small Icons", "ToolButton60",
            [this] { setListsStyle(ListStyle::Small); });
    bar->addSeparator();
    command(CommandIcon::Options, "Options...", "ToolButton64",
            [this] { emit optionsRequested(); });
    command(CommandIcon::GifsOptions, "Gifs Option...", "ToolButton65",
            [this] { gifsOptions_->showOptions(); });
    bar->addSeparator();
    play_ = command(CommandIcon::PlayAnimation, "Play Animation", "ToolButton57",
                    [this] { toolButton57Click(); });
    bar->addSeparator();
    bar->addWidget(frameCount_);
    saveAs_->setEnabled(false);
    play_->setEnabled(false);
    layout()->addWidget(bar);

    auto* comboBar = new QToolBar(this);
    comboBar->setObjectName(QStringLiteral("ToolBar5"));
    setUpToolBar(*comboBar, ToolBarSize::Small);
    comboBar->addWidget(currentAnimation_);
    currentAnimation_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout()->addWidget(comboBar);
}

void GifsTab::attachGifsOptions(TAnimForm& gifsOptions) {
    gifsOptions_ = &gifsOptions;
}

void GifsTab::refillLists() {
    fillFrameSourceList();
}

void GifsTab::clearAnimation() {
    previewArea_->preview().clear();
}

QString GifsTab::framePath(const QString& caption) const {
    return toQt(joinPath(toLocal(preferences_.path(PrefPath::Frames)), toLocal(caption)));
}

void GifsTab::fillFrameSourceList() {
    fillFileList(*sourceList_, preferences_.path(PrefPath::Frames), QStringLiteral("*.bmp"),
                 fileIcon(FileIcon::Bmp));
}

void GifsTab::setListsStyle(ListStyle style) {
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
    statusLine_.showStatus(QStringLiteral("Image Size: %1h x %2w")
                               .arg(preview.picture().height())
                               .arg(preview.picture().width()));
}

void GifsTab::toolButton57Click() {
    if (const std::optional<int> n = assemblyFrameCount(toLocal(frameCount_->text())))
        animateActions_[static_cast<std::size_t>(*n - 2)]->trigger();
}

void GifsTab::animate(int frameCount) {
    const WaitCursor hourglass;
    PictureView& preview = previewArea_->preview();
    const std::vector<Picture> pictures = slots_->pictures();
    GifImage animation = assembleAnimation(pictures, frameCount, *gifsOptions_, [&](int slot) {
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
