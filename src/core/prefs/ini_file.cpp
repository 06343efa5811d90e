#include "prefs/ini_file.h"

#include "base/ascii_case.h"
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "base/shown_value.h"
#include "base/utf8.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Line {
    std::string text; // without its line end
    std::string end;  // "\r\n", "\n", or empty for a last line without one
};

// The file as lines; a UTF-8 byte order mark is kept apart so the first line
// reads like any other and the mark is written back unchanged.
struct Document {
    std::string byteOrderMark;
    std::vector<Line> lines;
};

// Where a key is, or would go, in a document.
struct Location {
    std::optional<std::size_t> section; // line of the section's header
    std::optional<std::size_t> key;     // line of the key
    std::size_t lastKey = 0;            // last key line of the section, or its header
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

bool isComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return trim(line.substr(0, line.find(']')));
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> keyValue(std::string_view line) {
    line = trim(line);
    if (line.empty() || isComment(line) || line.front() == '[')
        return std::nullopt;
    std::size_t equals = line.find('=');
    if (equals == line.npos)
        return std::nullopt;
    std::string_view key = trim(line.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return KeyValue{key, trim(line.substr(equals + 1))};
}

Document parse(std::string_view bytes) {
    Document document;
    if (bytes.starts_with(kByteOrderMark)) {
        document.byteOrderMark = kByteOrderMark;
        bytes.remove_prefix(kByteOrderMark.size());
    }
    while (!bytes.empty()) {
        std::size_t newline = bytes.find('\n');
        std::string_view text = bytes.substr(0, newline);
        std::string_view end;
        if (newline == bytes.npos) {
            bytes = {};
        } else {
            end = "\n";
            if (text.ends_with('\r')) {
                text.remove_suffix(1);
                end = "\r\n";
            }
            bytes.remove_prefix(newline + 1);
        }
        document.lines.push_back(Line{std::string(text), std::string(end)});
    }
    return document;
}

std::string serialise(const Document& document) {
    std::string bytes = document.byteOrderMark;
    for (const Line& line : document.lines)
        bytes += line.text + line.end;
    return bytes;
}

Location locate(const Document& document, std::string_view section, std::string_view key) {
    Location where;
    for (std::size_t i = 0; i < document.lines.size(); ++i) {
        const std::string& text = document.lines[i].text;
        if (auto name = sectionName(text)) {
            if (where.section)
                break;
            if (equalsIgnoringCase(*name, section)) {
                where.section = i;
                where.lastKey = i;
            }
        } else if (where.section) {
            if (auto entry = keyValue(text)) {
                where.lastKey = i;
                if (!where.key && equalsIgnoringCase(entry->key, key))
                    where.key = i;
            }
        }
    }
    return where;
}

// The whole file, or nothing when it is missing, not a plain file, unreadable or too large.
std::optional<std::string> readFile(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    try {
        return readWholeFile(path, IniFile::kMaxFileBytes);
    } catch (const Error&) {
        return std::nullopt;
    }
}

// Cuts a value to what fits the read buffer. In UTF-8 text the cut moves back
// to a character boundary, so no broken character comes back.
std::string fitReadBuffer(std::string_view value) {
    constexpr std::size_t limit = IniFile::kValueBufferSize - 1;
    if (value.size() <= limit)
        return std::string(value);
    std::size_t cut = limit;
    if (isValidUtf8(value))
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
            --cut;
    return std::string(value.substr(0, cut));
}

std::optional<std::uint64_t> parseDigits(std::string_view digits, unsigned base,
                                         std::uint64_t maximum) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && lowerAscii(c) >= 'a' && lowerAscii(c) <= 'f')
            digit = static_cast<unsigned>(lowerAscii(c) - 'a' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > maximum)
            return std::nullopt;
    }
    return value;
}

// The value of a key as it comes back through the read buffer; nothing when
// the file or the key is missing.
std::optional<std::string> lookUp(const std::string& path, std::string_view section,
                                  std::string_view key) {
    std::optional<std::string> bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    Document document = parse(*bytes);
    Location where = locate(document, trim(section), trim(key));
    if (!where.key)
        return std::nullopt;
    return fitReadBuffer(keyValue(document.lines[*where.key].text)->value);
}

// Whether writeString can store the entry in a line of its own.
bool storable(const IniEntry& entry) {
    const std::string_view section = trim(entry.section);
    const std::string_view key = trim(entry.key);
    return !hasLineBreak(section) && section.find(']') == section.npos && !key.empty() &&
           !hasLineBreak(key) && key.find('=') == key.npos && !isComment(key) &&
           key.front() != '[' && !hasLineBreak(entry.value);
}

