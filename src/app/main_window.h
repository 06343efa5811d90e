#pragma once

#include "prefs/preference_store.h"
#include "prefs/preferences.h"
#include "ui/services.h"

#include <QMainWindow>
#include <array>
#include <optional>

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

// The main window: composes the four tabs, owns the menu bar and the view
// toggles, and forwards every command to the tab or window that holds it.
class TKelButton : public QMainWindow, public PreferenceReactions {
    Q_OBJECT
public:
    TKelButton(Services& services, const PreferenceStore& preferences, QWidget* parent = nullptr);
    ~TKelButton() override;

    // The secondary windows, attached once all five exist.
    struct Windows {
        TFormPrefs& prefs;
        TSoundForm& sound;
        TAboutForm& about;
        TAnimForm& anim;
    };
    void attachWindows(const Windows& windows);

    ProjectsTab& projectsTab() { return *projectsTab_; }
    PicsTab& picsTab() { return *picsTab_; }
    HtmlTab& htmlTab() { return *htmlTab_; }
    GifsTab& gifsTab() { return *gifsTab_; }

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
    // The tabs in their order on the tab control.
    enum Tab { ProjectsPage, PicsPage, HtmlPage, GifsPage, TabCount };

    // A "&Views" menu: shown with its tab, its one item toggles the tab's togglable part.
    struct ViewMenu {
        Tab tab;
        QMenu* menu = nullptr;
        QAction* toggle = nullptr;
    };
    enum View { ToolBarView, ImageWindowsView, WindowsView, ViewCount };

    void buildMenus();
    void addViewMenu(View view, Tab tab, const char* objectName, const QString& caption);
    void showPart(View view, bool shown);
    void applyStoredStyle(PrefLists lists, TabPage& tab);
    void FormShow();
    void PageControl1Change(int index);
    void showOptions();
    void showSounds();
    void showHelpContents();
    void showAbout();

    Services& services_;
    const PreferenceStore& preferences_;
    std::optional<Windows> windows_;
    bool shownOnce_ = false;

    QTabWidget* tabs_ = nullptr;
    HtmlTab* htmlTab_ = nullptr;
    ProjectsTab* projectsTab_ = nullptr;
    PicsTab* picsTab_ = nullptr;
    GifsTab* gifsTab_ = nullptr;
    std::array<TabPage*, TabCount> pages_{};

    QMenu* fileMenu_ = nullptr;
    QMenu* imageMenu_ = nullptr;
    std::array<ViewMenu, ViewCount> views_{};
};

} // namespace kelmor
