#include "editor/text_file.h"

#include "base/error.h"
#include "base/messages.h"

#include <fstream>
#include <sys/stat.h>

namespace kelmor {

std::string toCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string readTextFile(const std::string& path, std::size_t capacity) {
    struct stat info {};
    std::ifstream in(path, std::ios::binary);
    if (!in || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        throw Error(format(msg::kCannotOpenFile, path));
    if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > capacity)
        throw Error(msg::kTextExceedsMemo);

    // Read at most one byte more than the capacity: a file that grew since, or
    // a device without a size, cannot make the read unbounded.
    std::string bytes;
    std::size_t reserved = S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0;
    bytes.reserve(reserved);
    char chunk[65536];
    while (bytes.size() <= capacity && in) {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw Error(format(msg::kCannotOpenFile, path));
    if (bytes.size() > capacity)
        throw Error(msg::kTextExceedsMemo);

    std::string text = toCrLf(bytes);
    if (text.size() > capacity)
        throw Error(msg::kTextExceedsMemo);
    return text;
}

} // namespace kelmor
