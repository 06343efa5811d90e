#include "base/shown_value.h"

#include "base/utf8.h"

#include <algorithm>
#include <array>

namespace kelmor {
namespace {

bool isControlByte(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

void appendEscaped(std::string& shown, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        shown += "\\x";
        shown += kHex[c >> 4];
        shown += kHex[c & 0x0F];
    }
}

} // namespace

bool hasControlCharacter(std::string_view text) {
    for (const char c : text)
        if (isControlByte(static_cast<unsigned char>(c)))
            return true;
    return false;
}

bool isBidiControl(std::string_view sequence) {
    static constexpr std::array<std::string_view, 12> kControls = {
        "\xD8\x9C",     "\xE2\x80\x8E", "\xE2\x80\x8F", "\xE2\x80\xAA",
        "\xE2\x80\xAB", "\xE2\x80\xAC", "\xE2\x80\xAD", "\xE2\x80\xAE",
        "\xE2\x81\xA6", "\xE2\x81\xA7", "\xE2\x81\xA8", "\xE2\x81\xA9"};
    for (const std::string_view control : kControls)
        if (sequence == control)
            return true;
    return false;
}

std::string shownValue(std::string_view value) {
    std::string shown;
    std::size_t characters = 0;
    while (!value.empty()) {
        if (characters == kShownValueCharacters)
            return shown + "...";
        const std::size_t length = std::max<std::size_t>(utf8SequenceLength(value), 1);
        const std::string_view piece = value.substr(0, length);
        value.remove_prefix(length);
        ++characters;
        if ((length == 1 && isControlByte(static_cast<unsigned char>(piece[0]))) ||
            isBidiControl(piece))
            appendEscaped(shown, piece);
        else
            shown += piece;
    }
    return shown;
}

} // namespace kelmor
