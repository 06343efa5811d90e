#include "ui/window_layout.h"

#include "ui/qt_text.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QStringList>
#include <QWidget>

namespace kelmor {
namespace {

// "NAME:a,b;NAME:a,b" -> the sizes by name; malformed parts are left out.
QMap<QString, QList<int>> parseSplitters(const QString& text) {
    QMap<QString, QList<int>> sizes;
    for (const QString& part : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype colon = part.indexOf(u':');
        if (colon <= 0)
            continue;
        QList<int> values;
        for (const QString& value : part.mid(colon + 1).split(u',')) {
            bool ok = false;
            const int size = value.toInt(&ok);
            if (!ok || size < 0)
                break;
            values << size;
        }
        if (values.size() >= 2)
            sizes.insert(part.left(colon), values);
    }
    return sizes;
}

QString splittersText(const QMap<QString, QList<int>>& sizes) {
    QStringList parts;
    for (auto it = sizes.cbegin(); it != sizes.cend(); ++it) {
        QStringList values;
        for (int size : it.value())
            values << QString::number(size);
        parts << it.key() + u':' + values.join(u',');
    }
    return parts.join(u';');
}

bool onAScreen(const QRect& frame) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame))
            return true;
    return false;
}

} // namespace

WindowLayout::WindowLayout(const QString& configDir)
    : configDir_(configDir), stored_(loadWindowPlace(toLocal(configDir))) {
    if (stored_)
        sizes_ = parseSplitters(toQt(stored_->splitters));
}

void WindowLayout::restoreFrame(QWidget& window) const {
    if (!stored_)
        return;
    const QRect frame(stored_->left, stored_->top, stored_->width, stored_->height);
    if (!onAScreen(frame))
        return;
    window.setGeometry(frame);
    if (stored_->maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void WindowLayout::restoreSplitters(QWidget& root) {
    for (QSplitter* splitter : root.findChildren<QSplitter*>()) {
        const QString name = splitter->objectName();
        if (name.isEmpty() || restored_.contains(name))
            continue;
        restored_.insert(name);
        if (const auto found = sizes_.constFind(name);
            found != sizes_.cend() && found->size() == splitter->count())
            splitter->setSizes(*found);
    }
}

void WindowLayout::save(const QWidget& window) {
    for (const QSplitter* splitter : window.findChildren<QSplitter*>())
        if (!splitter->objectName().isEmpty() && restored_.contains(splitter->objectName()))
            sizes_.insert(splitter->objectName(), splitter->sizes());
    const QRect frame = window.isMaximized() ? window.normalGeometry() : window.geometry();
    saveWindowPlace(toLocal(configDir_),
                    WindowPlace{frame.left(), frame.top(), frame.width(), frame.height(),
                                window.isMaximized(), toLocal(splittersText(sizes_))});
}

} // namespace kelmor
