#include "animation/gifs_tab.h"

#include "animation/anim_form.h"
#include "animation/assembly.h"
#include "animation/frame_count_box.h"
#include "animation/frame_slots.h"
#include "animation/placeholder.h"
#include "animation/preview_area.h"
#include "base/atomic_file.h"
#include "base/folder_scan.h"
#include "base/messages.h"
#include "prefs/page_preference.h"
#include "ui/error_guard.h"
#include "ui/folder_list.h"
#include "ui/picture_kinds.h"
#include "ui/qt_text.h"
#include "ui/save_confirm.h"
#include "ui/thumbnail_loader.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>
#include <vector>

namespace kelmor {

GifsTab::GifsTab(TabContext& context, QWidget* parent)
    : TabPage({"Gifs", DrawnIcon::Film, " Animated Gif Creator"}, parent,
              ContentsBuilt::OnFirstUse),
      services_(context.services()), preferences_(context.preferences()),
      statusLine_(context.link<PictureStatusLine>()),
      gifsOptions_(addSecondaryWindow(std::make_unique<TAnimForm>(context.services()))) {
    using C = Command<GifsTab>;
    setCommands(std::make_unique<CommandSet>(
        *this, services_.dialogs,
        std::initializer_list<C>{
            {"ToolButton53", "&New Gif Animation", "New Gif Animation", CommandIcon::NewAnimation,
             QKeySequence::New, &GifsTab::toolButton53Click, Place::ToolBar},
            C::shared(SharedCommand::Open, "ToolButton54", &GifsTab::toolButton54Click),
            C::shared(SharedCommand::Save, "ToolButton55", &GifsTab::toolButton55Click),
            C::shared(SharedCommand::SaveAs, "ToolButton56", &GifsTab::toolButton56Click),
            C::separator(Place::ToolBar),
            {"ToolButton62", "&Refresh Bmp View", "Refresh Bmp View", CommandIcon::Refresh,
             Qt::Key_F5, &GifsTab::refillLists, Place::ToolBar},
            {"ToolButton59", "&Large Icons", "Large Icons", CommandIcon::LargeView,
             Qt::CTRL | Qt::Key_1, &GifsTab::LargeIconsClick, Place::ToolBar},
            {"ToolButton60", "S&mall Icons", "Small Icons", CommandIcon::SmallView,
             Qt::CTRL | Qt::Key_2, &GifsTab::SmallIconsClick, Place::ToolBar},
            {"ToolButtonThumbnails", "&Thumbnail View", "Thumbnail View",
             CommandIcon::ThumbnailView, Qt::CTRL | Qt::Key_3, &GifsTab::ThumbnailsClick,
             Place::ToolBar},
            C::separator(Place::ToolBar),
            C::shared(SharedCommand::Options, "ToolButton64", &GifsTab::requestOptions),
            {"ToolButton65", "&Gifs Option...", "Gifs Option...", CommandIcon::GifsOptions,
             Qt::CTRL | Qt::Key_G, &GifsTab::GifsOptionClick, Place::ToolBar},
            C::separator(Place::ToolBar),
            {"ToolButton57", "Pla&y Animation", "Play Animation", CommandIcon::PlayAnimation,
             Qt::CTRL | Qt::Key_P, &GifsTab::toolButton57Click, Place::ToolBar},
            C::separator(Place::ToolBar),
            {"AddFrame", "Add &Frame", "Put the selected picture into the next empty frame",
             CommandIcon::None, Qt::Key_Insert, &GifsTab::AddFrameClick, Place::KeyOnly},
        }));
    commands().action("ToolButton56").setEnabled(false);
    commands().action("ToolButton57").setEnabled(false);

    // One assembly, parameterised by the frame count, behind the nineteen actions.
    for (int n = 2; n <= kFrameSlotCount; ++n) {
        auto* action = new QAction(QStringLiteral("Animate %1 Frames").arg(n), this);
        action->setObjectName(QStringLiteral("actAnimate%1").arg(n));
        action->setProperty("category", QStringLiteral("Animation"));
        connect(action, &QAction::triggered, this,
                guarded(services_.dialogs, [this, n] { animate(n); }));
        addAction(action);
        animateActions_.push_back(action);
    }
}

void GifsTab::buildContents() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar4"));
    setUpToolBar(*bar, ToolBarSize::Small);
    commands().fillToolBar(*bar);
    frameCount_ = new FrameCountBox(bar);
    bar->addWidget(frameCount_);
    layout->addWidget(bar);

    currentAnimation_ =
        new HistoryBox("ComboBox7", QStringLiteral("Current animation"), "actCombo3", this);
    auto* comboBar = new QToolBar(this);
    comboBar->setObjectName(QStringLiteral("ToolBar5"));
    setUpToolBar(*comboBar, ToolBarSize::Small);
    comboBar->addWidget(currentAnimation_);
    layout->addWidget(comboBar);

