#pragma once

#include <charconv>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kelmor {

// Receives a page one piece at a time; endLine closes the current line. The text holds every
// line followed by CR LF. A sink made for lines also keeps where each line ends, so that a line
// end inside a value (project cells may hold them) stays inside its line.
class PageSink {
public:
    enum class Taken { AsText, AsLines };
    explicit PageSink(Taken taken) : keepsLineEnds_(taken == Taken::AsLines) {}

    void add(std::string_view piece) { text_.append(piece); }
    // The text written so far, for escaping a value straight into the current line.
    std::string& text() { return text_; }
    void endLine() {
        if (keepsLineEnds_)
            lineEnds_.push_back(text_.size());
        text_.append("\r\n");
    }
    std::string takeText() { return std::move(text_); }
    // The lines closed so far, without their CR LF; none unless the sink was made for lines.
    std::vector<std::string> lines() const;

private:
    bool keepsLineEnds_;
    std::string text_;
    std::vector<size_t> lineEnds_;
};

inline void add(PageSink& out, std::initializer_list<std::string_view> pieces) {
    for (auto piece : pieces)
        out.add(piece);
}

inline void line(PageSink& out, std::initializer_list<std::string_view> pieces) {
    add(out, pieces);
    out.endLine();
}

// Decimal text of a small number, kept on the stack.
class Decimal {
public:
    explicit Decimal(int value) {
        end_ = std::to_chars(digits_, digits_ + sizeof digits_, value).ptr;
    }
    operator std::string_view() const { return {digits_, static_cast<size_t>(end_ - digits_)}; }

private:
    char digits_[12];
    char* end_;
};

} // namespace kelmor
