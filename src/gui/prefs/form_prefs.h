#pragma once

#include "prefs/preference_store.h"
#include "prefs/preferences.h"
#include "ui/services.h"

#include <QDialog>
#include <array>
#include <utility>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace kelmor {

// The Options dialog: edits the program's preference store. Every change of a
// control goes into the store at once; the controls show the store when the
// dialog is created (the store is loaded from "KelmorPref.ini" in the config
// folder at start) and are written back to the file by OK.
//
// Controls by object name:
//   PageControl1                       the tab control, tabs TabSheet1..TabSheet5
//   Edit1..Edit13                      the thirteen paths, in the order of the file's keys
//   SpeedButton1..SpeedButton13        the browse button of the edit with the same number
//   RadioProjectsLarge, RadioProjectsSmall, RadioPicsLarge, RadioPicsSmall,
//   RadioSoundsLarge, RadioSoundsSmall, RadioHtmlLarge, RadioHtmlSmall
//                                      the view style pairs of the "Views" tab
//   CheckHtml, CheckPics, CheckToolBar the window flags of the "Views" tab
//   OkButton1..OkButton5, CancelButton1..CancelButton5
//                                      "&OK" and "C&ancel" of each tab
//
// The window flags and the Projects, Pics and Html style pairs act on the main
// window as soon as their state changes, through PreferenceReactions: a check
// box on every change, a radio button when it becomes checked.
class TFormPrefs : public QDialog {
    Q_OBJECT
public:
    TFormPrefs(Services& services, PreferenceStore& store, PreferenceReactions& reactions,
               QWidget* parent = nullptr);

    // Before each showing: a pair whose lists were switched to Thumbnail View since the file was
    // read shows neither button, so that OK keeps that view for the next start.
    void showThumbnailViews();

private:
    // One view style pair: "Large Icons" and "Small Icons" of one group.
    struct StylePair {
        QRadioButton* large = nullptr;
        QRadioButton* small = nullptr;
    };

    QWidget* buildPathsTab(int tab);
    QWidget* buildViewsTab();
    QGroupBox* buildStyleGroup(const QString& title, const char* name, StylePair& pair);
    QWidget* withButtons(QWidget* content, int tab);
    void showStore();
    void connectReactions();
    void connectStore();
    std::array<std::pair<QCheckBox*, PrefFlag>, kPrefFlagCount> flagBoxes() const;
    std::array<std::pair<StylePair*, PrefLists>, kPrefListsCount> stylePairs();
    static std::optional<ListStyle> styleOf(const StylePair& pair);

    void Save();
    void OKButtonClick();
    void CancelButtonClick();
    void BrowseClick(int row);

    Services& services_;
    PreferenceStore& store_;
    PreferenceReactions& reactions_;

    QTabWidget* tabs_ = nullptr;
    std::array<QLineEdit*, kPrefPathCount> edits_{};
    StylePair projects_;
    StylePair pics_;
    StylePair sounds_;
    StylePair html_;
    QCheckBox* htmlPanel_ = nullptr;
    QCheckBox* picsPanel_ = nullptr;
    QCheckBox* toolBar_ = nullptr;
};

} // namespace kelmor
