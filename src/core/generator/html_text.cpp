#include "generator/html_text.h"

#include "base/ascii_case.h"
#include "base/utf8.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>

namespace kelmor {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// The CSS colour names, and "transparent", sorted for a binary search.
// clang-format off
constexpr std::string_view kColourNames[] = {
    "aliceblue", "antiquewhite", "aqua", "aquamarine", "azure", "beige", "bisque", "black",
    "blanchedalmond", "blue", "blueviolet", "brown", "burlywood", "cadetblue", "chartreuse",
    "chocolate", "coral", "cornflowerblue", "cornsilk", "crimson", "cyan", "darkblue", "darkcyan",
    "darkgoldenrod", "darkgray", "darkgreen", "darkgrey", "darkkhaki", "darkmagenta",
    "darkolivegreen", "darkorange", "darkorchid", "darkred", "darksalmon", "darkseagreen",
    "darkslateblue", "darkslategray", "darkslategrey", "darkturquoise", "darkviolet", "deeppink",
    "deepskyblue", "dimgray", "dimgrey", "dodgerblue", "firebrick", "floralwhite", "forestgreen",
    "fuchsia", "gainsboro", "ghostwhite", "gold", "goldenrod", "gray", "green", "greenyellow",
    "grey", "honeydew", "hotpink", "indianred", "indigo", "ivory", "khaki", "lavender",
    "lavenderblush", "lawngreen", "lemonchiffon", "lightblue", "lightcoral", "lightcyan",
    "lightgoldenrodyellow", "lightgray", "lightgreen", "lightgrey", "lightpink", "lightsalmon",
    "lightseagreen", "lightskyblue", "lightslategray", "lightslategrey", "lightsteelblue",
    "lightyellow", "lime", "limegreen", "linen", "magenta", "maroon", "mediumaquamarine",
    "mediumblue", "mediumorchid", "mediumpurple", "mediumseagreen", "mediumslateblue",
    "mediumspringgreen", "mediumturquoise", "mediumvioletred", "midnightblue", "mintcream",
    "mistyrose", "moccasin", "navajowhite", "navy", "oldlace", "olive", "olivedrab", "orange",
    "orangered", "orchid", "palegoldenrod", "palegreen", "paleturquoise", "palevioletred",
    "papayawhip", "peachpuff", "peru", "pink", "plum", "powderblue", "purple", "rebeccapurple",
    "red", "rosybrown", "royalblue", "saddlebrown", "salmon", "sandybrown", "seagreen", "seashell",
    "sienna", "silver", "skyblue", "slateblue", "slategray", "slategrey", "snow", "springgreen",
    "steelblue", "tan", "teal", "thistle", "tomato", "transparent", "turquoise", "violet", "wheat",
    "white", "whitesmoke", "yellow", "yellowgreen"};
// clang-format on

constexpr std::string_view kColourFunctions[] = {"rgb(", "rgba(", "hsl(", "hsla("};
constexpr std::string_view kAngleUnits[] = {"deg", "grad", "rad", "turn"};

// CssString: a CSS string inside an HTML attribute; CssText: a CSS string in a style sheet or
// <style> element, where the HTML characters take CSS escapes instead of character references.
enum class Escape { Html, CssString, CssText };

void appendHexEscape(std::string& out, unsigned char byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += '\\';
    if (byte >= 0x10)
        out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
    out += ' ';
}

// True for an ASCII byte written as it is.
bool isPlain(unsigned char byte, Escape escape) {
    switch (byte) {
    case '&':
    case '<':
    case '>':
    case '"':
    case '\'':
        return false;
    case '\\':
        return escape != Escape::CssString && escape != Escape::CssText;
    default:
        return (escape != Escape::CssString && escape != Escape::CssText) ||
               (byte >= 0x20 && byte != 0x7F);
    }
}

// Writes a CSS string's escape of an ASCII byte that is not written as it is; true when that
// is all the byte needs. In an attribute (CssString) a quote or backslash takes its backslash,
// then the character reference of the HTML escape after it.
bool appendCssEscape(std::string& out, unsigned char byte, Escape escape) {
    if (escape != Escape::CssString && escape != Escape::CssText)
        return false;
    if (byte == '"' || byte == '\\') {
        out += '\\';
        if (escape == Escape::CssString)
            return false;
        out += static_cast<char>(byte);
        return true;
    }
    if (escape == Escape::CssText || byte < 0x20 || byte == 0x7F) {
        appendHexEscape(out, byte);
        return true;
    }
    return false;
}

void append(std::string& out, std::string_view text, Escape escape) {
    size_t i = 0;
    while (i < text.size()) {
        // The longest run written unchanged, UTF-8 sequences included, goes out in one piece.
        const size_t start = i;
        while (i < text.size()) {
            const auto byte = static_cast<unsigned char>(text[i]);
            const size_t step =
                byte < 0x80 ? size_t{isPlain(byte, escape)} : utf8SequenceLength(text.substr(i));
            if (step == 0)
                break;
            i += step;
        }
        out.append(text.substr(start, i - start));
        if (i == text.size())
            break;
        const auto byte = static_cast<unsigned char>(text[i++]);
        if (byte >= 0x80) {
            out += kReplacement;
            continue;
        }
        if (appendCssEscape(out, byte, escape))
            continue;
        switch (byte) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += static_cast<char>(byte);
        }
    }
}

