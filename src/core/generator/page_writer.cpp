#include "generator/page_writer.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/product.h"
#include "generator/html_text.h"
#include "project/button_columns.h"

#include <charconv>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace kelmor {
namespace {

constexpr int kMaxButtons = 10;

// Receives the page one piece at a time; `endLine` closes the current line, `line` is the
// text of the line being written, for escaping values straight into it.
class TextSink {
public:
    explicit TextSink(size_t capacity) { text_.reserve(capacity); }
    void add(std::string_view piece) { text_.append(piece); }
    std::string& line() { return text_; }
    void endLine() { text_.append("\r\n"); }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

class LineSink {
public:
    explicit LineSink(size_t lineCount) { lines_.reserve(lineCount); }
    void add(std::string_view piece) { current_.append(piece); }
    std::string& line() { return current_; }
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

template <class Sink> void add(Sink& sink, std::initializer_list<std::string_view> pieces) {
    for (auto piece : pieces)
        sink.add(piece);
}

template <class Sink> void line(Sink& sink, std::initializer_list<std::string_view> pieces) {
    add(sink, pieces);
    sink.endLine();
}

// The script that ends every HTML5 page: the swap of every button with a mouse-over picture,
// and on the sound page the sound of every button that has one. It reads names only from the
// buttons' data-* attributes, so no value of the page ever stands in script text.
constexpr std::string_view kHtml5SwapScript[] = {
    "<script>",
    "(() => {",
    "  \"use strict\";",
    "  const preloaded = [];",
    "  for (const picture of document.querySelectorAll(\"img[data-over]\")) {",
    "    const normal = picture.getAttribute(\"src\");",
    "    const over = picture.dataset.over;",
    "    const link = picture.closest(\"a\");",
    "    const preload = new Image();",
    "    preload.src = over;",
    "    preloaded.push(preload);",
    "    for (const event of [\"mouseenter\", \"focus\"])",
    "      link.addEventListener(event, () => { picture.src = over; });",
    "    for (const event of [\"mouseleave\", \"blur\"])",
    "      link.addEventListener(event, () => { picture.src = normal; });",
    "  }",
};
// Browsers refuse to play before the visitor's first click or key press; the refusal is caught,
// so that hovering early leaves nothing on the console.
constexpr std::string_view kHtml5SoundScript[] = {
    "  for (const link of document.querySelectorAll(\"a[data-sound]\")) {",
    "    const sound = document.getElementById(link.dataset.sound);",
    "    const play = () => {",
    "      sound.currentTime = 0;",
    "      sound.play().catch(() => {});",
    "    };",
    "    link.addEventListener(\"mouseenter\", play);",
    "    link.addEventListener(\"focus\", play);",
    "  }",
};
constexpr std::string_view kHtml5ScriptEnd[] = {"})();", "</script>"};

// Stands for a Page Title of blanks only, which would leave the page without a title.
constexpr std::string_view kUntitled = "Untitled";

size_t lineCount(PageKind kind, PageFormat format, size_t buttons) {
    const bool sound = kind == PageKind::Sound;
    if (format == PageFormat::Html5)
        return 10 + std::size(kHtml5SwapScript) + std::size(kHtml5ScriptEnd) +
               (sound ? std::size(kHtml5SoundScript) + 2 * buttons : buttons);
    return sound ? 17 + 7 * buttons : 13 + 6 * buttons;
}

// An upper bound of the page's size, so that the text is built in one allocation. An escaped
// value byte takes at most seven bytes (a CSS-escaped quote, \&quot;).
size_t pageCapacity(PageKind kind, PageFormat format, const std::vector<PageButton>& buttons,
                    const PageSettings& settings) {
    const size_t grow = format == PageFormat::Html5 ? 7 : 1;
    size_t size =
        1200 + grow * (settings.title.size() + settings.bgColor.size() + settings.bgImage.size());
    for (const auto& button : buttons)
        size += 400 + settings.separator.size() +
                grow * (2 * button.normal.size() + button.mouseOver.size() + button.link.size() +
                        button.frame.size() + button.sound.size() + button.width.size() +
                        button.height.size());
    return kind == PageKind::Sound ? size + 120 * buttons.size() : size;
}

template <class Sink>
void writeLegacyPage(Sink& out, PageKind kind, const std::vector<PageButton>& buttons,
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

// The BG Color the HTML5 page writes: one CSS colour token, or nothing. Anything more could add
// declarations of its own to the style attribute (a background picture fetched from elsewhere,
// a hidden page).
std::string_view html5BgColor(const PageSettings& s) {
    const std::string_view colour = trimBlanks(s.bgColor);
    return isCssColour(colour) ? colour : std::string_view();
}

// The background as a style attribute, or nothing when neither is written.
template <class Sink> void html5Body(Sink& out, const PageSettings& s) {
    const std::string_view colour = html5BgColor(s);
    out.add("<body");
    if (!s.bgImage.empty() || !colour.empty()) {
        out.add(" style=\"");
        if (!s.bgImage.empty()) {
            out.add("background-image: url(&quot;");
            appendCssStringInHtml(out.line(), s.bgImage);
            out.add("&quot;)");
        }
        if (!s.bgImage.empty() && !colour.empty())
            out.add("; ");
        if (!colour.empty())
            add(out, {"background-color: ", colour});
        out.add("\"");
    }
    out.add(">");
    out.endLine();
}

// Writes `opening` (up to and with the attribute's opening quote), the value escaped, the quote.
template <class Sink> void attribute(Sink& out, std::string_view opening, std::string_view value) {
    out.add(opening);
    appendHtml(out.line(), value);
    out.add("\"");
}

// Button k: its sound, then the separator and the link around its picture, or around its name
// when it has no picture. A picture or sound cell of blanks only names no file: as an address
// it would name the page itself.
template <class Sink>
void html5Button(Sink& out, int k, const PageButton& b, bool withSound, const PageSettings& s) {
    const Decimal number(k);
    if (withSound) {
        add(out, {"<audio id=\"sound", number, "\" preload=\"auto\""});
        attribute(out, " src=\"", b.sound);
        line(out, {"></audio>"});
    }
    out.add(s.separator);
    attribute(out, "<a href=\"", b.link);
    if (!b.frame.empty())
        attribute(out, " target=\"", b.frame);
    if (withSound)
        add(out, {" data-sound=\"sound", number, "\""});
    out.add(">");
    if (isBlank(b.normal)) {
        add(out, {"Button ", number});
    } else {
        attribute(out, "<img src=\"", b.normal);
        if (isDigits(b.width))
            add(out, {" width=\"", b.width, "\""});
        if (isDigits(b.height))
            add(out, {" height=\"", b.height, "\""});
        out.add(" alt=\"");
        char fallback[20] = "Button ";
        const char* end = std::to_chars(fallback + 7, std::end(fallback), k).ptr;
        appendAltText(out.line(), b.normal, {fallback, static_cast<size_t>(end - fallback)});
        out.add("\"");
        if (!isBlank(b.mouseOver))
            attribute(out, " data-over=\"", b.mouseOver);
        out.add(">");
    }
    out.add("</a>");
    out.endLine();
}

template <class Sink>
void writeHtml5Page(Sink& out, PageKind kind, const std::vector<PageButton>& buttons,
                    const PageSettings& s) {
    const bool sound = kind == PageKind::Sound;
    line(out, {"<!DOCTYPE html>"});
    line(out, {"<html lang=\"en\">"});
    line(out, {"<head>"});
    line(out, {"<meta charset=\"utf-8\">"});
    line(out, {"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"});
    out.add("<title>");
    appendHtml(out.line(), isBlank(s.title) ? kUntitled : std::string_view(s.title));
    line(out, {"</title>"});
    line(out, {"</head>"});
    html5Body(out, s);
    for (size_t i = 0; i < buttons.size(); ++i)
        html5Button(out, static_cast<int>(i) + 1, buttons[i], sound && !isBlank(buttons[i].sound),
                    s);
    for (std::string_view text : kHtml5SwapScript)
        line(out, {text});
    if (sound)
        for (std::string_view text : kHtml5SoundScript)
            line(out, {text});
    for (std::string_view text : kHtml5ScriptEnd)
        line(out, {text});
    line(out, {"</body>"});
    line(out, {"</html>"});
}

template <class Sink>
void writePage(Sink& out, PageKind kind, PageFormat format, const std::vector<PageButton>& buttons,
               const PageSettings& settings) {
    if (format == PageFormat::Html5)
        writeHtml5Page(out, kind, buttons, settings);
    else
        writeLegacyPage(out, kind, buttons, settings);
}

} // namespace

void checkPageButtonCount(long long count) {
    if (count < 1 || count > kMaxButtons)
        throw Error(format(msg::kButtonCountOutOfRange, std::to_string(count)));
}

std::vector<std::string> pageLines(PageKind kind, const std::vector<PageButton>& buttons,
                                   const PageSettings& settings, PageFormat format) {
    checkPageButtonCount(static_cast<long long>(buttons.size()));
    LineSink sink(lineCount(kind, format, buttons.size()));
    writePage(sink, kind, format, buttons, settings);
    return sink.take();
}

std::string pageText(PageKind kind, const std::vector<PageButton>& buttons,
                     const PageSettings& settings, PageFormat format) {
    checkPageButtonCount(static_cast<long long>(buttons.size()));
    TextSink sink(pageCapacity(kind, format, buttons, settings));
    writePage(sink, kind, format, buttons, settings);
    return sink.take();
}

bool dropsBgColor(const PageSettings& settings, PageFormat format) {
    return format == PageFormat::Html5 && !isBlank(settings.bgColor) &&
           html5BgColor(settings).empty();
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
        buttons.push_back(
            {grid.cell(ButtonColumn::Normal, row), grid.cell(ButtonColumn::MouseOver, row),
             grid.cell(ButtonColumn::Link, row), grid.cell(ButtonColumn::Frame, row),
             grid.cell(ButtonColumn::Sound, row), grid.cell(ButtonColumn::NormalWidth, row),
             grid.cell(ButtonColumn::NormalHeight, row)});
    return buttons;
}

} // namespace kelmor
