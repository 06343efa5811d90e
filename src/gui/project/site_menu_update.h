#pragma once

#include "ui/services.h"

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace kelmor {

// "Update Site...": puts the menu of the project file into the pages of a site folder the user
// picks (the project's folder first), each page the user keeps ticked in SiteUpdateDialog. The
// sprites and the style sheet every page refers to are written first. Gives the report of the
// chosen pages as kelmor-cli prints it (a line per page, then the count line), or nothing when
// a dialog was cancelled. The project's Errors and the site's are thrown before anything is
// written.
std::optional<QStringList> updateSiteFromProject(Dialogs& dialogs, const QString& projectFile,
                                                 const QString& separator, QWidget& parent);

} // namespace kelmor