bool isHexDigits(std::string_view text) {
    return text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// The inside of rgb() and the like: numbers with their units, separated by blanks, ',' or '/'.
// A unit follows a number directly.
bool isColourArguments(std::string_view text) {
    bool digits = false;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            ++i;
        } else if (c == ' ' || c == ',' || c == '.' || c == '%' || c == '/') {
            ++i;
        } else {
            const bool afterNumber =
                i > 0 && ((text[i - 1] >= '0' && text[i - 1] <= '9') || text[i - 1] == '.');
            const size_t end = std::min(text.find_first_of("0123456789 ,.%/", i), text.size());
            const std::string unit = lowerAscii(text.substr(i, end - i));
            if (!afterNumber || std::ranges::find(kAngleUnits, unit) == std::end(kAngleUnits))
                return false;
            i = end;
        }
    }
    return digits;
}

std::string_view pictureStem(std::string_view picture) {
    if (const size_t slash = picture.find_last_of("/\\"); slash != std::string_view::npos)
        picture.remove_prefix(slash + 1);
    if (const size_t dot = picture.rfind('.'); dot != std::string_view::npos && dot > 0)
        picture = picture.substr(0, dot);
    return picture;
}

} // namespace

void appendHtml(std::string& out, std::string_view text) {
    append(out, text, Escape::Html);
}

void appendCssStringInHtml(std::string& out, std::string_view text) {
    append(out, text, Escape::CssString);
}

void appendCssString(std::string& out, std::string_view text) {
    append(out, text, Escape::CssText);
}

void appendAltText(std::string& out, std::string_view picture, std::string_view fallback) {
    append(out, altText(picture, fallback), Escape::Html);
}

std::string altText(std::string_view picture, std::string_view fallback) {
    std::string words(pictureStem(picture));
    if (words.find_first_not_of(" \t\n\f\r-_") == std::string::npos)
        return std::string(fallback);
    std::ranges::replace(words, '-', ' ');
    std::ranges::replace(words, '_', ' ');
    return words;
}

bool isCssColour(std::string_view text) {
    if (text.size() > 1 && text[0] == '#')
        return (text.size() == 4 || text.size() == 7) && isHexDigits(text.substr(1));
    const std::string lower = lowerAscii(text);
    if (std::ranges::binary_search(kColourNames, std::string_view(lower)))
        return true;
    for (std::string_view function : kColourFunctions)
        if (lower.starts_with(function) && lower.ends_with(')'))
            return isColourArguments(std::string_view(lower).substr(
                function.size(), lower.size() - function.size() - 1));
    return false;
}

std::string_view trimBlanks(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t\n\f\r");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\n\f\r") - start + 1);
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\n\f\r") == std::string_view::npos;
}

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace kelmor
