#include "app/menu_mnemonics.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QShortcutEvent>

namespace kelmor {
namespace {

class VisibleMenuMnemonics : public QObject {
public:
    explicit VisibleMenuMnemonics(QMenuBar& bar) : QObject(&bar), bar_(bar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &bar_ || event->type() != QEvent::Shortcut)
            return false;
        const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
        for (QAction* action : bar_.actions()) {
            if (action->isVisible() && action->isEnabled() &&
                QKeySequence::mnemonic(action->text()) == key) {
                bar_.setActiveAction(action);
                return true;
            }
        }
        return false;
    }

private:
    QMenuBar& bar_;
};

} // namespace

void openVisibleMenuOnMnemonic(QMenuBar& bar) {
    bar.installEventFilter(new VisibleMenuMnemonics(bar));
}

} // namespace kelmor
