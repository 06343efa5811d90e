#include "generator/menu_snippet.h"

#include "base/ascii_case.h"
#include "generator/html_text.h"

#include <cmath>
#include <cstdio>

namespace kelmor {
namespace {

constexpr const char* kScope = ".kelmor-menu";

// A CSS length in em with at most two decimals and no trailing zeros: "0", "0.25em", "1.2em".
std::string emLength(double em) {
    if (em <= 0)
        return "0";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", em);
    std::string length = text;
    length.erase(length.find_last_not_of('0') + 1);
    if (length.back() == '.')
        length.pop_back();
    return length + "em";
}

std::string px(int pixels) {
    return pixels == 0 ? "0" : std::to_string(pixels) + "px";
}

std::string cssUrl(const std::string& url) {
    std::string out = "url(\"";
    appendCssString(out, url);
    return out + "\")";
}

// The declarations that show a picture: a plain url() first for a browser without
// image-set(), then the set with the 2x picture.
std::string backgroundImage(const MenuPicture& picture) {
    std::string out = "background-image:" + cssUrl(picture.url);
    if (!picture.url2x.empty())
        out += ";background-image:image-set(" + cssUrl(picture.url) + " 1x," +
               cssUrl(picture.url2x) + " 2x)";
    return out;
}

// A colour's relative luminance, from "#RGB" or "#RRGGBB"; a negative value for any other text.
double luminance(std::string_view text) {
    text = trimBlanks(text);
    if (text.size() != 4 && text.size() != 7)
        return -1;
    if (text[0] != '#' || text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
        return -1;
    const bool shortForm = text.size() == 4;
    double sum = 0;
    constexpr double kWeights[] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const std::string digits =
            shortForm ? std::string(2, text[1 + i]) : std::string(text.substr(1 + 2 * i, 2));
        const double channel = std::stoi(digits, nullptr, 16) / 255.0;
        const double linear =
            channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        sum += kWeights[i] * linear;
    }
    return sum;
}

// The focus ring: black or white, whichever stands out more from the page's colour (either
// gives at least 4.5:1); a black ring with a white one inside it when the colour is unknown,
// one of the two standing out from any background.
std::string focusRing(const std::string& bgColor) {
    const double page = luminance(bgColor);
    if (page < 0)
        return "outline:3px solid #000;outline-offset:2px;box-shadow:0 0 0 2px #fff";
    const bool black = (page + 0.05) / 0.05 >= 1.05 / (page + 0.05);
    return std::string("outline:3px solid ") + (black ? "#000" : "#fff") + ";outline-offset:2px";
}

std::string linkClass(std::size_t index) {
    return "kelmor-menu-" + std::to_string(index + 1);
}

// A button's picture in its sprite's cell of that row, the 2x sprite drawn at the 1x size.
std::string spriteBackground(const MenuLink& link, int row) {
    const MenuSprite& sprite = *link.sprite;
    return backgroundImage(sprite.picture) + ";background-size:" + px(sprite.width) + " " +
           px(sprite.height) + ";background-position:" + px(-link.spriteX) + " " +
           px(-row * sprite.rowHeight);
}

std::string stateBackground(const MenuLink& link, int row) {
    if (link.sprite)
        return row == 0 ? spriteBackground(link, 0)
                        : "background-position:" + px(-link.spriteX) + " " +
                              px(-row * link.sprite->rowHeight);
    const MenuPicture* pictures[] = {&link.normal, &link.over, &link.current};
    return backgroundImage(*pictures[row]);
}

// The three rules of one link: its size and normal picture, the mouse-over picture under the
// mouse and the keyboard's focus, and the current picture, which wins over both.
void appendLinkRules(std::string& out, const MenuLink& link, std::size_t index) {
    const std::string selector = std::string(kScope) + " ." + linkClass(index);
    out += selector + "{width:" + px(link.width) + ";height:" + px(link.height) + ";" +
           stateBackground(link, 0) + "}\n";
    out += selector + ":hover," + selector + ":focus-visible{" + stateBackground(link, 1) + "}\n";
    out += selector + "[aria-current=\"page\"]{" + stateBackground(link, 2) + "}\n";
}

std::string linkLine(const MenuLink& link, std::size_t index) {
    std::string out = "<li><a class=\"" + linkClass(index) + "\" href=\"";
    appendHtml(out, link.href);
    out += '"';
    if (!link.target.empty()) {
        out += " target=\"";
        appendHtml(out, link.target);
        out += '"';
    }
    if (link.isCurrent)
        out += " aria-current=\"page\"";
    out += "><span class=\"kelmor-menu-text\">";
    appendHtml(out, link.title);
    return out + "</span></a></li>";
}

} // namespace

MenuLayout separatorLayout(std::string_view separator) {
    const std::string lower = lowerAscii(separator);
    int breaks = 0;
    for (std::size_t at = lower.find("<br"); at != std::string::npos;
         at = lower.find("<br", at + 3))
        ++breaks;
    if (breaks > 0)
        return {true, emLength(1.2 * (breaks - 1))};
    int spaces = 0;
    bool inBlanks = false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        if (lower.compare(i, 6, "&nbsp;") == 0) {
            ++spaces;
            i += 5;
            inBlanks = false;
        } else if (lower[i] == ' ' || lower[i] == '\t' || lower[i] == '\n' || lower[i] == '\r') {
            spaces += inBlanks ? 0 : 1;
            inBlanks = true;
        } else {
            inBlanks = false;
        }
    }
    return {false, emLength(0.25 * spaces)};
}

std::string menuCss(const MenuSnippet& menu) {
    const std::string scope = kScope;
    std::string out = scope + " ul{display:flex;flex-wrap:wrap;" +
                      (menu.layout.stacked ? "flex-direction:column;align-items:flex-start;" : "") +
                      "gap:" + menu.layout.gap + ";list-style:none;margin:0;padding:0}\n";
    out += scope + " a{display:block;position:relative;background-repeat:no-repeat}\n";
    // Raised over its neighbours, which would cover the ring where they touch the button.
    out += scope + " a:focus-visible{" + focusRing(menu.bgColor) + ";z-index:1}\n";
    // Hidden from view, read by screen readers: the link's name.
    out += scope + " .kelmor-menu-text{position:absolute;width:1px;height:1px;margin:-1px;" +
           "padding:0;border:0;overflow:hidden;clip:rect(0 0 0 0);clip-path:inset(50%);" +
           "white-space:nowrap}\n";
    for (std::size_t i = 0; i < menu.links.size(); ++i)
        appendLinkRules(out, menu.links[i], i);
    return out;
}

std::vector<std::string> menuMarkupLines(const MenuSnippet& menu) {
    std::string nav = "<nav class=\"kelmor-menu\" aria-label=\"";
    appendHtml(nav, menu.label);
    std::vector<std::string> lines{nav + "\">", "<ul>"};
    for (std::size_t i = 0; i < menu.links.size(); ++i)
        lines.push_back(linkLine(menu.links[i], i));
    lines.push_back("</ul>");
    lines.push_back("</nav>");
    return lines;
}

std::string menuHtml(const MenuSnippet& menu, const std::optional<std::string>& cssHref) {
    const std::vector<std::string> lines = menuMarkupLines(menu);
    std::string out = lines.front() + "\n";
    if (cssHref) {
        out += "<link rel=\"stylesheet\" href=\"";
        appendHtml(out, *cssHref);
        out += "\">\n";
    } else {
        out += "<style>\n" + menuCss(menu) + "</style>\n";
    }
    for (std::size_t i = 1; i < lines.size(); ++i)
        out += lines[i] + "\n";
    return out;
}

} // namespace kelmor
