#include "generator/page_writer.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/product.h"
#include "project/button_columns.h"

#include <charconv>
#include <cstddef>
#include <initializer_list>
#include <utility>

namespace kelmor {
namespace {

constexpr int kMaxButtons = 10;

// Receives the page one piece at a time; `endLine` closes the current line.
class TextSink {
public:
    explicit TextSink(size_t capacity) { text_.reserve(capacity); }
    void add(std::string_view piece) { text_.append(piece); }
    void endLine() { text_.append("\r\n"); }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

class LineSink {
public:
    explicit LineSink(size_t lineCount) { lines_.reserve(lineCount); }
    void add(std::string_view piece) { current_.append(piece); }
    void endLine() { lines_.push_back(std::exchange(current_, {})); }
    std::vector<std::string> take() { return std::move(lines_); }

private:
    std::string current_;
    std::vector<std::string> lines_;
};

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

// The <img> name of button k (1-based): "image", then "imagea" to "imagei".
class ImageName {
public:
    explicit ImageName(int k) : length_(k == 1 ? 5 : 6) {
        text_[5] = static_cast<char>('a' + k - 2);
    }
    operator std::string_view() const { return {text_, length_}; }

private:
    char text_[6] = {'i', 'm', 'a', 'g', 'e', '\0'};
    size_t length_;
};

template <class Sink> void line(Sink& sink, std::initializer_list<std::string_view> pieces) {
    for (auto piece : pieces)
        sink.add(piece);
    sink.endLine();
}

size_t lineCount(PageKind kind, size_t buttons) {
    return kind == PageKind::Sound ? 17 + 7 * buttons : 13 + 6 * buttons;
}

// An upper bound of the page's size, so that the text is built in one allocation.
size_t pageCapacity(PageKind kind, const std::vector<PageButton>& buttons,
                    const PageSettings& settings) {
    size_t size = 600 + settings.title.size() + settings.bgColor.size() + settings.bgImage.size();
    for (const auto& button : buttons)
        size += 400 + 2 * button.normal.size() + button.mouseOver.size() + button.link.size() +
                button.frame.size() + button.sound.size() + settings.separator.size();
    return kind == PageKind::Sound ? size + 120 * buttons.size() : size;
}

template <class Sink>
void writePage(Sink& out, PageKind kind, const std::vector<PageButton>& buttons,
               const PageSettings& s) {
    const bool sound = kind == PageKind::Sound;
    line(out, {"<!-- Created using Kelmor 1.0 !-->"});
    line(out, {"<!-- Visit: ", product::kWebAddress, " !-->"});
    line(out, {"<html>"});
    line(out, {"<head>"});
    line(out, {"<script language=\"JavaScript\">"});
    if (sound) {
        line(out, {"function makesound(soundobj){"});
        line(out, {"var thissound= eval(\"document.\"+soundobj)"});
        line(out, {"    thissound.play()"});
        line(out, {"}"});
    }
    line(out, {"<!--hide from ancient browsers"});
    for (size_t i = 0; i < buttons.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        const Decimal normalVar(2 * k - 1), overVar(2 * k);
        line(out, {"var image", normalVar, " = new Image;"});
        line(out, {"image", normalVar, ".src =\"", buttons[i].normal, "\";"});
        line(out, {"var image", overVar, " = new Image;"});
        line(out, {"image", overVar, ".src =\"", buttons[i].mouseOver, "\";"});
    }
    line(out, {"//-->"});
    line(out, {"</script>"});
    line(out, {"<title>", s.title, "</title>"});
    line(out, {"</head>"});
    line(out, {"<body bgcolor=\"", s.bgColor, "\"background=\"", s.bgImage, "\">"});
    for (size_t i = 0; i < buttons.size(); ++i) {
        const PageButton& b = buttons[i];
        const int k = static_cast<int>(i) + 1;
        const Decimal normalVar(2 * k - 1), overVar(2 * k), number(k);
        const ImageName name(k);
        if (sound) {
            line(out, {"<EMBED SRC=\"", b.sound, "\" autostart=false HIDDEN=TRUE NAME=\"sound",
                       number, "\" MASTERSOUND>"});
            line(out, {s.separator, "<a href=\"", b.link, "\" target=\"", b.frame,
                       "\"onMouseOver=\"document.", name, ".src = image", overVar,
                       ".src, makesound('sound", number, "')\""});
        } else {
            line(out, {s.separator, "<a href=\"", b.link, "\" target=\"", b.frame,
                       "\"onMouseOver=\"document.", name, ".src = image", overVar, ".src\""});
        }
        line(out, {"onMouseOut=\"document.", name, ".src = image", normalVar,
                   ".src\"> <img name=\"", name, "\" src=\"", b.normal, "\" border=\"0\"></a>"});
    }
    line(out, {"</body>"});
    line(out, {"</html>"});
}

} // namespace

void checkPageButtonCount(long long count) {
    if (count < 1 || count > kMaxButtons)
        throw Error(format(msg::kButtonCountOutOfRange, std::to_string(count)));
}

std::vector<std::string> pageLines(PageKind kind, const std::vector<PageButton>& buttons,
                                   const PageSettings& settings) {
    checkPageButtonCount(static_cast<long long>(buttons.size()));
    LineSink sink(lineCount(kind, buttons.size()));
    writePage(sink, kind, buttons, settings);
    return sink.take();
}

std::string pageText(PageKind kind, const std::vector<PageButton>& buttons,
                     const PageSettings& settings) {
    checkPageButtonCount(static_cast<long long>(buttons.size()));
    TextSink sink(pageCapacity(kind, buttons, settings));
    writePage(sink, kind, buttons, settings);
    return sink.take();
}

std::optional<int> pageButtonCount(std::string_view labelText) {
    for (int n = 1; n <= kMaxButtons; ++n) {
        if (labelText == Decimal(n))
            return n;
    }
    return std::nullopt;
}

std::vector<PageButton> pageButtons(const StringGrid& grid, int count) {
    std::vector<PageButton> buttons;
    for (int row = 1; row <= count; ++row)
        buttons.push_back({grid.cell(ButtonColumn::Normal, row),
                           grid.cell(ButtonColumn::MouseOver, row),
                           grid.cell(ButtonColumn::Link, row), grid.cell(ButtonColumn::Frame, row),
                           grid.cell(ButtonColumn::Sound, row)});
    return buttons;
}

} // namespace kelmor
