#pragma once

#include <QProxyStyle>

namespace kelmor {

// The desktop's style with the tool bars' extension buttons drawn as the program's other icons
// are. The style's own are picture files, and reading the first of them makes Qt load every
// picture plugin it has while the window is being built.
class DrawnIconStyle : public QProxyStyle {
    Q_OBJECT
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

// Gives the application that style, over the style it has; does nothing when it has it.
void useDrawnIconStyle();

} // namespace kelmor
