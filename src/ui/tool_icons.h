#pragma once

#include <QIcon>
#include <QStyle>

namespace kelmor {

// A style's standard picture as an icon that costs nothing until it is first
// painted, and then decodes only the small picture a tool bar or tab needs;
// the style's full set of sizes is loaded only when a larger size is asked, and
// its largest picture is scaled up to a size the style has no picture for.
// Tool bars on hidden tabs and dialogs never shown thus cost nothing at start.
QIcon toolIcon(QStyle::StandardPixmap kind);

} // namespace kelmor
