#pragma once

#include <cstddef>
#include <string>

namespace kelmor {

// The most text the editor text box holds, in bytes.
inline constexpr std::size_t kMemoCapacity = std::size_t{64} << 20;

// Turns every lone CR and every lone LF into CR LF; CR LF pairs stay as they are.
std::string toCrLf(const std::string& text);

// Reads a text file for the editor, every lone CR or LF turned into CR LF.
// Throws Error("Cannot open file PATH") when the file cannot be read and
// Error("Text exceeds memo capacity") when the file or the converted text is
// larger than `capacity` bytes; a file too large is not read at all.
std::string readTextFile(const std::string& path, std::size_t capacity = kMemoCapacity);

} // namespace kelmor
