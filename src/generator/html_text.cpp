#include "generator/html_text.h"

#include "base/utf8.h"

#include <cstddef>

namespace kelmor {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

enum class Escape { Html, CssString, AltText };

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
        return escape != Escape::CssString;
    case '-':
    case '_':
        return escape != Escape::AltText;
    default:
        return escape != Escape::CssString || (byte >= 0x20 && byte != 0x7F);
    }
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
        if (escape == Escape::CssString) {
            if (byte == '"' || byte == '\\')
                out += '\\';
            else if (byte < 0x20 || byte == 0x7F) {
                appendHexEscape(out, byte);
                continue;
            }
        }
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
        case '-':
        case '_':
            out += ' ';
            break; // alternative text only
        default:
            out += static_cast<char>(byte);
        }
    }
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

void appendAltText(std::string& out, std::string_view picture, std::string_view fallback) {
    const std::string_view stem = pictureStem(picture);
    if (stem.find_first_not_of(" \t\n\f\r-_") == std::string_view::npos)
        append(out, fallback, Escape::Html);
    else
        append(out, stem, Escape::AltText);
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\n\f\r") == std::string_view::npos;
}

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace kelmor
