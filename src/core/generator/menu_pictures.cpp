#include "generator/menu_pictures.h"

#include "base/error.h"
#include "base/messages.h"
#include "generator/html_text.h"
#include "generator/menu_picture_paths.h"
#include "imaging/picture_size.h"
#include "imaging/picture_title.h"

#include <charconv>
#include <optional>

namespace kelmor {
namespace {

MenuStatePicture statePicture(const std::string& folder, const std::string& path) {
    MenuStatePicture state{path, besidePicture(path, "@2x")};
    if (!isRegularFile(resolvedIn(folder, state.path2x)))
        state.path2x.clear();
    return state;
}

// A side typed in the Button list, when it is decimal digits that fit an int.
std::optional<int> typedSide(std::string_view text) {
    int side = 0;
    if (!isDigits(text) ||
        std::from_chars(text.data(), text.data() + text.size(), side).ec != std::errc())
        return std::nullopt;
    return side;
}

// The size, from the row when both sides are typed, else from the picture's header; and the
// picture's title. A reader's error names the picture.
void measureAndTitle(MenuButtonPictures& pictures, const std::string& file,
                     const PageButton& button, int number) {
    try {
        const std::optional<int> width = typedSide(button.width);
        const std::optional<int> height = typedSide(button.height);
        if (width && height) {
            pictures.width = *width;
            pictures.height = *height;
        } else {
            const PictureSize size = readPictureFileSize(file).size;
            pictures.width = static_cast<int>(size.width);
            pictures.height = static_cast<int>(size.height);
        }
        pictures.title = readPictureTitle(file).value_or(
            altText(button.normal, "Button " + std::to_string(number)));
    } catch (const Error& error) {
        throw Error(msg::menuPictureFailed(button.normal, error.what()));
    }
}

MenuButtonPictures picturesOf(const std::string& folder, const PageButton& button, int number) {
    MenuButtonPictures pictures;
    const std::string& over = isBlank(button.mouseOver) ? button.normal : button.mouseOver;
    const std::string current = besidePicture(button.normal, "-current");
    pictures.normal = statePicture(folder, button.normal);
    pictures.over = statePicture(folder, over);
    pictures.current =
        statePicture(folder, isRegularFile(resolvedIn(folder, current)) ? current : over);
    measureAndTitle(pictures, resolvedIn(folder, button.normal), button, number);
    pictures.link = button.link;
    pictures.frame = button.frame;
    return pictures;
}

} // namespace

MenuSpriteMode menuSpriteModeValue(std::string_view text) {
    if (text == "menu")
        return MenuSpriteMode::Menu;
    if (text == "button")
        return MenuSpriteMode::Button;
    if (text == "none")
        return MenuSpriteMode::None;
    throw Error(format(msg::kUnknownSpriteMode, std::string(text)));
}

std::vector<MenuButtonPictures> findMenuPictures(const std::string& folder,
                                                 const std::vector<PageButton>& buttons) {
    std::vector<MenuButtonPictures> found;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (!isBlank(buttons[i].normal))
            found.push_back(picturesOf(folder, buttons[i], static_cast<int>(i) + 1));
    }
    return found;
}

} // namespace kelmor
