#pragma once

// How readable a button's text is: the contrast of its colour against the fill it lies on, as
// WCAG 2 measures it, and the contrast that the text's size asks for.

#include "designer/button_style.h"

#include <optional>
#include <string>
#include <vector>

namespace kelmor {

enum class ButtonState;

// The relative luminance of a colour, 0 (black) to 1 (white).
double relativeLuminance(Colour colour);
// (L1 + 0.05) / (L2 + 0.05) of the lighter over the darker colour: 1 to 21.
double contrastRatio(Colour a, Colour b);

// The lowest contrast of a text colour over every colour of a fill's gradient; over no fill,
// against a white page.
double fillContrast(Colour text, const ButtonFill& fill);

// 3:1 for large text (at least 18 points, or 14 points bold), 4.5:1 for the rest.
double requiredContrast(const ButtonStyle& style);

// The lowest contrast of the state's text colour over every colour of its fill's gradient.
double stateContrast(const ButtonStyle& style, ButtonState state);

// A state whose text falls below the required contrast.
struct ContrastShortfall {
    ButtonState state;
    double ratio;
    double required;
};
std::vector<ContrastShortfall> contrastShortfalls(const ButtonStyle& style);

// A ratio as the designer and kelmor-cli show it: "4.5:1", rounded down so that a ratio shown
// as enough is enough.
std::string ratioText(double ratio);
// The state's name as the warning says it: "normal", "mouse-over", "current".
std::string stateName(ButtonState state);
// The warning of one state below the required contrast.
std::string contrastWarning(const ContrastShortfall& shortfall);

} // namespace kelmor
