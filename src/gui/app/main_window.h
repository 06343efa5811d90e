#pragma once

#include "prefs/preference_store.h"
#include "prefs/preferences.h"
#include "ui/services.h"

#include <QMainWindow>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QTabWidget;

namespace kelmor {

class GifsTab;
class HtmlTab;
class PicsTab;
class ProjectsTab;
class TabPage;
class TAboutForm;
class TAnimForm;
class TFormPrefs;
class TSoundForm;

// The main window: composes the tabs, builds each tab's menu and view toggle
// from what the tab declares, and forwards the Options dialog's reactions to
// the tab they concern.
class TKelButton : public QMainWindow, public PreferenceReactions {
    Q_OBJECT
public:
    TKelButton(Services& services, const PreferenceStore& preferences, QWidget* parent = nullptr);
    ~TKelButton() override;

    // The secondary windows. The Options and Gifs Options dialogs exist from the start,
    // as they load their preference files when created; the sound window and the About
    // box are built the first time they are asked for.
    class Windows {
    public:
        virtual TFormPrefs& prefs() = 0;
        virtual TSoundForm& sound() = 0;
        virtual TAboutForm& about() = 0;
        virtual TAnimForm& anim() = 0;
        // The sound window if it has been built, else nullptr.
        virtual TSoundForm* builtSound() = 0;

    protected:
        ~Windows() = default;
    };
    void attachWindows(Windows& windows);
    // Connects a newly built sound window's requests to this window.
    void attachSound(TSoundForm& sound);

    ProjectsTab& projectsTab() { return *projectsTab_; }
    PicsTab& picsTab() { return *picsTab_; }
    HtmlTab& htmlTab() { return *htmlTab_; }
    GifsTab& gifsTab() { return *gifsTab_; }
    // The tabs in their order on the tab control.
    const std::vector<TabPage*>& tabPages() const { return pages_; }

    void showHtmlFileLists(bool shown) override;
    void showPicsImageLists(bool shown) override;
    void showProjectsToolBar(bool shown) override;
    void setProjectListStyle(ListStyle style) override;
    void setPictureListsStyle(ListStyle style) override;
    void setHtmlListsStyle(ListStyle style) override;
    void setProjectsFolder(const QString& folder) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The menus shown only with their tab: its own menu and its "&Views" menu.
    struct TabMenus {
        QMenu* menu = nullptr;
        QMenu* views = nullptr;
        QAction* viewToggle = nullptr;
    };

    void buildMenus();
    void addTabMenus(TabPage& page, TabMenus& menus, QAction* sharedMenus, QAction* closingMenus,
                     QAction*& viewsEnd);
    void showPart(TabPage& page, bool shown);
    void applyStoredStyle(PrefLists lists, TabPage& tab);
    void FormShow();
    void PageControl1Change(int index);
    void showOptions();
    void showSounds();
    void showHelpContents();
    void showAbout();

    Services& services_;
    const PreferenceStore& preferences_;
    Windows* windows_ = nullptr;
    bool shownOnce_ = false;

    QTabWidget* tabs_ = nullptr;
    HtmlTab* htmlTab_ = nullptr;
    ProjectsTab* projectsTab_ = nullptr;
    PicsTab* picsTab_ = nullptr;
    GifsTab* gifsTab_ = nullptr;
    std::vector<TabPage*> pages_;
    std::vector<TabMenus> tabMenus_;
};

} // namespace kelmor
