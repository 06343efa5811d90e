#pragma once

#include "app/services.h"
#include "prefs/preferences.h"

#include <QDialog>

namespace kelmor {

// The Options dialog: the program's store of preferences, loaded from the
// preference file when it is created and written back by OK.
class TFormPrefs : public QDialog, public Preferences {
    Q_OBJECT
public:
    TFormPrefs(Services& services, PreferenceReactions& reactions, QWidget* parent = nullptr);

    QString imagesFolder() const override { return {}; }
    QString soundsFolder() const override { return {}; }
    QString projectsFolder() const override { return {}; }
    QString htmlEditor() const override { return {}; }
    QString gifFolder() const override { return {}; }
    QString bmpFolder() const override { return {}; }
    QString jpgFolder() const override { return {}; }
    QString htmlFolder() const override { return {}; }
    QString textFolder() const override { return {}; }
    QString framesFolder() const override { return {}; }
    bool htmlPanelShown() const override { return true; }
    bool picsPanelShown() const override { return true; }
    bool projectsToolBarShown() const override { return true; }
    std::optional<ListStyle> projectsStyle() const override { return ListStyle::Small; }
    std::optional<ListStyle> picsStyle() const override { return ListStyle::Small; }
    std::optional<ListStyle> soundsStyle() const override { return ListStyle::Small; }
    std::optional<ListStyle> htmlStyle() const override { return ListStyle::Small; }

private:
    Services& services_;
    PreferenceReactions& reactions_;
};

} // namespace kelmor
