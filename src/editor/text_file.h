#pragma once

#include <string>

namespace kelmor {

// Turns every lone CR and every lone LF into CR LF; CR LF pairs stay as they are.
std::string toCrLf(const std::string& text);

} // namespace kelmor
