#pragma once

#include "base/shown_value.h"

#include <stdexcept>
#include <string>

namespace kelmor {

// A failure the user sees: the message is shown as it stands by the one
// central error handler, and the command that raised it stops there.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Builds a message from a pattern holding one "%s", such as "Cannot open file %s". The argument
// is shown as shownValue shows it: control characters escaped, a long value cut.
inline std::string format(const std::string& pattern, const std::string& argument) {
    std::string text = pattern;
    if (auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, shownValue(argument));
    return text;
}

} // namespace kelmor