    auto* body = new QWidget(this);
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    slots_ = new FrameSlotColumn(body);
    bodyLayout->addWidget(slots_);
    // The frame source list sits above the animation preview.
    auto* splitter = new QSplitter(Qt::Vertical, body);
    splitter->setObjectName(QStringLiteral("GifsSplitter"));
    sourceList_ = new QListWidget(splitter);
    sourceList_->setObjectName(QStringLiteral("ListView7"));
    sourceList_->setAccessibleName(QStringLiteral("Bmp files"));
    sourceList_->setDragEnabled(true);
    sourceList_->setDragDropMode(QAbstractItemView::DragOnly);
    thumbnails_ = new ThumbnailLoader(*sourceList_, services_.paths.thumbnailRoot);
    previewArea_ = new PreviewArea(splitter);
    splitter->setStretchFactor(1, 1);
    bodyLayout->addWidget(splitter, 1);
    layout->addWidget(body, 1);

    // The placeholder film frame: kept by Image24, and in every slot at start.
    previewArea_->placeholderKeeper().setPicture(Picture(filmFramePlaceholder()));
    slots_->fillAll(previewArea_->placeholderKeeper().picture());
    setListsStyle(loadThumbnailView(toLocal(services_.paths.configDir), PrefChoice::GifsThumbnails)
                      ? ListStyle::Thumbnails
                      : ListStyle::Large);

    Dialogs& dialogs = services_.dialogs;
    connect(slots_, &FrameSlotColumn::dropped, this,
            guarded(dialogs, [this](int slot) { slotDragDrop(slot); }));
    connect(slots_, &FrameSlotColumn::filesDropped, this,
            guarded(dialogs,
                    [this](int slot, const QStringList& files) { slotFilesDropped(slot, files); }));
    connect(sourceList_, &QListWidget::itemDoubleClicked, this,
            guarded(dialogs, [this] { listView7DblClick(); }));
    connect(currentAnimation_, &QComboBox::activated, this,
            guarded(dialogs, [this](int index) { comboBox7Click(index); }));
}

void GifsTab::LargeIconsClick() {
    leaveThumbnails(ListStyle::Large);
}

void GifsTab::SmallIconsClick() {
    leaveThumbnails(ListStyle::Small);
}

void GifsTab::ThumbnailsClick() {
    setListsStyle(ListStyle::Thumbnails);
    saveThumbnailView(toLocal(services_.paths.configDir), PrefChoice::GifsThumbnails, true);
}

void GifsTab::leaveThumbnails(ListStyle style) {
    const bool leaving = thumbnails_->shown();
    setListsStyle(style);
    if (leaving)
        saveThumbnailView(toLocal(services_.paths.configDir), PrefChoice::GifsThumbnails, false);
}

void GifsTab::GifsOptionClick() {
    gifsOptions_.showOptions();
}

// The keyboard's way to fill a slot: the focused slot, or else the first one
// no picture was put into since the slots were last emptied.
void GifsTab::AddFrameClick() {
    if (const std::optional<int> slot = slots_->targetSlot())
        slotDragDrop(*slot);
}

void GifsTab::refillLists() {
    ensureBuilt();
    std::vector<FilePattern> frames;
    for (const PictureKind& kind : kPictureKinds) {
        if (kind.animationFrame)
            frames.push_back({listPattern(kind), pictureFileIcon(kind)});
    }
    thumbnails_->setFolder(preferences_.path(PrefPath::Frames));
    fillFileList(*sourceList_, preferences_.path(PrefPath::Frames), frames);
}

void GifsTab::clearAnimation() {
    // Before the tab is first shown there is no preview, so nothing plays.
    if (previewArea_ != nullptr)
        previewArea_->preview().clear();
    assembledFrames_ = 0;
}

QString GifsTab::framePath(const QString& caption) const {
    return toQt(joinPath(toLocal(preferences_.path(PrefPath::Frames)), toLocal(caption)));
}

void GifsTab::setListsStyle(ListStyle style) {
    ensureBuilt();
    applyListStyle(*sourceList_, style);
    thumbnails_->setShown(style == ListStyle::Thumbnails);
}

void GifsTab::slotDragDrop(int slot) {
    const QListWidgetItem* item = sourceList_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    // Loaded aside first, so a file that fails leaves the slot's picture.
    const WaitCursor hourglass;
    Picture loaded;
    loaded.loadFromFile(toLocal(framePath(item->text())));
    slots_->setFrame(slot, std::move(loaded));
    frameFilled(slot);
}

void GifsTab::slotFilesDropped(int slot, const QStringList& files) {
    const WaitCursor hourglass;
    for (const QString& file : files) {
        if (slot >= kFrameSlotCount)
            break;
        Picture loaded;
        loaded.loadFromFile(toLocal(file));
        slots_->setFrame(slot, std::move(loaded));
        frameFilled(slot);
        ++slot;
    }
}

