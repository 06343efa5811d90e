#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelmor {

// Where a preference file lives: a bare file name goes into the config folder,
// a name that holds a folder of its own is used as it stands.
std::string profilePath(const std::string& configDir, const std::string& fileName);

// Reads the integer forms a preference value may take: decimal, or hexadecimal
// after "0x"/"0X", each with an optional sign. The whole text must be the
// number; anything else, and a number outside 32 bits, gives nothing.
// Hexadecimal values up to 0xFFFFFFFF are taken as 32-bit patterns, so
// "0xFFFFFFFF" is -1.
std::optional<int> parseProfileInteger(std::string_view text);

// One key to write and its value.
struct IniEntry {
    std::string_view section;
    std::string_view key;
    std::string value;
};

// A private-profile (INI) file: sections "[NAME]" holding "key=value" lines.
//
// Every read opens the file afresh and every write rewrites it at once, so
// several windows may share one file and each sees what the others wrote.
// Section and key names match without regard to ASCII letter case, the first
// matching section and the first matching key in it count, and blanks around
// names and values are trimmed. Lines starting with ';' or '#' are comments.
// A missing or unreadable file reads as empty, so every read gives its default.
//
// A write keeps every other line of the file as it was (other keys, other
// sections, comments, blank lines, line ends): it replaces the key's line, or
// adds the key after the last key of its section, or adds the section at the
// end of the file. A file the program creates therefore lists its keys in the
// order they were first written. The config folder is created when first
// written. Each write goes through a temporary file and a rename, so a failed
// write leaves the previous file whole; it throws Error("Unable to write to
// PATH"), and keys written before it stay written.
class IniFile {
public:
    // Values are read into a buffer of this many bytes, the last one holding
    // the terminator, so at most kValueBufferSize - 1 bytes come back.
    static constexpr std::size_t kValueBufferSize = 2048;
    // A file larger than this reads as missing, and a write to it fails rather
    // than rewrite it without its other keys.
    static constexpr std::size_t kMaxFileBytes = std::size_t{16} << 20;

    IniFile(const std::string& configDir, const std::string& fileName);

    const std::string& path() const { return path_; }

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // A value that is not a number (see parseProfileInteger), or a missing key,
    // gives the default.
    int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // An integer read; any non-zero number is true.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // Whether the file holds the section, found as the reads find it.
    bool hasSection(std::string_view section) const;

    // A value holding a line break cannot be stored in a line of the file and
    // is refused with the write error, as are section names holding ']' and
    // key names holding '=' or starting with a comment mark.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    // Written as "1" or "0".
    void writeBool(std::string_view section, std::string_view key, bool value);
    // Writes several keys in one rewrite of the file, which ends as that many writeString calls
    // in a row would leave it. An entry that writeString would refuse stops there: the entries
    // before it are written, then the write error is thrown.
    void write(std::span<const IniEntry> entries);

private:
    [[noreturn]] void unableToWrite() const;

    std::string path_;
};

} // namespace kelmor
