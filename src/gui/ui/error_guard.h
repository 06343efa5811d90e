#pragma once

#include "base/error.h"
#include "base/messages.h"
#include "ui/services.h"

#include <QString>
#include <new>
#include <type_traits>
#include <utility>

namespace kelmor {

// The central error handler: runs a command and shows any failure in the
// error box. The command stops at the failing step; the program goes on.
// Only kelmor::Error carries a message meant for users; any other exception
// (a library's range check, say) gets a fixed text instead of its internals.
template <class Command> void runGuarded(Dialogs& dialogs, Command&& command) {
    try {
        std::forward<Command>(command)();
    } catch (const Error& e) {
        dialogs.error(QString::fromLocal8Bit(e.what()));
    } catch (const std::bad_alloc&) {
        dialogs.error(QString::fromLatin1(msg::kOutOfMemory));
    } catch (...) {
        dialogs.error(QString::fromLatin1(msg::kUnexpectedError));
    }
}

// Calls a handler with a signal's arguments, or without them when it takes none.
template <class Handler, class... Args> void invokeHandler(Handler& handler, Args&&... args) {
    if constexpr (std::is_invocable_v<Handler&, Args...>)
        handler(std::forward<Args>(args)...);
    else
        handler();
}

// Wraps a handler for connecting to a signal, so no exception crosses Qt's
// event loop. The signal's arguments reach the handler when it takes them.
template <class Command> auto guarded(Dialogs& dialogs, Command command) {
    return [&dialogs, command = std::move(command)](auto&&... args) mutable {
        runGuarded(dialogs, [&] { invokeHandler(command, std::forward<decltype(args)>(args)...); });
    };
}

} // namespace kelmor
