#include "generator/page_references.h"

#include "base/messages.h"
#include "base/shown_value.h"
#include "generator/html_text.h"
#include "generator/page_target.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace kelmor {
namespace {

// "scheme:" of two letters or more (one letter is a drive), or a "//host" address.
bool isWebAddress(const std::string& name) {
    if (name.starts_with("//"))
        return true;
    const std::size_t colon = name.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    return std::all_of(
        name.begin(), name.begin() + static_cast<std::ptrdiff_t>(colon),
        [](unsigned char c) { return std::isalnum(c) != 0 || c == '+' || c == '-' || c == '.'; });
}

} // namespace

std::vector<std::string> pagePictureNames(const std::vector<PageButton>& buttons,
                                          const std::string& bgImage) {
    std::vector<std::string> names;
    auto add = [&names](const std::string& name) {
        if (!isBlank(name) && !isWebAddress(name) &&
            std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    };
    for (const PageButton& button : buttons) {
        add(button.normal);
        add(button.mouseOver);
    }
    add(bgImage);
    return names;
}

std::vector<std::string> missingPictures(const std::vector<std::string>& names,
                                         const std::string& pagePath) {
    const std::filesystem::path folder =
        std::filesystem::path(absolutePagePath(pagePath)).parent_path();
    std::vector<std::string> missing;
    for (const std::string& name : names) {
        std::error_code error;
        if (!std::filesystem::exists(folder / name, error))
            missing.push_back(name);
    }
    return missing;
}

std::string missingPicturesLine(const std::vector<std::string>& missing) {
    if (missing.empty())
        return {};
    std::string line = std::to_string(missing.size()) +
                       (missing.size() == 1 ? msg::kPictureNotFound : msg::kPicturesNotFound);
    for (std::size_t i = 0; i < missing.size(); ++i)
        line += (i == 0 ? "" : ", ") + shownValue(missing[i]);
    return line;
}

} // namespace kelmor
