#pragma once

// A GIF file's comment read from its blocks without decoding an image.

#include <optional>
#include <string>
#include <string_view>

namespace kelmor {

// The text of the first comment extension, its sub-blocks joined; nothing when the file has
// none before its trailer or its blocks stop making sense first.
std::optional<std::string> readGifComment(std::string_view bytes);

} // namespace kelmor
