#pragma once

// Text written into the HTML5 page: values become valid UTF-8 and are escaped for the place
// they go to. Values arrive as the rest of the program holds text, bytes in the locale's
// encoding, which the window layer reads as UTF-8 on this platform; the page is UTF-8 too, so
// only byte sequences that are no UTF-8 need converting, and they become U+FFFD exactly as the
// window layer turns them into characters.

#include <string>
#include <string_view>

namespace kelmor {

// Appends `text` for an attribute value in double quotes or for element text: '&', '<', '>',
// '"' and '\'' become character references.
void appendHtml(std::string& out, std::string_view text);

// Appends `text` as the inside of a double-quoted CSS string within an attribute value: CSS
// escapes for '"', '\\' and control characters first, then appendHtml.
void appendCssStringInHtml(std::string& out, std::string_view text);

// Appends `text` as the inside of a double-quoted CSS string in a style sheet or a <style>
// element: '"' and '\\' escaped, control characters and '&', '<', '>', '\'' as hex escapes, so
// that nothing in it can end the element.
void appendCssString(std::string& out, std::string_view text);

// Appends the alternative text of a picture file: the name without folder and extension, with
// '-' and '_' read as blanks, escaped as by appendHtml. "pics/my_cool-button.gif" gives
// "my cool button"; a leading dot starts no extension (".gif" stays ".gif"). A name that reads
// as blanks only, which would leave the picture without a description, gives `fallback`.
void appendAltText(std::string& out, std::string_view picture, std::string_view fallback);

// The same words unescaped, for text that is escaped where it is written: "my cool button".
std::string altText(std::string_view picture, std::string_view fallback);

// True when `text` is one CSS colour token, with nothing around it: "#rgb", "#rrggbb", a CSS
// colour name or "transparent" (any case), or rgb(), rgba(), hsl() or hsla() holding only
// numbers, blanks, ',', '.', '%', '/' and the angle units deg, grad, rad and turn. Nothing else
// may stand in a style attribute: no ';', braces, url() or other functions.
bool isCssColour(std::string_view text);

// `text` without leading and trailing ASCII white space.
std::string_view trimBlanks(std::string_view text);

// True when `text` holds nothing but ASCII white space (or nothing at all).
bool isBlank(std::string_view text);

// True when `text` is one or more ASCII digits.
bool isDigits(std::string_view text);

} // namespace kelmor
