#pragma once

#include "ui/services.h"
#include "base/error.h"

#include <QString>
#include <exception>
#include <utility>

namespace kelmor {

// The central error handler: runs a command and shows any failure in the
// error box. The command stops at the failing step; the program goes on.
template <class Command> void runGuarded(Dialogs& dialogs, Command&& command) {
    try {
        std::forward<Command>(command)();
    } catch (const Error& e) {
        dialogs.error(QString::fromLocal8Bit(e.what()));
    } catch (const std::bad_alloc&) {
        dialogs.error(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        dialogs.error(QString::fromLocal8Bit(e.what()));
    }
}

// Wraps a handler for connecting to a signal, so no exception crosses Qt's event loop.
template <class Command> auto guarded(Dialogs& dialogs, Command command) {
    return [&dialogs, command = std::move(command)](auto&&...) mutable {
        runGuarded(dialogs, command);
    };
}

} // namespace kelmor
