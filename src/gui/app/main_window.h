#pragma once

#include "app/tab_list.h"
#include "prefs/preference_store.h"
#include "prefs/preferences.h"
#include "ui/services.h"

#include <QMainWindow>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

class QAction;
class QMenu;
class QTabWidget;

namespace kelmor {

class TabPage;
class TAboutForm;
class TButtonDesigner;
class TFormPrefs;
class TSoundForm;
class WindowLayout;

// The main window: builds the tabs of the tab list, each tab's menu and view
// toggle from what the tab declares, and forwards the Options dialog's
// reactions to the tab the preference belongs to. It is the context the tabs
// are built in: link() finds the tab that offers a link.
class TKelButton : public QMainWindow, public PreferenceReactions, public TabContext {
    Q_OBJECT
public:
    TKelButton(Services& services, const PreferenceStore& preferences, QWidget* parent = nullptr);
    ~TKelButton() override;

    // The secondary windows every tab shares. The Options dialog, the sound window
    // and the About box are built the first time they are asked for.
    class Windows {
    public:
        virtual TFormPrefs& prefs() = 0;
        virtual TSoundForm& sound() = 0;
        virtual TAboutForm& about() = 0;
        virtual TButtonDesigner& designer() = 0;
        // The sound window if it has been built, else nullptr.
        virtual TSoundForm* builtSound() = 0;

    protected:
        ~Windows() = default;
    };
    void attachWindows(Windows& windows);
    // Connects a newly built sound window's requests to this window.
    void attachSound(TSoundForm& sound);

    // The tabs in their order on the tab control.
    const std::vector<TabPage*>& tabPages() const { return pages_; }
    void showPart(PrefFlag flag, bool shown) override;
    void setListStyle(PrefLists lists, ListStyle style) override;
    void foldersChanged() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    std::size_t tabCount() const override { return entries_.size(); }
    TabPage* tab(std::size_t index) override;

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
    void showTabPart(TabPage& page, bool shown);
    void FormShow();
    void focusFirstField();
    std::optional<ListStyle> startStyle(PrefLists lists) const;
    void PageControl1Change(int index);
    void showOptions();
    void showSounds();
    // The button designer, for a whole menu or for the one button whose "Design..." asked.
    void showButtonDesigner(bool oneButton);
    void showHelpContents();
    void showAbout();

    Windows* windows_ = nullptr;
    bool shownOnce_ = false;

    QTabWidget* tabs_ = nullptr;
    std::span<const TabEntry> entries_;
    std::vector<TabPage*> pages_;
    std::vector<bool> building_;
    std::vector<TabMenus> tabMenus_;
    std::unique_ptr<WindowLayout> layout_;
};

} // namespace kelmor
