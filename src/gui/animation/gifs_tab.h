#pragma once

#include "prefs/preference_store.h"
#include "ui/history.h"
#include "ui/services.h"
#include "ui/tab_links.h"
#include "ui/tab_page.h"
#include "ui/unsaved_work.h"

#include <vector>

class QAction;
class QListWidget;

namespace kelmor {

class FrameCountBox;
class FrameSlotColumn;
class PictureView;
class PreviewArea;
class TAnimForm;
class ThumbnailLoader;

// The "Gifs" tab: the twenty frame slots, the frame source list over the Bmp
// Files folder (its BMP, PNG, WebP and SVG pictures), the animation preview, and
// the commands that assemble, play, open and save animations; Save As writes an
// assembled animation as a GIF or as an animated WebP.
//
// Controls by object name: ToolButton53 ... ToolButton65 (the tool bar, by
// handler), Edit27 and UpDown1 (frame count), ComboBox7 (current animation),
// ScrollBox4 with the slots a1 ... Image22, ListView7 (frame source list),
// ScrollBox5 with ImageAnimate (preview) and Image24 (placeholder keeper);
// ToolButtonThumbnails puts the frame source list into Thumbnail View, which the
// preference file remembers;
// actions actAnimate2 ... actAnimate20 and actCombo3.
class GifsTab : public TabPage {
    Q_OBJECT
public:
    // The Bmp Files folder is read from the preferences each time it is
    // needed; "Image Size: ..." goes to the PictureStatusLine link (the Pics
    // tab's status line).
    explicit GifsTab(TabContext& context, QWidget* parent = nullptr);

    // The Gifs Options dialog, created with the tab so that its preference file
    // is read at start: its controls are read by every assembly, and
    // "Gifs Option..." shows it.
    TAnimForm& gifsOptions() { return gifsOptions_; }
    // FillFrameSourceList: runs when the main window is shown and on "Refresh Bmp View".
    void refillLists() override;
    // Large icons, small icons or thumbnails in the frame source list.
    void setListsStyle(ListStyle style) override;
    // Empties the animation preview, which stops its animation.
    void clearAnimation();
    void mainWindowClosing() override { clearAnimation(); }
    // Asks about frames put into the slots since they were last emptied or saved.
    bool settleUnsavedWork() override;

    // Assembles the first `frameCount` slots (2 to 20) and plays the result.
    void animate(int frameCount);

protected:
    void buildContents() override;

private:
    QString framePath(const QString& caption) const;
    void LargeIconsClick();
    void SmallIconsClick();
    void ThumbnailsClick();
    // Large or small icons chosen on the tool bar: Thumbnail View is left and forgotten.
    void leaveThumbnails(ListStyle style);
    void GifsOptionClick();
    void AddFrameClick();
    void slotDragDrop(int slot);
    // Picture files from the file manager: one per slot from `slot` on, as far as slots go.
    void slotFilesDropped(int slot, const QStringList& files);
    void frameFilled(int slot);
    UnsavedWork unsavedFrames();
    // Save As; false when there was nothing to save or its dialog was cancelled.
    bool saveAnimationAs();
    void listView7DblClick();
    void toolButton57Click();
    void toolButton53Click();
    void toolButton54Click();
    void toolButton55Click();
    void toolButton56Click();
    void comboBox7Click(int index);

    Services& services_;
    const PreferenceStore& preferences_;
    PictureStatusLine& statusLine_;
    TAnimForm& gifsOptions_;
    FrameSlotColumn* slots_ = nullptr;
    QListWidget* sourceList_ = nullptr;
    ThumbnailLoader* thumbnails_ = nullptr;
    PreviewArea* previewArea_ = nullptr;
    FrameCountBox* frameCount_ = nullptr;
    HistoryBox* currentAnimation_ = nullptr;
    std::vector<QAction*> animateActions_;
    // The frame count of the animation the preview shows when it was assembled from the
    // slots; 0 when it shows anything else.
    int assembledFrames_ = 0;
    // Frames were put into the slots since they were last emptied or their animation saved.
    bool framesChanged_ = false;
};

} // namespace kelmor
