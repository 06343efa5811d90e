#include "prefs/form_prefs.h"
#include "prefs/start_preferences.h"
#include "test_services.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <optional>
#include <sys/inotify.h>
#include <unistd.h>

namespace kelmor::test {
namespace {

// Records every reaction of the Options dialog in the order it arrives; a preference
// without a name here is recorded by its number.
class RecordingReactions : public PreferenceReactions {
public:
    explicit RecordingReactions(const PreferenceStore& store) : store_(store) {}
    QStringList calls;
    void showPart(PrefFlag flag, bool shown) override {
        calls << named({"html panel", "pics panel", "tool bar"}, static_cast<int>(flag)) +
                     (shown ? QStringLiteral(" shown") : QStringLiteral(" hidden"));
    }
    void setListStyle(PrefLists lists, ListStyle style) override {
        calls << named({"projects", "pictures", "sounds", "html lists"}, static_cast<int>(lists)) +
                     (style == ListStyle::Large ? QStringLiteral(" large")
                                                : QStringLiteral(" small"));
    }
    void foldersChanged() override {
        calls << QStringLiteral("projects folder ") + store_.path(PrefPath::Projects);
    }

private:
    static QString named(std::initializer_list<const char*> names, int key) {
        return key < static_cast<int>(names.size()) ? QString::fromLatin1(names.begin()[key])
                                                    : QStringLiteral("preference %1").arg(key);
    }
    const PreferenceStore& store_;
};

class FormPrefsTest : public ::testing::Test {
protected:
    QString iniPath() const { return config_.path() + QStringLiteral("/KelmorPref.ini"); }
    void writeIni(const QByteArray& bytes) const {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray iniBytes() const {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Loads the preference file at start, then opens the dialog over the store, as the program
    // does.
    TFormPrefs& create() {
        loadStartPreferences(services_, store, reactions);
        form_ = std::make_unique<TFormPrefs>(services_, store, reactions, nullptr);
        return *form_;
    }
    template <class T> T* control(const char* name) const {
        T* found = form_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no control named " << name;
        return found;
    }
    QLineEdit* edit(int number) const {
        return control<QLineEdit>(("Edit" + std::to_string(number)).c_str());
    }

    ScriptedDialogs dialogs;
    PreferenceStore store;
    RecordingReactions reactions{store};
    QTemporaryDir config_;
    RecordingShell shell_;
    RecordingHelpViewer help_;
    Services services_{dialogs, shell_, help_, AppPaths{config_.path(), {}, {}, {}}};
    std::unique_ptr<TFormPrefs> form_;
};

struct LoadCase {
    const char* name;
    const char* file; // nullptr: no preference file
    QStringList reactions;
    std::optional<ListStyle> projects, pics, sounds, html;
};

void PrintTo(const LoadCase& c, std::ostream* out) {
    *out << '"' << c.name << '"';
}

constexpr auto kSmall = ListStyle::Small;
constexpr auto kLarge = ListStyle::Large;

class FormPrefsLoadTest : public FormPrefsTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(FormPrefsLoadTest, ReactsInKeyOrderAndEndsWithTheStoredStyles) {
    if (GetParam().file)
        writeIni(GetParam().file);
    create();
    EXPECT_EQ(reactions.calls, GetParam().reactions);
    EXPECT_EQ(store.listStyle(PrefLists::Projects), GetParam().projects);
    EXPECT_EQ(store.listStyle(PrefLists::Pics), GetParam().pics);
    EXPECT_EQ(store.listStyle(PrefLists::Sounds), GetParam().sounds);
    EXPECT_EQ(store.listStyle(PrefLists::Html), GetParam().html);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    // The dialog shows the loaded styles and reacts to nothing when it is created.
    const std::pair<const char*, std::optional<ListStyle>> pairs[] = {
        {"Projects", GetParam().projects}, {"Sounds", GetParam().sounds}};
    for (const auto& [name, style] : pairs) {
        const std::string radio = std::string("Radio") + name;
        EXPECT_EQ(control<QRadioButton>((radio + "Large").c_str())->isChecked(), style == kLarge);
        EXPECT_EQ(control<QRadioButton>((radio + "Small").c_str())->isChecked(), style == kSmall);
    }
}

const QStringList kDefaultReactions{
    QStringLiteral("html panel shown"), QStringLiteral("pics panel shown"),
    QStringLiteral("tool bar shown"),   QStringLiteral("projects large"),
    QStringLiteral("projects small"),   QStringLiteral("pictures large"),
    QStringLiteral("pictures small"),   QStringLiteral("html lists large"),
    QStringLiteral("html lists small")};

INSTANTIATE_TEST_SUITE_P(
    Files, FormPrefsLoadTest,
    ::testing::Values(
        LoadCase{"NoFile", nullptr, kDefaultReactions, kSmall, kSmall, kSmall, kSmall},
        LoadCase{"HtmlPanelOff", "[PREFERENCES]\nHtml=0\n", kDefaultReactions.mid(1), kSmall,
                 kSmall, kSmall, kSmall},
        LoadCase{"PicsLarge",
                 "[PREFERENCES]\nLarge Icons2=1\nSmalll Icons2=0\n",
                 {QStringLiteral("html panel shown"), QStringLiteral("pics panel shown"),
                  QStringLiteral("tool bar shown"), QStringLiteral("projects large"),
                  QStringLiteral("projects small"), QStringLiteral("pictures large"),
                  QStringLiteral("html lists large"), QStringLiteral("html lists small")},
                 kSmall,
                 kLarge,
                 kSmall,
                 kSmall},
        LoadCase{"PairsBothFalseOrOnlySmall",
                 "[preferences]\nlarge icons=0\nSMALLL ICONS=0\nLarge Icons3=0\nSmalll Icons3=0\n"
                 "Large Icons4=0\n",
                 {QStringLiteral("html panel shown"), QStringLiteral("pics panel shown"),
                  QStringLiteral("tool bar shown"), QStringLiteral("pictures large"),
                  QStringLiteral("pictures small"), QStringLiteral("html lists small")},
                 std::nullopt,
                 kSmall,
                 std::nullopt,
                 kSmall},
        LoadCase{"HexWordsAndFlagsOff",
                 "; comment\n[PREFERENCES]\nHtml=0x1\nImage=0X0\nProject=off\n"
                 "Large Icons=0x0\nSmalll Icons=0\nLarge Icons2= 1 \nSmalll Icons2=0\n"
                 "Large Icons4=1\nSmalll Icons4=0\n",
                 {QStringLiteral("html panel shown"), QStringLiteral("tool bar shown"),
                  QStringLiteral("pictures large"), QStringLiteral("html lists large")},
                 std::nullopt,
                 kLarge,
                 kSmall,
                 kLarge}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(FormPrefsTest, LoadsPathsIntoTheirEdits) {
    writeIni(
        "[PREFERENCES]\nImage Directory=/img\nsounds directory = /snd \nButtons Directory=/prj\n"
        "Html Editor=/usr/bin/ed\nGif=/gif\nBmp=/bmp\nJpg=" +
        QByteArray(2100, 'j') +
        "\nHtml2=/html\nText=/text\nBmp2=/frames\nPNG=/png\nWebP=/webp\nsvg=/svg\n");
    create();
    EXPECT_EQ(store.path(PrefPath::Images), QStringLiteral("/img"));
    EXPECT_EQ(store.path(PrefPath::Sounds), QStringLiteral("/snd"));
    EXPECT_EQ(store.path(PrefPath::Projects), QStringLiteral("/prj"));
    EXPECT_EQ(store.path(PrefPath::HtmlEditor), QStringLiteral("/usr/bin/ed"));
    EXPECT_EQ(store.path(PrefPath::Gif), QStringLiteral("/gif"));
    EXPECT_EQ(store.path(PrefPath::Bmp), QStringLiteral("/bmp"));
    EXPECT_EQ(store.path(PrefPath::Jpg), QString(2047, QLatin1Char('j')));
    EXPECT_EQ(store.path(PrefPath::Html), QStringLiteral("/html"));
    EXPECT_EQ(store.path(PrefPath::Text), QStringLiteral("/text"));
    EXPECT_EQ(store.path(PrefPath::Frames), QStringLiteral("/frames"));
    EXPECT_EQ(store.path(PrefPath::Png), QStringLiteral("/png"));
    EXPECT_EQ(store.path(PrefPath::WebP), QStringLiteral("/webp"));
    EXPECT_EQ(store.path(PrefPath::Svg), QStringLiteral("/svg"));
    EXPECT_EQ(edit(7)->text(), store.path(PrefPath::Jpg));
    EXPECT_EQ(edit(11)->text(), QStringLiteral("/png"));
    EXPECT_EQ(edit(13)->text(), QStringLiteral("/svg"));
}

const QByteArray kSavedFile = "[PREFERENCES]\n"
                              "Image Directory=/img\n"
                              "Sounds Directory=\n"
                              "Buttons Directory=/projects\n"
                              "Html Editor=\n"
                              "Gif=\n"
                              "Bmp=\n"
                              "Jpg=\n"
                              "Html2=\n"
                              "Text=\n"
                              "Bmp2=/frames\n"
                              "Html=0\n"
                              "Image=1\n"
                              "Project=1\n"
                              "Large Icons=1\n"
                              "Smalll Icons=0\n"
                              "Large Icons2=0\n"
                              "Smalll Icons2=1\n"
                              "Large Icons3=0\n"
                              "Smalll Icons3=1\n"
                              "Large Icons4=0\n"
                              "Smalll Icons4=1\n"
                              "Png=/png\n"
                              "WebP=\n"
                              "Svg=\n";

class FormPrefsOkTest : public FormPrefsTest, public ::testing::WithParamInterface<int> {};

TEST_P(FormPrefsOkTest, EveryTabsOkWritesAllKeysInOrderThenSetsProjectsFolder) {
    create();
    edit(1)->setText(QStringLiteral("/img"));
    edit(3)->setText(QStringLiteral("/projects"));
    edit(10)->setText(QStringLiteral("/frames"));
    edit(11)->setText(QStringLiteral("/png"));
    control<QCheckBox>("CheckHtml")->click();
    control<QRadioButton>("RadioProjectsLarge")->click();
    reactions.calls.clear();

    form_->show();
    control<QPushButton>(("OkButton" + std::to_string(GetParam())).c_str())->click();
    EXPECT_EQ(iniBytes(), kSavedFile);
    EXPECT_EQ(reactions.calls, QStringList{QStringLiteral("projects folder /projects")});
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(form_->result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(Tabs, FormPrefsOkTest, ::testing::Range(1, 6));

QByteArray dataFile(const char* name) {
    QFile file(QStringLiteral(KELMOR_TEST_DATA "/prefs/") + QLatin1StringView(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A file kept by hand comes back from OK with only the dialog's keys changed, in one rename of a
// new file over it: the folder sees one move onto the file's name.
TEST_F(FormPrefsTest, OkRewritesTheFileOnceKeepingWhatIsNotTheDialogs) {
    writeIni(dataFile("before.ini"));
    create();
    edit(2)->setText(QStringLiteral("/new sounds"));
    edit(5)->clear();
    edit(10)->setText(QStringLiteral("/frames"));
    edit(12)->setText(QStringLiteral("/webp pictures"));
    for (const char* name : {"CheckHtml", "CheckPics", "RadioProjectsLarge", "RadioHtmlLarge"})
        control<QAbstractButton>(name)->click();

    // The moves from the new files' passing names come between the moves onto the file, so the
    // kernel cannot fold equal events into one.
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(config_.path()).constData(),
                                IN_MOVED_FROM | IN_MOVED_TO),
              0);
    control<QPushButton>("OkButton2")->click();
    int replaced = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t got; (got = read(watch, events, sizeof events)) > 0;)
        for (const char* at = events; at < events + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if ((event->mask & IN_MOVED_TO) != 0 && std::strcmp(event->name, "KelmorPref.ini") == 0)
                ++replaced;
            at += sizeof(inotify_event) + event->len;
        }
    close(watch);
    EXPECT_EQ(iniBytes(), dataFile("saved.ini"));
    EXPECT_EQ(replaced, 1);
}

TEST_F(FormPrefsTest, CancelAndCloseBoxKeepControlsButNotTheFile) {
    writeIni("[PREFERENCES]\nSounds Directory=/old\n");
    create();
    form_->show();
    edit(2)->setText(QStringLiteral("/new"));
    control<QCheckBox>("CheckToolBar")->click();
    control<QPushButton>("CancelButton4")->click();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(form_->result(), QDialog::Rejected);

    form_->show();
    form_->close();
    EXPECT_EQ(form_->result(), QDialog::Rejected);
    EXPECT_EQ(iniBytes(), QByteArray("[PREFERENCES]\nSounds Directory=/old\n"));
    EXPECT_EQ(store.path(PrefPath::Sounds), QStringLiteral("/new"));
    EXPECT_FALSE(store.flag(PrefFlag::ProjectsToolBar));
    EXPECT_EQ(reactions.calls.last(), QStringLiteral("tool bar hidden"));
}

TEST_F(FormPrefsTest, FailedWriteShowsErrorKeepsEarlierKeysAndStaysOpen) {
    create();
    edit(1)->setText(QStringLiteral("/img"));
    edit(5)->setText(QStringLiteral("two\nlines"));
    reactions.calls.clear();
    form_->show();
    control<QPushButton>("OkButton1")->click();
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("Unable to write to ") + iniPath()});
    EXPECT_EQ(iniBytes(), QByteArray("[PREFERENCES]\nImage Directory=/img\nSounds Directory=\n"
                                     "Buttons Directory=\nHtml Editor=\n"));
    EXPECT_TRUE(reactions.calls.isEmpty());
    EXPECT_TRUE(form_->isVisible());
}

TEST_F(FormPrefsTest, UnwritableConfigFolderShowsTheFileName) {
    QFile blocker(config_.path() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    services_.paths.configDir = blocker.fileName() + QStringLiteral("/kelmor");
    create();
    control<QPushButton>("OkButton5")->click();
    EXPECT_EQ(dialogs.errors,
              QStringList{QStringLiteral("Unable to write to ") + services_.paths.configDir +
                          QStringLiteral("/KelmorPref.ini")});
}

TEST_F(FormPrefsTest, BrowseButtonsFillTheirEditUnlessCancelled) {
    create();
    edit(6)->setText(QStringLiteral("/before"));
    dialogs.folderAnswers = {QStringLiteral("/chosen folder"), std::nullopt};
    control<QToolButton>("SpeedButton6")->click();
    EXPECT_EQ(edit(6)->text(), QStringLiteral("/chosen folder"));
    control<QToolButton>("SpeedButton6")->click();
    EXPECT_EQ(edit(6)->text(), QStringLiteral("/chosen folder"));
    dialogs.folderAnswers = {QStringLiteral("/svg folder")};
    control<QToolButton>("SpeedButton13")->click();
    EXPECT_EQ(edit(13)->text(), QStringLiteral("/svg folder"));

    edit(4)->setText(QStringLiteral("/usr/bin/old"));
    dialogs.fileAnswers = {QStringLiteral("/usr/bin/editor")};
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(dialogs.fileRequests, QStringList{QStringLiteral("open||/usr/bin/old")});
    EXPECT_EQ(edit(4)->text(), QStringLiteral("/usr/bin/editor"));
}

} // namespace
} // namespace kelmor::test
