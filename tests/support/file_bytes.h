#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <map>
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

// Every file under `root` with its bytes, by its path relative to `root` with '/' separators.
inline std::map<std::string, std::string> filesUnder(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(root).generic_string()] = fileBytes(entry.path());
    return files;
}

} // namespace kelmor::test
