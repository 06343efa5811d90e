#include "designer/button_style.h"

#include "base/ascii_case.h"
#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "base/shown_value.h"
#include "base/utf8.h"
#include "designer/button_contrast.h"
#include "designer/shipped_styles.h"
#include "designer/style_keys.h"
#include "prefs/ini_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

// A file name, with "-current@2x" and an extension added, stays within the 255 bytes file systems
// allow.
constexpr std::size_t kMaxNameBytes = 200;

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool droppedFromName(unsigned char c) {
    return c < 0x20 || c == 0x7F ||
           std::string_view("/\\\"'<>&?#%*:|").find(char(c)) != std::string_view::npos;
}

} // namespace

std::optional<Colour> parseColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    std::array<std::uint8_t, 3> channels{};
    for (std::size_t i = 0; i < 3; ++i) {
        const int high = hexDigit(text[1 + 2 * i]), low = hexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channels[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return Colour{channels[0], channels[1], channels[2]};
}

std::string colourText(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
    return text;
}

Colour lighter(Colour colour, double amount) {
    const auto up = [amount](std::uint8_t v) {
        return static_cast<std::uint8_t>(std::lround(v + (255 - v) * amount));
    };
    return {up(colour.red), up(colour.green), up(colour.blue)};
}

Colour darker(Colour colour, double amount) {
    const auto down = [amount](std::uint8_t v) {
        return static_cast<std::uint8_t>(std::lround(v * (1.0 - amount)));
    };
    return {down(colour.red), down(colour.green), down(colour.blue)};
}

namespace {

ButtonFill movedFill(const ButtonFill& fill, Colour (*move)(Colour, double), double amount) {
    return {move(fill.top, amount),
            fill.bottom ? std::optional(move(*fill.bottom, amount)) : std::nullopt, fill.none};
}

// The fill moved the usual way, or the other way when the text reads too poorly on it and
// better on the other.
ButtonFill derivedFill(const ButtonStyle& style, Colour text, bool lighterFirst, double amount) {
    const ButtonFill usual = movedFill(style.fill, lighterFirst ? lighter : darker, amount);
    const ButtonFill other = movedFill(style.fill, lighterFirst ? darker : lighter, amount);
    const double ratio = fillContrast(text, usual);
    if (ratio < requiredContrast(style) && fillContrast(text, other) > ratio)
        return other;
    return usual;
}

} // namespace

ButtonFill ButtonStyle::mouseOverFill() const {
    constexpr double kOverLighter = 0.2;
    return overFill ? *overFill : derivedFill(*this, mouseOverColor(), true, kOverLighter);
}

ButtonFill ButtonStyle::currentPageFill() const {
    constexpr double kCurrentDarker = 0.25;
    return currentFill ? *currentFill
                       : derivedFill(*this, currentPageColor(), false, kCurrentDarker);
}

ButtonFill ButtonStyle::stateFill(ButtonState state) const {
    switch (state) {
    case ButtonState::MouseOver:
        return mouseOverFill();
    case ButtonState::Current:
        return currentPageFill();
    case ButtonState::Normal:
        break;
    }
    return fill;
}

Colour ButtonStyle::stateColour(ButtonState state) const {
    switch (state) {
    case ButtonState::MouseOver:
        return mouseOverColor();
    case ButtonState::Current:
        return currentPageColor();
    case ButtonState::Normal:
        break;
    }
    return color;
}

ButtonFill fillValue(std::string_view text) {
    if (equalsIgnoringCase(text, "none"))
        return {{}, std::nullopt, true};
    return {colourValue(text), std::nullopt};
}

Colour colourValue(std::string_view text) {
    if (auto colour = parseColour(text))
        return *colour;
    throw Error(format(msg::kNotAColour, std::string(text)));
}

int pixelValue(std::string_view text, bool allowZero) {
    const auto value = wholeNumber(text);
    if (!value || *value < (allowZero ? 0 : 1) || *value > kMaxButtonPixels)
        throw Error(format(allowZero ? msg::kPixelSizeOrZeroOutOfRange : msg::kPixelSizeOutOfRange,
                           std::string(text)));
    return *value;
}

int fontSizeValue(std::string_view text) {
    const auto value = wholeNumber(text);
    if (!value || *value < kMinFontPoints || *value > kMaxFontPoints)
        throw Error(format(msg::kFontSizeOutOfRange, std::string(text)));
    return *value;
}

ButtonShape shapeValue(std::string_view text) {
    for (auto shape : {ButtonShape::Rectangle, ButtonShape::Rounded, ButtonShape::Pill})
        if (equalsIgnoringCase(text, shapeName(shape)))
            return shape;
    throw Error(format(msg::kUnknownShape, std::string(text)));
}

std::string_view shapeName(ButtonShape shape) {
    switch (shape) {
    case ButtonShape::Rectangle:
        return "rect";
    case ButtonShape::Rounded:
        return "rounded";
    case ButtonShape::Pill:
        return "pill";
    }
    return "rect";
}

std::string stylesFolder(const std::string& configDir) {
    return (fs::path(configDir) / "styles").string();
}

void installShippedStyles(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    for (const ShippedStyle& style : shippedStyles()) {
        const fs::path file = fs::path(folder) / (std::string(style.name) + ".ini");
        if (!fs::exists(fs::symlink_status(file, error)))
            writeFileReplacing(file.string(), style.text);
    }
}

std::vector<std::string> listStyles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        if (equalsIgnoringCase(path.extension().string(), ".ini") && it->is_regular_file(error))
            names.push_back(path.stem().string());
    }
    std::ranges::sort(names, [](const std::string& a, const std::string& b) {
        return lowerAscii(a) < lowerAscii(b);
    });
    return names;
}

