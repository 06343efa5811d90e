#include "ui/drawn_style.h"

#include "ui/drawn_icons.h"

#include <QApplication>

namespace kelmor {

QIcon DrawnIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                   const QWidget* widget) const {
    switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
        return drawnIcon(DrawnIcon::MoreRight);
    case SP_ToolBarVerticalExtensionButton:
        return drawnIcon(DrawnIcon::MoreDown);
    default:
        return QProxyStyle::standardIcon(icon, option, widget);
    }
}

void useDrawnIconStyle() {
    if (qobject_cast<DrawnIconStyle*>(QApplication::style()) == nullptr)
        QApplication::setStyle(new DrawnIconStyle);
}

} // namespace kelmor
