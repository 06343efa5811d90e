#pragma once

// What a written page refers to that is not there. Pure C++, no Qt.

#include "generator/page_writer.h"

#include <string>
#include <vector>

namespace kelmor {

// The pictures the page names, in page order without repeats: each button's normal and
// mouse-over picture, then the background picture. Blank names and web addresses (a scheme
// such as "http:", or "//host") are left out.
std::vector<std::string> pagePictureNames(const std::vector<PageButton>& buttons,
                                          const std::string& bgImage);

// Those names that name no file, looked up from the page's folder as a browser does.
std::vector<std::string> missingPictures(const std::vector<std::string>& names,
                                         const std::string& pagePath);

// "2 pictures not found: nwes.gif, over.gif" ("1 picture not found: ..."); empty for none. Each
// name is shown as messages show a value, control characters escaped.
std::string missingPicturesLine(const std::vector<std::string>& missing);

} // namespace kelmor
