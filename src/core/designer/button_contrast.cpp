#include "designer/button_contrast.h"

#include "base/messages.h"
#include "designer/button_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kelmor {
namespace {

// WCAG's sizes of large text, in points.
constexpr int kLargePoints = 18;
constexpr int kLargeBoldPoints = 14;
// Steps along a gradient at which the contrast is measured, both ends included.
constexpr int kGradientSteps = 16;

double linear(std::uint8_t channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

Colour mix(Colour a, Colour b, double t) {
    const auto at = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return {at(a.red, b.red), at(a.green, b.green), at(a.blue, b.blue)};
}

} // namespace

double relativeLuminance(Colour colour) {
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

double contrastRatio(Colour a, Colour b) {
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double requiredContrast(const ButtonStyle& style) {
    const bool large =
        style.fontSize >= kLargePoints || (style.bold && style.fontSize >= kLargeBoldPoints);
    return large ? 3.0 : 4.5;
}

double stateContrast(const ButtonStyle& style, ButtonState state) {
    return fillContrast(style.stateColour(state), style.stateFill(state));
}

double fillContrast(Colour text, const ButtonFill& fill) {
    if (fill.none)
        return contrastRatio(text, kDefaultMatte);
    if (!fill.bottom)
        return contrastRatio(text, fill.top);
    double lowest = contrastRatio(text, fill.top);
    for (int step = 1; step <= kGradientSteps; ++step)
        lowest = std::min(lowest, contrastRatio(text, mix(fill.top, *fill.bottom,
                                                          double(step) / kGradientSteps)));
    return lowest;
}

std::vector<ContrastShortfall> contrastShortfalls(const ButtonStyle& style) {
    std::vector<ContrastShortfall> low;
    const double required = requiredContrast(style);
    for (ButtonState state : kButtonStates)
        if (const double ratio = stateContrast(style, state); ratio < required)
            low.push_back({state, ratio, required});
    return low;
}

std::string ratioText(double ratio) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f:1", std::floor(ratio * 10) / 10);
    return text;
}

std::string stateName(ButtonState state) {
    switch (state) {
    case ButtonState::MouseOver:
        return "mouse-over";
    case ButtonState::Current:
        return "current";
    case ButtonState::Normal:
        break;
    }
    return "normal";
}

std::string contrastWarning(const ContrastShortfall& shortfall) {
    return msg::lowContrast(stateName(shortfall.state), ratioText(shortfall.ratio),
                            ratioText(shortfall.required));
}

} // namespace kelmor
