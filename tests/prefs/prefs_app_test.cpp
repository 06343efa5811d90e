#include "app_fixture.h"
#include "editor/html_tab.h"
#include "pictures/pics_tab.h"
#include "prefs/form_prefs.h"
#include "project/projects_tab.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
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

} // namespace
} // namespace kelmor::test
