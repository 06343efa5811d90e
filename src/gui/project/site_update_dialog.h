#pragma once

#include "site/site_update.h"

#include <QDialog>
#include <span>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace kelmor {

// The pages of a site and what each would become when the project's menu is put into it, one
// line each, as the report words it. A page that would change is ticked; the others cannot be
// ticked, as there is nothing to write. "Update" is offered while a page is ticked.
class SiteUpdateDialog : public QDialog {
    Q_OBJECT
public:
    SiteUpdateDialog(const QString& site, std::span<const PlannedPage> plan,
                     QWidget* parent = nullptr);

    // The ticked pages, by their paths relative to the site, in the plan's order.
    std::vector<std::string> chosenPages() const;

private:
    void fillPages(std::span<const PlannedPage> plan);
    void enableUpdate();

    QListWidget* pages_ = nullptr;
    QPushButton* update_ = nullptr;
    std::vector<std::string> paths_;
};

} // namespace kelmor
