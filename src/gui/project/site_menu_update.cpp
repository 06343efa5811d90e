#include "project/site_menu_update.h"

#include "generator/menu_builder.h"
#include "project/site_update_dialog.h"
#include "site/site_report.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QFileInfo>

namespace kelmor {

std::optional<QStringList> updateSiteFromProject(Dialogs& dialogs, const QString& projectFile,
                                                 const QString& separator, QWidget& parent) {
    const std::optional<QString> site = dialogs.pickFolder(QFileInfo(projectFile).absolutePath());
    if (!site)
        return std::nullopt;
    std::optional<PreparedMenu> menu;
    std::vector<PlannedPage> plan;
    {
        const WaitCursor wait;
        menu.emplace(prepareMenu(readMenuProject(toLocal(projectFile), toLocal(separator)), {}));
        plan = planMenuUpdate({toLocal(*site), menu->project.name, menuSnippetWriter(*menu)});
    }
    SiteUpdateDialog dialog(*site, plan, &parent);
    if (dialogs.runModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    const std::vector<std::string> chosen = dialog.chosenPages();
    const WaitCursor wait;
    writeMenuFiles(*menu);
    QStringList report;
    for (const std::string& line : reportLines(applyMenuPlan(plan, chosen)))
        report << toQt(line);
    return report;
}

} // namespace kelmor
