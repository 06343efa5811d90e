#pragma once

#include "prefs/preference_values.h"
#include "ui/qt_text.h"

#include <QString>

namespace kelmor {

// The run's preference values as the widgets see them: the paths as QString, with "~" standing
// for the home folder. typedPath() gives a path as the Options dialog holds it.
class PreferenceStore : public Preferences {
public:
    QString path(PrefPath key) const { return toQt(expandHome(Preferences::path(key))); }
    QString typedPath(PrefPath key) const { return toQt(Preferences::path(key)); }
    void setPath(PrefPath key, const QString& value) { Preferences::setPath(key, toLocal(value)); }
};

} // namespace kelmor
