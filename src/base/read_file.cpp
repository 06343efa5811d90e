#include "base/read_file.h"

#include "base/messages.h"

#include <fstream>
#include <sys/stat.h>

namespace kelmor {

std::string readWholeFile(const std::string& path, std::size_t limit) {
    struct stat info {};
    std::ifstream in(path, std::ios::binary);
    if (!in || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        throw Error(format(msg::kCannotOpenFile, path));
    const bool regular = S_ISREG(info.st_mode);
    if (regular && static_cast<std::size_t>(info.st_size) > limit)
        throw FileTooLarge(format(msg::kFileTooLarge, path));

    std::string bytes;
    if (regular)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    while (bytes.size() <= limit && in) {
        const std::size_t left = limit - bytes.size();
        const std::size_t want = left < sizeof chunk ? left + 1 : sizeof chunk;
        in.read(chunk, static_cast<std::streamsize>(want));
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw Error(format(msg::kCannotOpenFile, path));
    if (bytes.size() > limit)
        throw FileTooLarge(format(msg::kFileTooLarge, path));
    return bytes;
}

} // namespace kelmor
