#include "imaging/xml_text.h"

#include "base/utf8.h"

#include <charconv>
#include <cstdint>

namespace kelmor {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Appends the character of one reference (`name` is what stands between '&' and ';'); false
// when it names none.
bool appendReference(std::string& out, std::string_view name) {
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, character] : kNamed) {
        if (name == entity) {
            out += character;
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#')
        return false;
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t code = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    appendUtf8(out, code);
    return true;
}

// Where the markup that starts at `at` ('<') ends, just past it; npos when it never does.
std::size_t markupEnd(std::string_view text, std::size_t at) {
    const auto past = [&](std::string_view closing) {
        const std::size_t found = text.find(closing, at);
        return found == std::string_view::npos ? found : found + closing.size();
    };
    if (text.substr(at).starts_with("<!--"))
        return past("-->");
    if (text.substr(at).starts_with("<![CDATA["))
        return past("]]>");
    if (text.substr(at).starts_with("<?"))
        return past("?>");
    char quote = 0;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        if (quote != 0) {
            quote = text[i] == quote ? 0 : quote;
        } else if (text[i] == '"' || text[i] == '\'') {
            quote = text[i];
        } else if (text[i] == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Whether the start tag `tag` ("<svg:title a='1'>") names `name`: the whole name when `name`
// has a prefix, else the name without its prefix.
bool tagNamed(std::string_view tag, std::string_view name) {
    tag = tag.substr(1, tag.find_first_of(" \t\r\n/>") - 1);
    const std::size_t colon = tag.find(':');
    if (name.find(':') == std::string_view::npos && colon != std::string_view::npos)
        tag.remove_prefix(colon + 1);
    return tag == name;
}

// The element's content, from just past its start tag to its end tag (nested ones counted).
std::string_view elementContent(std::string_view document, std::size_t start) {
    int depth = 0;
    for (std::size_t at = document.find('<', start); at != std::string_view::npos;) {
        const std::size_t end = markupEnd(document, at);
        if (end == std::string_view::npos)
            break;
        const std::string_view tag = document.substr(at, end - at);
        if (tag.starts_with("</")) {
            if (depth-- == 0)
                return document.substr(start, at - start);
        } else if (tag[1] != '!' && tag[1] != '?' && !tag.ends_with("/>")) {
            ++depth;
        }
        at = document.find('<', end);
    }
    return document.substr(start);
}

} // namespace

std::optional<std::string> decodeXmlText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '<') {
            const std::size_t end = markupEnd(text, i);
            const std::string_view markup = text.substr(i, end - i);
            if (markup.starts_with("<![CDATA[") && markup.ends_with("]]>"))
                out.append(markup.substr(9, markup.size() - 12));
            i = end == std::string_view::npos ? text.size() : end;
        } else if (text[i] == '&') {
            const std::size_t semicolon = text.find(';', i);
            if (semicolon == std::string_view::npos ||
                !appendReference(out, text.substr(i + 1, semicolon - i - 1)))
                return std::nullopt;
            i = semicolon + 1;
        } else {
            out += text[i++];
        }
    }
    const std::size_t first = out.find_first_not_of(kBlanks);
    if (first == std::string::npos || !isValidUtf8(out))
        return std::nullopt;
    return out.substr(first, out.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::string_view> xmlElementContent(std::string_view document, std::string_view root,
                                                  std::string_view name) {
    int depth = 0;
    bool inRoot = root.empty();
    for (std::size_t at = document.find('<'); at != std::string_view::npos;) {
        const std::size_t end = markupEnd(document, at);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view tag = document.substr(at, end - at);
        at = document.find('<', end);
        if (tag[1] == '!' || tag[1] == '?')
            continue;
        if (tag.starts_with("</")) {
            if (--depth <= 0 && !root.empty())
                return std::nullopt;
            continue;
        }
        if (!inRoot && depth == 0 && !tagNamed(tag, root))
            return std::nullopt;
        if (inRoot && (root.empty() || depth == 1) && tagNamed(tag, name))
            return tag.ends_with("/>") ? std::string_view() : elementContent(document, end);
        inRoot = true;
        if (!tag.ends_with("/>"))
            ++depth;
    }
    return std::nullopt;
}

std::optional<std::string> xmlChildText(std::string_view document, std::string_view root,
                                        std::string_view name) {
    const std::optional<std::string_view> content = xmlElementContent(document, root, name);
    return content ? decodeXmlText(*content) : std::nullopt;
}

} // namespace kelmor
