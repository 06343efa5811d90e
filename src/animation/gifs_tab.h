#pragma once

#include "app/services.h"

#include <QWidget>
#include <vector>

class QAction;
class QComboBox;
class QListWidget;
class QToolButton;

namespace kelmor {

class AnimationSettings;
class FrameCountBox;
class FrameSlotColumn;
class PictureView;
class Preferences;
class PreviewArea;
enum class ListStyle;

// The "Gifs" tab: the twenty frame slots, the frame source list over the Bmp
// Files folder, the animation preview, and the commands that assemble, play,
// open and save animations.
//
// Controls by object name: ToolButton53 ... ToolButton65 (the tool bar, by
// handler), Edit27 and UpDown1 (frame count), ComboBox7 (current animation),
// ScrollBox4 with the slots a1 ... Image22, ListView7 (frame source list),
// ScrollBox5 with ImageAnimate (preview) and Image24 (placeholder keeper);
// actions actAnimate2 ... actAnimate20 and actCombo3.
class GifsTab : public QWidget {
    Q_OBJECT
public:
    explicit GifsTab(Services& services, QWidget* parent = nullptr);

    // Where the Bmp Files folder is read, each time it is needed.
    void attachPreferences(const Preferences& preferences);
    // The Gifs Options dialog's controls, read by every assembly.
    void attachAnimationSettings(const AnimationSettings& settings);
    // FillFrameSourceList: runs when the main window is shown and on "Refresh Bmp View".
    void refillLists();
    // Empties the animation preview, which stops its animation.
    void clearAnimation();

    // Assembles the first `frameCount` slots (2 to 20) and plays the result.
    void animate(int frameCount);

signals:
    void optionsRequested();
    void gifsOptionsRequested();
    // The text for the Pics tab's status line ("Image Size: ...").
    void statusTextChanged(const QString& text);

private:
    void buildToolBars();
    QString framePath(const QString& caption) const;
    void fillFrameSourceList();
    void setListStyle(ListStyle style);
    void slotDragDrop(int slot);
    void listView7DblClick();
    void toolButton57Click();
    void toolButton53Click();
    void toolButton54Click();
    void toolButton55Click();
    void toolButton56Click();
    void comboBox7Click(int index);

    Services& services_;
    const Preferences* preferences_ = nullptr;
    const AnimationSettings* settings_ = nullptr;
    FrameSlotColumn* slots_ = nullptr;
    QListWidget* sourceList_ = nullptr;
    PreviewArea* previewArea_ = nullptr;
    FrameCountBox* frameCount_ = nullptr;
    QComboBox* currentAnimation_ = nullptr;
    QToolButton* saveAs_ = nullptr;
    QToolButton* play_ = nullptr;
    QAction* historyAdd_ = nullptr;
    std::vector<QAction*> animateActions_;
};

} // namespace kelmor
