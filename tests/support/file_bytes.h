#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelmor::test {

// A file's bytes; empty when it is missing or unreadable. Read in blocks: GCC 12 takes the
// inlined istreambuf_iterator for a null dereference.
inline std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace kelmor::test
