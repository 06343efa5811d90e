#include "generator/html_text.h"

#include <cstddef>

namespace kelmor {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

enum class Escape { Html, CssString, AltText };

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence that starts `text` (at least one byte, not
// ASCII), or 0 when the bytes there form none: overlong forms, surrogates, code points past
// U+10FFFF and cut sequences are no UTF-8.
size_t sequenceLength(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (!isContinuation(byte(i)))
            return 0;
    return length;
}

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
                byte < 0x80 ? size_t{isPlain(byte, escape)} : sequenceLength(text.substr(i));
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
