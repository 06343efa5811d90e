#include "designer/button_menu.h"

#include "base/ascii_case.h"
#include "base/error.h"
#include "base/messages.h"

namespace kelmor {
namespace {

// The bytes of one picture of a button, to read or to fill.
template <typename Button> auto& pictureOf(Button& button, ButtonState state, int scale) {
    const bool twice = scale == 2;
    switch (state) {
    case ButtonState::MouseOver:
        return twice ? button.mouseOver2x : button.mouseOver;
    case ButtonState::Current:
        return twice ? button.current2x : button.current;
    case ButtonState::Normal:
        break;
    }
    return twice ? button.normal2x : button.normal;
}

} // namespace

ButtonFormat buttonFormatValue(std::string_view text) {
    for (auto format : {ButtonFormat::Svg, ButtonFormat::Png, ButtonFormat::Gif})
        if (equalsIgnoringCase(text, buttonExtension(format)))
            return format;
    throw Error(kelmor::format(msg::kUnknownButtonFormat, std::string(text)));
}

std::string_view buttonExtension(ButtonFormat format) {
    switch (format) {
    case ButtonFormat::Svg:
        return "svg";
    case ButtonFormat::Gif:
        return "gif";
    case ButtonFormat::Png:
        break;
    }
    return "png";
}

Colour pageMatte(std::string_view bgColor) {
    const std::size_t first = bgColor.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return kDefaultMatte;
    const std::size_t last = bgColor.find_last_not_of(" \t");
    return parseColour(bgColor.substr(first, last + 1 - first)).value_or(kDefaultMatte);
}

bool doubleScaleByDefault(ButtonFormat format) {
    return format == ButtonFormat::Png;
}

bool doubleScaleValue(std::string_view text) {
    if (text != "1" && text != "1,2")
        throw Error(format(msg::kUnknownButtonScales, std::string(text)));
    return text == "1,2";
}

std::string MadeButton::normalFile() const {
    return file(ButtonState::Normal);
}

std::string MadeButton::mouseOverFile() const {
    return file(ButtonState::MouseOver);
}

std::string MadeButton::currentFile() const {
    return file(ButtonState::Current);
}

std::string MadeButton::file(ButtonState state, int scale) const {
    const char* suffix = state == ButtonState::MouseOver ? "-over"
                         : state == ButtonState::Current ? "-current"
                                                         : "";
    return name + suffix + (scale == 2 ? "@2x." : ".") + std::string(buttonExtension(format));
}

const std::string& MadeButton::picture(ButtonState state, int scale) const {
    return pictureOf(*this, state, scale);
}

std::string& MadeButton::picture(ButtonState state, int scale) {
    return pictureOf(*this, state, scale);
}

std::vector<ButtonPicture> MadeButton::pictures() const {
    std::vector<ButtonPicture> all;
    for (int scale = 1; scale <= (doubled ? 2 : 1); ++scale)
        for (ButtonState state : kButtonStates)
            all.push_back({file(state, scale), &picture(state, scale), state, scale});
    return all;
}

} // namespace kelmor
