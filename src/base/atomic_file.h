#pragma once

#include <string>
#include <string_view>

namespace kelmor {

// Writes a whole file through a temporary file in the same folder that is then
// renamed over the target, so a failed or interrupted write never leaves a
// truncated file in place of the old one. Throws Error("Cannot create file
// PATH") when the file cannot be created or written.
void writeFileReplacing(const std::string& path, std::string_view bytes);

} // namespace kelmor