// Gives a line without one (the file's last) a line end. A text ending in '\r' then reads back
// as a "\r\n" line, which is how the next read of the file would see it.
void endLine(Line& line, const std::string& newline) {
    if (!line.end.empty())
        return;
    line.end = newline;
    if (newline == "\n" && line.text.ends_with('\r')) {
        line.text.pop_back();
        line.end = "\r\n";
    }
}

// Sets a key as writing it alone would: replaces its line, or adds it after the last key of its
// section, or adds the section at the end; new lines take the first line end of the file.
void setKey(Document& document, std::string_view section, std::string_view key,
            std::string_view value) {
    std::string newline = "\n";
    for (const Line& line : document.lines)
        if (!line.end.empty()) {
            newline = line.end;
            break;
        }
    const std::string entry = std::string(key) + '=' + std::string(value);
    const Location where = locate(document, section, key);
    if (where.key) {
        Line& line = document.lines[*where.key];
        line.text = std::string(keyValue(line.text)->key) + '=' + std::string(value);
    } else if (where.section) {
        endLine(document.lines[where.lastKey], newline);
        const auto after = static_cast<std::ptrdiff_t>(where.lastKey + 1);
        document.lines.insert(document.lines.begin() + after, Line{entry, newline});
    } else {
        if (!document.lines.empty())
            endLine(document.lines.back(), newline);
        document.lines.push_back(Line{'[' + std::string(section) + ']', newline});
        document.lines.push_back(Line{entry, newline});
    }
}

// The file as it stands before a write; empty when it is missing, nothing when it cannot be
// read (rewriting it would lose its other keys) or is not a file.
std::optional<Document> documentToRewrite(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return Document{};
    if (!fs::exists(status))
        return std::nullopt;
    std::optional<std::string> bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

// Writes the document through the safe writer, creating the config folder; false on a failure.
bool rewrite(const std::string& path, const Document& document) {
    const fs::path folder = fs::path(path).parent_path();
    std::error_code error;
    if (!folder.empty()) {
        fs::create_directories(folder, error);
        if (error)
            return false;
    }
    try {
        writeFileReplacing(path, serialise(document));
    } catch (const Error&) {
        return false;
    }
    return true;
}

} // namespace

std::string profilePath(const std::string& configDir, const std::string& fileName) {
    if (fileName.find('/') != std::string::npos)
        return fileName;
    if (configDir.empty() || configDir.ends_with('/'))
        return configDir + fileName;
    return configDir + '/' + fileName;
}

std::optional<int> parseProfileInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.size() >= 2 && text[0] == '0' && lowerAscii(text[1]) == 'x') {
        auto bits = parseDigits(text.substr(2), 16, 0xFFFFFFFFu);
        if (!bits)
            return std::nullopt;
        auto pattern = static_cast<std::uint32_t>(*bits);
        if (negative)
            pattern = 0u - pattern;
        return static_cast<int>(static_cast<std::int32_t>(pattern));
    }
    auto magnitude = parseDigits(text, 10, negative ? 2147483648u : 2147483647u);
    if (!magnitude)
        return std::nullopt;
    auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<int>(negative ? -value : value);
}

IniFile::IniFile(const std::string& configDir, const std::string& fileName)
    : path_(profilePath(configDir, fileName)) {}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return lookUp(path_, section, key).value_or(std::string(defaultValue));
}

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const {
    std::optional<std::string> value = lookUp(path_, section, key);
    if (!value)
        return defaultValue;
    return parseProfileInteger(*value).value_or(defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::hasSection(std::string_view section) const {
    const std::optional<std::string> bytes = readFile(path_);
    return bytes && locate(parse(*bytes), trim(section), {}).section.has_value();
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    const IniEntry entry{section, key, std::string(value)};
    write(std::span(&entry, 1));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::write(std::span<const IniEntry> entries) {
    if (entries.empty())
        return;
    const auto refused = std::find_if_not(entries.begin(), entries.end(), storable);
    // A control character in the name (a NUL would cut it short) is no file to write.
    if (refused == entries.begin() || hasControlCharacter(path_))
        unableToWrite();
    std::optional<Document> document = documentToRewrite(path_);
    if (!document)
        unableToWrite();
    for (auto entry = entries.begin(); entry != refused; ++entry)
        setKey(*document, trim(entry->section), trim(entry->key), entry->value);
    if (!rewrite(path_, *document) || refused != entries.end())
        unableToWrite();
}

void IniFile::unableToWrite() const {
    throw Error(format(msg::kUnableToWrite, path_));
}

} // namespace kelmor
