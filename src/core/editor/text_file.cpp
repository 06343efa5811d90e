#include "editor/text_file.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"

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
    std::string bytes;
    try {
        bytes = readWholeFile(path, capacity);
    } catch (const FileTooLarge&) {
        throw Error(msg::kTextExceedsMemo);
    }
    std::string text = toCrLf(bytes);
    if (text.size() > capacity)
        throw Error(msg::kTextExceedsMemo);
    return text;
}

} // namespace kelmor
