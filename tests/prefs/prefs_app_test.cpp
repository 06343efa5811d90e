#include "animation/gifs_tab.h"
#include "app_fixture.h"
#include "editor/html_tab.h"
#include "pictures/pics_tab.h"
#include "prefs/form_prefs.h"
#include "prefs/page_preference.h"
#include "project/projects_tab.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

namespace kelmor::test {
namespace {

// The whole program started over a preference file in its config folder.
class PrefsAppTest : public AppFixture {
protected:
    void writePrefs(const QByteArray& bytes) const {
        QFile file(configDir() + QStringLiteral("/KelmorPref.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray prefsBytes() const {
        QFile file(configDir() + QStringLiteral("/KelmorPref.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    template <class T> T* option(const char* name) const {
        T* found = app->prefs().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no Options control named " << name;
        return found;
    }
    QAction* menuItem(const char* text) const {
        for (QAction* action : app->mainWindow().findChildren<QAction*>())
            if (action->text() == QString::fromLatin1(text))
                return action;
        ADD_FAILURE() << "no menu item " << text;
        return nullptr;
    }
    // Whether a part of the main window is shown on its tab, whichever tab is current.
    static bool shown(QWidget& part) { return part.isVisibleTo(part.parentWidget()); }
};

TEST_F(PrefsAppTest, WithoutPreferenceFileAllPartsShownAndSmallIcons) {
    start();
    EXPECT_TRUE(shown(*tab<HtmlTab>().togglablePart()));
    EXPECT_TRUE(shown(*tab<PicsTab>().togglablePart()));
    EXPECT_TRUE(shown(tab<ProjectsTab>().toolBar()));
    EXPECT_TRUE(menuItem("&Windows")->isChecked());
    EXPECT_TRUE(menuItem("&Image Windows")->isChecked());
    EXPECT_TRUE(menuItem("&ToolBar")->isChecked());
    for (const char* name : {"RadioProjectsSmall", "RadioPicsSmall", "RadioSoundsSmall",
                             "RadioHtmlSmall", "CheckHtml", "CheckPics", "CheckToolBar"})
        EXPECT_TRUE(option<QAbstractButton>(name)->isChecked()) << name;
    EXPECT_EQ(option<QLineEdit>("Edit3")->text(), QString());
    EXPECT_EQ(prefsBytes(), QByteArray("<missing>"));
}

TEST_F(PrefsAppTest, StoredFlagsHidePartsAndUntickTheirToggles) {
    writePrefs("[PREFERENCES]\nHtml=0\nProject=0x0\nLarge Icons2=1\nSmalll Icons2=0\n");
    start();
    EXPECT_FALSE(shown(*tab<HtmlTab>().togglablePart()));
    EXPECT_FALSE(menuItem("&Windows")->isChecked());
    EXPECT_FALSE(option<QCheckBox>("CheckHtml")->isChecked());
    EXPECT_FALSE(shown(tab<ProjectsTab>().toolBar()));
    EXPECT_FALSE(menuItem("&ToolBar")->isChecked());
    EXPECT_TRUE(shown(*tab<PicsTab>().togglablePart()));
    EXPECT_TRUE(menuItem("&Image Windows")->isChecked());
    EXPECT_TRUE(option<QRadioButton>("RadioPicsLarge")->isChecked());
    EXPECT_EQ(app->preferences().listStyle(PrefLists::Pics), ListStyle::Large);

    // The menu toggle changes the window only, never the stored preference.
    menuItem("&Windows")->trigger();
    EXPECT_TRUE(shown(*tab<HtmlTab>().togglablePart()));
    EXPECT_FALSE(option<QCheckBox>("CheckHtml")->isChecked());
}

TEST_F(PrefsAppTest, OptionsOkFromMenuWritesAllKeysAndCancelWritesNothing) {
    writePrefs("[PREFERENCES]\nSounds Directory=/old sounds\n");
    start();
    dialogs.onModal = [this](QDialog& dialog) {
        option<QLineEdit>("Edit2")->setText(QStringLiteral("/new sounds"));
        option<QCheckBox>("CheckPics")->click();
        option<QPushButton>("CancelButton2")->click();
        return dialog.result();
    };
    menuItem("&Options...")->trigger();
    EXPECT_EQ(dialogs.modalShown, QStringList{QStringLiteral("FormPrefs")});
    EXPECT_EQ(prefsBytes(), QByteArray("[PREFERENCES]\nSounds Directory=/old sounds\n"));
    EXPECT_EQ(app->preferences().path(PrefPath::Sounds), QStringLiteral("/new sounds"));
    EXPECT_FALSE(shown(*tab<PicsTab>().togglablePart()));
    EXPECT_FALSE(menuItem("&Image Windows")->isChecked());

    dialogs.onModal = [this](QDialog& dialog) {
        option<QPushButton>("OkButton5")->click();
        return dialog.result();
    };
    menuItem("&Options...")->trigger();
    EXPECT_EQ(prefsBytes(), QByteArray("[PREFERENCES]\nSounds Directory=/new sounds\n"
                                       "Image Directory=\nButtons Directory=\nHtml Editor=\n"
                                       "Gif=\nBmp=\nJpg=\nHtml2=\nText=\nBmp2=\nHtml=1\n"
                                       "Image=0\nProject=1\nLarge Icons=0\nSmalll Icons=1\n"
                                       "Large Icons2=0\nSmalll Icons2=1\nLarge Icons3=0\n"
                                       "Smalll Icons3=1\nLarge Icons4=0\nSmalll Icons4=1\n"
                                       "Png=\nWebP=\nSvg=\n"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

// Thumbnail View at start: the Pics lists when "Thumbnails2" is chosen and neither button of
// their pair is, the Gifs frame source list when "Thumbnails5" is.
struct StartView {
    const char* keys;
    bool pics;
    bool gifs;
};

class ThumbnailStartTest : public PrefsAppTest, public ::testing::WithParamInterface<StartView> {};

TEST_P(ThumbnailStartTest, ListsStartInTheStoredView) {
    writePrefs(QByteArray("[PREFERENCES]\n") + GetParam().keys);
    start();
    const auto size = [](bool thumbnails) { return thumbnails ? QSize(128, 128) : QSize(32, 32); };
    for (PictureListsPanel::Kind kind : PictureListsPanel::kKinds)
        EXPECT_EQ(tab<PicsTab>().pictureLists().list(kind).iconSize(), size(GetParam().pics));
    tab<GifsTab>().ensureBuilt();
    EXPECT_EQ(find<QListWidget>("ListView7")->iconSize(), size(GetParam().gifs));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ThumbnailStartTest,
    ::testing::Values(StartView{"Thumbnails2=1\nLarge Icons2=0\nSmalll Icons2=0\n", true, false},
                      StartView{"Thumbnails2=1\nLarge Icons2=1\nSmalll Icons2=0\nThumbnails5=1\n",
                                false, true},
                      StartView{"Thumbnails2=0\nLarge Icons2=1\nSmalll Icons2=0\nThumbnails5=0\n",
                                false, false}));

// The view commands write the Thumbnails keys at once, and Thumbnail View on the Pics tab also
// unticks both buttons of its pair; a write that fails is shown.
TEST_F(PrefsAppTest, ThumbnailViewIsWrittenAtOnceAndAFailedWriteIsShown) {
    writePrefs("[PREFERENCES]\nLarge Icons2=1\nSmalll Icons2=0\n");
    start();
    const struct {
        TabPage& tab;
        const char* command;
        const char* bytes;
    } steps[] = {
        {tab<PicsTab>(), "PicsThumbnailView", "Large Icons2=0\nSmalll Icons2=0\nThumbnails2=1\n"},
        {tab<PicsTab>(), "PicsSmallView", "Large Icons2=0\nSmalll Icons2=0\nThumbnails2=0\n"},
        {tab<GifsTab>(), "ToolButtonThumbnails",
         "Large Icons2=0\nSmalll Icons2=0\nThumbnails2=0\nThumbnails5=1\n"},
        {tab<GifsTab>(), "ToolButton59",
         "Large Icons2=0\nSmalll Icons2=0\nThumbnails2=0\nThumbnails5=0\n"},
    };
    for (const auto& step : steps) {
        step.tab.ensureBuilt();
        step.tab.findChild<QAction*>(QString::fromLatin1(step.command))->trigger();
        EXPECT_EQ(prefsBytes(), QByteArray("[PREFERENCES]\n") + step.bytes) << step.command;
    }
    EXPECT_TRUE(dialogs.errors.isEmpty());

    QFile blocker(configDir() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    services->paths.configDir = blocker.fileName();
    tab<PicsTab>().findChild<QAction*>(QStringLiteral("PicsThumbnailView"))->trigger();
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("Unable to write to ") +
                                          blocker.fileName() + QStringLiteral("/KelmorPref.ini")});
}

// OK in the Options dialog after Thumbnail View keeps it: the Pics pair is written unticked.
TEST_F(PrefsAppTest, OptionsOkKeepsThumbnailView) {
    writePrefs("[PREFERENCES]\nLarge Icons2=1\nSmalll Icons2=0\n");
    start();
    tab<PicsTab>().findChild<QAction*>(QStringLiteral("PicsThumbnailView"))->trigger();
    dialogs.onModal = [this](QDialog& dialog) {
        option<QPushButton>("OkButton5")->click();
        return dialog.result();
    };
    menuItem("&Options...")->trigger();
    EXPECT_TRUE(
        loadThumbnailView(toLocal(configDir()), PrefChoice::PicsThumbnails, PrefLists::Pics));
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

} // namespace
} // namespace kelmor::test