std::string styleFile(const std::string& folder, const std::string& nameOrFile) {
    if (nameOrFile.find('/') != std::string::npos || lowerAscii(nameOrFile).ends_with(".ini"))
        return nameOrFile;
    return (fs::path(folder) / (nameOrFile + ".ini")).string();
}

ButtonStyle loadStyle(const std::string& path) {
    const std::string absolute = fs::absolute(path).string();
    std::error_code error;
    if (!fs::exists(absolute, error))
        throw Error(format(msg::kStyleFileNotFound, path));
    const std::string damaged = format(msg::kStyleFileDamaged, path);
    try {
        readWholeFile(absolute, IniFile::kMaxFileBytes);
    } catch (const Error& failure) {
        throw Error(damaged + failure.what());
    }
    const IniFile file({}, absolute);
    if (!file.hasSection(styleKey::kSection))
        throw Error(damaged + msg::kStyleHasNoSection);
    ButtonStyle style;
    const ButtonStyle defaults;
    // A key the file lacks reads as the default's text.
    for (const StyleKey& key : styleKeys()) {
        const std::string value = file.readString(styleKey::kSection, key.key, key.text(defaults));
        try {
            key.take(style, value);
        } catch (const Error& failure) {
            throw Error(damaged + key.key + ": " + failure.what());
        }
    }
    return style;
}

void saveStyle(const std::string& path, const ButtonStyle& style) {
    const fs::path absolute = fs::absolute(path);
    std::error_code error;
    fs::create_directories(absolute.parent_path(), error);
    std::vector<IniEntry> entries;
    for (const StyleKey& key : styleKeys())
        entries.push_back({styleKey::kSection, key.key, key.text(style)});
    IniFile({}, absolute.string()).write(entries);
}

std::string fileSafeName(std::string_view text) {
    if (text.empty())
        throw Error(msg::kEmptyButtonText);
    std::string name;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8SequenceLength(text.substr(at));
        if (length == 0) {
            ++at;
            continue;
        }
        const std::string_view piece = text.substr(at, length);
        at += length;
        // Bidirectional controls would show the name in another order than it is written.
        if (isBidiControl(piece))
            continue;
        if (name.size() + piece.size() > kMaxNameBytes)
            break;
        const auto c = static_cast<unsigned char>(piece[0]);
        if (c == ' ' || c == '\t')
            name += '-';
        else if (length > 1 || !droppedFromName(c))
            name += length > 1 ? std::string(piece) : std::string(1, lowerAscii(char(c)));
    }
    // A leading dot would hide the files.
    name.erase(0, name.find_first_not_of('.'));
    if (name.empty())
        throw Error(format(msg::kButtonTextGivesNoName, std::string(text)));
    return name;
}

std::string defaultButtonLink(std::string_view text) {
    return fileSafeName(text) + ".html";
}

} // namespace kelmor
