#include "designer/style_keys.h"

#include "base/error.h"
#include "base/messages.h"

#include <array>

namespace kelmor {
namespace {

using namespace styleKey;
using Kind = StyleValueKind;

std::string flagText(bool on) {
    return on ? "1" : "0";
}

bool flagValue(std::string_view text) {
    if (text != "0" && text != "1")
        throw Error(format(msg::kNotYesOrNo, std::string(text)));
    return text == "1";
}

// A size of 0 stands for "from the text" and is written as nothing.
std::string unsetText(int pixels) {
    return pixels ? std::to_string(pixels) : std::string();
}

int unsetValue(std::string_view text) {
    return text.empty() ? 0 : pixelValue(text, false);
}

std::string optionalText(const std::optional<Colour>& colour) {
    return colour ? colourText(*colour) : std::string();
}

std::optional<Colour> optionalValue(std::string_view text) {
    return text.empty() ? std::nullopt : std::optional(colourValue(text));
}

// A fill's first colour, or "none" for no fill.
std::string fillText(const ButtonFill& fill) {
    return fill.none ? std::string("none") : colourText(fill.top);
}

std::optional<ButtonFill> optionalFill(std::string_view text) {
    return text.empty() ? std::nullopt : std::optional(fillValue(text));
}

constexpr std::array kStyleKeys = {
    StyleKey{kFont, Kind::Text, "--font", "FAMILY", "the font family",
             [](const ButtonStyle& s) { return s.font; },
             [](ButtonStyle& s, std::string_view v) {
                 s.font = v.empty() ? ButtonStyle{}.font : std::string(v);
             }},
    StyleKey{kSize, Kind::FontSize, "--size", "POINTS", "the font size, 4 to 200 points",
             [](const ButtonStyle& s) { return std::to_string(s.fontSize); },
             [](ButtonStyle& s, std::string_view v) { s.fontSize = fontSizeValue(v); }},
    StyleKey{kBold, Kind::Flag, "--bold", "", "bold text",
             [](const ButtonStyle& s) { return flagText(s.bold); },
             [](ButtonStyle& s, std::string_view v) { s.bold = flagValue(v); }},
    StyleKey{kItalic, Kind::Flag, "--italic", "", "italic text",
             [](const ButtonStyle& s) { return flagText(s.italic); },
             [](ButtonStyle& s, std::string_view v) { s.italic = flagValue(v); }},
    StyleKey{kColor, Kind::Colour, "--color", "C", "the text colour",
             [](const ButtonStyle& s) { return colourText(s.color); },
             [](ButtonStyle& s, std::string_view v) { s.color = colourValue(v); }},
    StyleKey{kPadding, Kind::Pixels, "--padding", "N", "the room around the text",
             [](const ButtonStyle& s) { return std::to_string(s.padding); },
             [](ButtonStyle& s, std::string_view v) { s.padding = pixelValue(v, true); }},
    StyleKey{kWidth, Kind::PixelsOrUnset, "--width", "N", "every button's width",
             [](const ButtonStyle& s) { return unsetText(s.width); },
             [](ButtonStyle& s, std::string_view v) { s.width = unsetValue(v); }},
    StyleKey{kHeight, Kind::PixelsOrUnset, "--height", "N", "every button's height",
             [](const ButtonStyle& s) { return unsetText(s.height); },
             [](ButtonStyle& s, std::string_view v) { s.height = unsetValue(v); }},
    StyleKey{kShape, Kind::Shape, "--shape", "rect|rounded|pill", "the button's outline",
             [](const ButtonStyle& s) { return std::string(shapeName(s.shape)); },
             [](ButtonStyle& s, std::string_view v) { s.shape = shapeValue(v); }},
    StyleKey{kRadius, Kind::Pixels, "--radius", "N", "the rounded corners' radius",
             [](const ButtonStyle& s) { return std::to_string(s.radius); },
             [](ButtonStyle& s, std::string_view v) { s.radius = pixelValue(v, true); }},
    StyleKey{kFill, Kind::Colour, "--fill", "C[,C2]",
             "the fill (C2: a gradient downwards; none: no fill)",
             [](const ButtonStyle& s) { return fillText(s.fill); },
             [](ButtonStyle& s, std::string_view v) {
                 const ButtonFill fill = fillValue(v);
                 s.fill.top = fill.top;
                 s.fill.none = fill.none;
             }},
    StyleKey{kFill2, Kind::OptionalColour, nullptr, nullptr, nullptr,
             [](const ButtonStyle& s) { return optionalText(s.fill.bottom); },
             [](ButtonStyle& s, std::string_view v) { s.fill.bottom = optionalValue(v); }},
    StyleKey{kBorderWidth, Kind::Pixels, "--border", "N,C", "the border's width and colour",
             [](const ButtonStyle& s) { return std::to_string(s.borderWidth); },
             [](ButtonStyle& s, std::string_view v) { s.borderWidth = pixelValue(v, true); }},
    StyleKey{kBorderColor, Kind::Colour, nullptr, nullptr, nullptr,
             [](const ButtonStyle& s) { return colourText(s.borderColor); },
             [](ButtonStyle& s, std::string_view v) { s.borderColor = colourValue(v); }},
    StyleKey{kShadow, Kind::Flag, "--shadow", "", "a shadow under the button",
             [](const ButtonStyle& s) { return flagText(s.shadow); },
             [](ButtonStyle& s, std::string_view v) { s.shadow = flagValue(v); }},
    // The mouse-over fill is set by its first colour; its second one needs the first.
    StyleKey{
        kOverFill, Kind::OptionalColour, "--over-fill", "C[,C2]", "the mouse-over fill",
        [](const ButtonStyle& s) { return s.overFill ? fillText(*s.overFill) : std::string(); },
        [](ButtonStyle& s, std::string_view v) { s.overFill = optionalFill(v); }},
    StyleKey{kOverFill2, Kind::OptionalColour, nullptr, nullptr, nullptr,
             [](const ButtonStyle& s) {
                 return optionalText(s.overFill ? s.overFill->bottom : std::nullopt);
             },
             [](ButtonStyle& s, std::string_view v) {
                 const std::optional<Colour> bottom = optionalValue(v);
                 if (s.overFill)
                     s.overFill->bottom = bottom;
             }},
    StyleKey{kOverColor, Kind::OptionalColour, "--over-color", "C", "the mouse-over text colour",
             [](const ButtonStyle& s) { return optionalText(s.overColor); },
             [](ButtonStyle& s, std::string_view v) { s.overColor = optionalValue(v); }},
    StyleKey{kOverBorderColor, Kind::OptionalColour, "--over-border", "C",
             "the mouse-over border colour",
             [](const ButtonStyle& s) { return optionalText(s.overBorderColor); },
             [](ButtonStyle& s, std::string_view v) { s.overBorderColor = optionalValue(v); }},
    // The current page's fill, as the mouse-over one.
    StyleKey{kCurrentFill, Kind::OptionalColour, "--current-fill", "C[,C2]",
             "the current page's fill",
             [](const ButtonStyle& s) {
                 return s.currentFill ? fillText(*s.currentFill) : std::string();
             },
             [](ButtonStyle& s, std::string_view v) { s.currentFill = optionalFill(v); }},
    StyleKey{kCurrentFill2, Kind::OptionalColour, nullptr, nullptr, nullptr,
             [](const ButtonStyle& s) {
                 return optionalText(s.currentFill ? s.currentFill->bottom : std::nullopt);
             },
             [](ButtonStyle& s, std::string_view v) {
                 const std::optional<Colour> bottom = optionalValue(v);
                 if (s.currentFill)
                     s.currentFill->bottom = bottom;
             }},
    StyleKey{kCurrentColor, Kind::OptionalColour, "--current-color", "C",
             "the current page's text colour",
             [](const ButtonStyle& s) { return optionalText(s.currentColor); },
             [](ButtonStyle& s, std::string_view v) { s.currentColor = optionalValue(v); }},
    StyleKey{kCurrentBorderColor, Kind::OptionalColour, "--current-border", "C",
             "the current page's border colour",
             [](const ButtonStyle& s) { return optionalText(s.currentBorderColor); },
             [](ButtonStyle& s, std::string_view v) { s.currentBorderColor = optionalValue(v); }},
};

} // namespace

std::span<const StyleKey> styleKeys() {
    return kStyleKeys;
}

const StyleKey* findStyleKey(std::string_view key) {
    for (const StyleKey& row : kStyleKeys)
        if (row.key == key)
            return &row;
    return nullptr;
}

bool takeStyleOption(ButtonStyle& style, std::string_view option, std::string_view value) {
    const std::span<const StyleKey> keys = styleKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const StyleKey& key = keys[i];
        if (!key.option || key.option != option)
            continue;
        if (key.kind == Kind::Flag) {
            key.take(style, "1");
            return true;
        }
        const bool pair = i + 1 < keys.size() && !keys[i + 1].option;
        const std::size_t comma = pair ? value.find(',') : std::string_view::npos;
        // Only the border's width and colour need both parts.
        if (pair && comma == std::string_view::npos && keys[i + 1].kind != Kind::OptionalColour)
            throw Error(format(msg::kNotABorder, std::string(value)));
        key.take(style, value.substr(0, comma));
        if (pair)
            keys[i + 1].take(style, comma == std::string_view::npos ? std::string_view()
                                                                    : value.substr(comma + 1));
        return true;
    }
    return false;
}

} // namespace kelmor
