#pragma once

#include "ui/services.h"
#include "prefs/preferences.h"

#include <QMainWindow>

class QAction;
class QMenu;
class QTabWidget;

namespace kelmor {

class GifsTab;
class HtmlTab;
class PicsTab;
class ProjectsTab;
class TAboutForm;
class TAnimForm;
class TFormPrefs;
class TSoundForm;

// The main window: composes the four tabs, owns the menu bar and the view
// toggles, and forwards every command to the tab or window that holds it.
class TKelButton : public QMainWindow, public PreferenceReactions {
    Q_OBJECT
public:
    explicit TKelButton(Services& services, QWidget* parent = nullptr);
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
    void buildMenus();
    QAction* addToggle(QMenu* menu, const QString& caption, QWidget& part);
    void FormShow();
    void PageControl1Change(int index);
    void showOptions();
    void showSounds();
    void showHelpContents();
    void showAbout();

    Services& services_;
    std::optional<Windows> windows_;
    bool shownOnce_ = false;

    QTabWidget* tabs_ = nullptr;
    HtmlTab* htmlTab_ = nullptr;
    ProjectsTab* projectsTab_ = nullptr;
    PicsTab* picsTab_ = nullptr;
    GifsTab* gifsTab_ = nullptr;

    QMenu* fileMenu_ = nullptr;
    QMenu* toolBarViewsMenu_ = nullptr;
    QMenu* imageViewsMenu_ = nullptr;
    QMenu* windowsViewsMenu_ = nullptr;
    QMenu* imageMenu_ = nullptr;
    QAction* toolBarToggle_ = nullptr;
    QAction* imageWindowsToggle_ = nullptr;
    QAction* windowsToggle_ = nullptr;
};

} // namespace kelmor
