#include "generator/html5_page_writer.h"

#include "generator/html_text.h"

#include <iterator>

namespace kelmor {
namespace {

// The script that ends every HTML5 page: the swap of every button with a mouse-over picture,
// which shows while the mouse is over the button or it has the focus, either of the two, and on the
// sound page the sound of every button that has one. It reads names only from the buttons' data-*
// attributes, so no value of the page ever stands in script text.
constexpr std::string_view kSwapScript[] = {
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
    "    const active = { mouse: false, focus: false };",
    "    const follow = (cause, on) => {",
    "      active[cause] = on;",
    "      picture.src = active.mouse || active.focus ? over : normal;",
    "    };",
    "    link.addEventListener(\"mouseenter\", () => follow(\"mouse\", true));",
    "    link.addEventListener(\"mouseleave\", () => follow(\"mouse\", false));",
    "    link.addEventListener(\"focus\", () => follow(\"focus\", true));",
    "    link.addEventListener(\"blur\", () => follow(\"focus\", false));",
    "  }",
};
// Browsers refuse to play before the visitor's first click or key press; the refusal is caught,
// so that hovering early leaves nothing on the console.
constexpr std::string_view kSoundScript[] = {
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
constexpr std::string_view kScriptEnd[] = {"})();", "</script>"};

// Stands for a Page Title of blanks only, which would leave the page without a title.
constexpr std::string_view kUntitled = "Untitled";

// The BG Color the page writes: one CSS colour token, or nothing. Anything more could add
// declarations of its own to the style attribute (a background picture fetched from elsewhere,
// a hidden page).
std::string_view writtenBgColor(const PageSettings& s) {
    const std::string_view colour = trimBlanks(s.bgColor);
    return isCssColour(colour) ? colour : std::string_view();
}

} // namespace

void writeHtml5Head(PageSink& out, const PageSettings& s) {
    line(out, {"<!DOCTYPE html>"});
    line(out, {"<html lang=\"en\">"});
    line(out, {"<head>"});
    line(out, {"<meta charset=\"utf-8\">"});
    line(out, {"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"});
    out.add("<title>");
    appendHtml(out.text(), isBlank(s.title) ? kUntitled : std::string_view(s.title));
    line(out, {"</title>"});
}

void writeHtml5Body(PageSink& out, const PageSettings& s) {
    const std::string_view colour = writtenBgColor(s);
    out.add("<body");
    if (!s.bgImage.empty() || !colour.empty()) {
        out.add(" style=\"");
        if (!s.bgImage.empty()) {
            out.add("background-image: url(&quot;");
            appendCssStringInHtml(out.text(), s.bgImage);
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

bool html5DropsBgColor(const PageSettings& settings) {
    return !isBlank(settings.bgColor) && writtenBgColor(settings).empty();
}

namespace {

// Writes `opening` (up to and with the attribute's opening quote), the value escaped, the quote.
void attribute(PageSink& out, std::string_view opening, std::string_view value) {
    out.add(opening);
    appendHtml(out.text(), value);
    out.add("\"");
}

// The button's picture with its size, alternative text and mouse-over picture.
void writePicture(PageSink& out, int k, const PageButton& b) {
    attribute(out, "<img src=\"", b.normal);
    if (isDigits(b.width))
        add(out, {" width=\"", b.width, "\""});
    if (isDigits(b.height))
        add(out, {" height=\"", b.height, "\""});
    out.add(" alt=\"");
    char fallback[20] = "Button ";
    const char* end = std::to_chars(fallback + 7, std::end(fallback), k).ptr;
    appendAltText(out.text(), b.normal, {fallback, static_cast<size_t>(end - fallback)});
    out.add("\"");
    if (!isBlank(b.mouseOver))
        attribute(out, " data-over=\"", b.mouseOver);
    out.add(">");
}

// Button k: its sound, then the separator and the link around its picture, or around its name
// when it has no picture. A picture or sound cell of blanks only names no file: as an address
// it would name the page itself.
void writeButton(PageSink& out, int k, const PageButton& b, bool withSound, const PageSettings& s) {
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
    if (isBlank(b.normal))
        add(out, {"Button ", number});
    else
        writePicture(out, k, b);
    out.add("</a>");
    out.endLine();
}

} // namespace

void Html5PageWriter::write(PageSink& out, const std::vector<PageButton>& buttons,
                            const PageSettings& s) const {
    writeHtml5Head(out, s);
    line(out, {"</head>"});
    writeHtml5Body(out, s);
    for (size_t i = 0; i < buttons.size(); ++i)
        writeButton(out, static_cast<int>(i) + 1, buttons[i],
                    withSounds_ && !isBlank(buttons[i].sound), s);
    writeScript(out);
    line(out, {"</body>"});
    line(out, {"</html>"});
}

void Html5PageWriter::writeScript(PageSink& out) const {
    for (std::string_view text : kSwapScript)
        line(out, {text});
    if (withSounds_)
        for (std::string_view text : kSoundScript)
            line(out, {text});
    for (std::string_view text : kScriptEnd)
        line(out, {text});
}

bool Html5PageWriter::dropsBgColor(const PageSettings& settings) const {
    return html5DropsBgColor(settings);
}

} // namespace kelmor