void GifsTab::frameFilled(int slot) {
    framesChanged_ = true;
    if (slot == 0)
        commands().action("ToolButton57").setEnabled(true);
}

// "Save" in the question plays the first N slots when the preview does not show their
// animation yet, then saves it as Save As does.
UnsavedWork GifsTab::unsavedFrames() {
    const QString name =
        currentAnimation_ != nullptr ? currentAnimation_->currentText() : QString();
    return {framesChanged_,
            name.isEmpty() ? QStringLiteral("the animation frames") : QFileInfo(name).fileName(),
            [this] {
                if (assembledFrames_ == 0)
                    if (const std::optional<int> n =
                            assemblyFrameCount(toLocal(frameCount_->text())))
                        animate(*n);
                return saveAnimationAs();
            }};
}

bool GifsTab::settleUnsavedWork() {
    return kelmor::settleUnsavedWork(services_.dialogs, unsavedFrames());
}

void GifsTab::listView7DblClick() {
    const QListWidgetItem* item = sourceList_->currentItem();
    if (item == nullptr || !item->isSelected())
        return;
    const WaitCursor hourglass;
    assembledFrames_ = 0;
    PictureView& preview = previewArea_->preview();
    preview.loadFromFile(toLocal(framePath(item->text())));
    statusLine_.showPictureSize(preview.picture().height(), preview.picture().width());
}

void GifsTab::toolButton57Click() {
    if (const std::optional<int> n = assemblyFrameCount(toLocal(frameCount_->text())))
        animateActions_[static_cast<std::size_t>(*n - 2)]->trigger();
}

void GifsTab::animate(int frameCount) {
    ensureBuilt();
    const WaitCursor hourglass;
    assembledFrames_ = 0;
    PictureView& preview = previewArea_->preview();
    const std::vector<Picture> pictures = slots_->pictures();
    GifImage animation = assembleAnimation(pictures, frameCount, gifsOptions_, [&](int slot) {
        // Each frame is shown, and painted at once, while it is added.
        preview.setPicture(pictures[static_cast<std::size_t>(slot)]);
        preview.repaint();
    });
    preview.setPicture(Picture(std::move(animation)));
    assembledFrames_ = frameCount;
    commands().action("ToolButton56").setEnabled(true);
}

void GifsTab::toolButton53Click() {
    if (!settleUnsavedWork())
        return;
    clearAnimation();
    slots_->fillAll(previewArea_->placeholderKeeper().picture());
    framesChanged_ = false;
}

void GifsTab::toolButton54Click() {
    const std::optional<QString> chosen = services_.dialogs.openPicture();
    if (!chosen)
        return;
    const WaitCursor hourglass;
    assembledFrames_ = 0;
    previewArea_->preview().loadFromFile(toLocal(*chosen));
    currentAnimation_->showPath(*chosen);
}

void GifsTab::toolButton55Click() {
    const QString name = currentAnimation_->currentText();
    if (!confirmSaveAs(services_.dialogs, name))
        return;
    previewArea_->preview().saveToFile(toLocal(name));
    if (assembledFrames_ > 0)
        framesChanged_ = false;
}

void GifsTab::toolButton56Click() {
    saveAnimationAs();
}

bool GifsTab::saveAnimationAs() {
    const Picture& picture = previewArea_->preview().picture();
    if (picture.empty())
        return false;
    // An animation assembled from the slots can also be saved as an animated WebP of them.
    QString filter = toQt(pictureSaveFilter(picture.format()));
    if (assembledFrames_ > 0)
        filter += QStringLiteral("|Animated WebP (*.webp)|*.webp");
    const std::optional<QString> chosen = services_.dialogs.saveFile(
        filter, currentAnimation_->currentText(), toQt(pictureDefaultExtension(picture.format())));
    if (!chosen)
        return false;
    if (assembledFrames_ > 0 && pictureFormatOf(toLocal(*chosen)) == PictureFormat::WebP) {
        const WaitCursor hourglass;
        const std::string file = toLocal(*chosen);
        checkPathName(file, msg::kCannotCreateFile);
        writeFileReplacing(
            file, assembleWebpAnimation(slots_->pictures(), assembledFrames_, gifsOptions_));
    } else {
        picture.saveToFile(toLocal(*chosen));
    }
    if (assembledFrames_ > 0)
        framesChanged_ = false;
    return true;
}

void GifsTab::comboBox7Click(int index) {
    const WaitCursor hourglass;
    assembledFrames_ = 0;
    PictureView& preview = previewArea_->preview();
    preview.loadFromFile(toLocal(currentAnimation_->itemText(index)));
}

} // namespace kelmor
