#include "generator/page_sink.h"

namespace kelmor {

std::vector<std::string> PageSink::lines() const {
    std::vector<std::string> lines;
    lines.reserve(lineEnds_.size());
    size_t start = 0;
    for (size_t end : lineEnds_) {
        lines.emplace_back(text_, start, end - start);
        start = end + 2;
    }
    return lines;
}

} // namespace kelmor
