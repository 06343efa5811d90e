#pragma once

#include <exception>
#include <string>

namespace kelmor {

// Runs `operation`, handing a failure over as its message in `error` rather than as an
// exception: the program's modules answer so across their boundary. True when it succeeded.
template <typename Operation> bool reportedFailure(std::string& error, Operation operation) {
    try {
        operation();
        return true;
    } catch (const std::exception& failure) {
        error = failure.what();
        return false;
    }
}

} // namespace kelmor
