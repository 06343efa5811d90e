#pragma once

class QMenuBar;

namespace kelmor {

// Several menus of the bar share one caption ("&Views"), and only the one of
// the shown tab is visible. Qt's menu bar gives each of them the same Alt
// shortcut and cycles through them on repeated presses, hidden ones included,
// so the visible menu would open only on every second or third press. This
// makes an Alt mnemonic open the first visible, enabled menu that carries it.
void openVisibleMenuOnMnemonic(QMenuBar& bar);

} // namespace kelmor
