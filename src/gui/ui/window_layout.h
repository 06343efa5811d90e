#pragma once

#include "prefs/session_preference.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <optional>

class QWidget;

namespace kelmor {

// The main window's frame and the sizes of its named splitters, kept in the preference file
// from one run to the next. Without a stored frame, or with one on no screen that still
// exists, the window keeps the frame it was built with.
class WindowLayout {
public:
    explicit WindowLayout(const QString& configDir);

    // Before the window is first shown.
    void restoreFrame(QWidget& window) const;
    // Gives the named splitters under `root` that have not had them yet their stored sizes;
    // run once the splitters are shown.
    void restoreSplitters(QWidget& root);
    // When the window closes; the splitters of tabs never built keep their stored sizes.
    // Throws "Unable to write to PATH".
    void save(const QWidget& window);

private:
    QString configDir_;
    std::optional<WindowPlace> stored_;
    QMap<QString, QList<int>> sizes_;
    QSet<QString> restored_;
};

} // namespace kelmor
