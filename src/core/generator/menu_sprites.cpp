// The sprites of a menu's buttons: each button's states composed into one picture, a column
// per button and a row per state, and written in memory as PNG files.
#include "generator/menu_picture_paths.h"
#include "generator/menu_pictures.h"
#include "imaging/image_limits.h"
#include "imaging/picture.h"
#include "imaging/png.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>

namespace kelmor {
namespace {

constexpr int kStates = 3; // normal, over, current

std::array<const MenuStatePicture*, kStates> statesOf(const MenuButtonPictures& button) {
    return {&button.normal, &button.over, &button.current};
}

bool hasSvg(const std::vector<MenuButtonPictures>& pictures) {
    return std::ranges::any_of(pictures, [](const MenuButtonPictures& button) {
        return std::ranges::any_of(statesOf(button), [](const MenuStatePicture* state) {
            return pictureFormatOf(state->path) == PictureFormat::Svg;
        });
    });
}

bool allHave2x(const std::vector<const MenuButtonPictures*>& buttons) {
    return std::ranges::all_of(buttons, [](const MenuButtonPictures* button) {
        return std::ranges::all_of(statesOf(*button), [](const MenuStatePicture* state) {
            return !state->path2x.empty();
        });
    });
}

// The buttons of one sprite, each at the left edge of its column.
struct SpriteLayout {
    std::vector<const MenuButtonPictures*> buttons;
    std::vector<int> x;
    int width = 0;
    int rowHeight = 0;
};

SpriteLayout layoutOf(std::vector<const MenuButtonPictures*> buttons) {
    SpriteLayout layout;
    std::int64_t width = 0;
    int rowHeight = 0;
    for (const MenuButtonPictures* button : buttons) {
        layout.x.push_back(static_cast<int>(width));
        width += button->width;
        rowHeight = std::max(rowHeight, button->height);
        // Checked as the columns add up, so that the sum stays an int.
        checkImageSize(width, std::int64_t{rowHeight} * kStates);
    }
    layout.buttons = std::move(buttons);
    layout.width = static_cast<int>(width);
    layout.rowHeight = rowHeight;
    return layout;
}

// Copies `picture` into the cell at (left, top), cut to the cell where it is larger.
void placeInCell(RgbaImage& sprite, const RgbaImage& picture, int left, int top, int cellWidth,
                 int cellHeight) {
    const int width = std::min(picture.width, cellWidth);
    const int height = std::min(picture.height, cellHeight);
    for (int y = 0; y < height; ++y)
        std::memcpy(sprite.row(top + y) + std::size_t(left) * 4, picture.row(y),
                    std::size_t(width) * 4);
}

class SpriteComposer {
public:
    explicit SpriteComposer(const std::string& folder) : folder_(folder) {}

    // The sprite at `scale` (1, or 2 from the 2x pictures at twice the offsets).
    RgbaImage compose(const SpriteLayout& layout, int scale) {
        // The picture limits before any pixel of the sprite is allocated.
        checkImageSize(std::int64_t{layout.width} * scale,
                       std::int64_t{layout.rowHeight} * kStates * scale);
        const int rowHeight = layout.rowHeight * scale;
        RgbaImage sprite = RgbaImage::blank(layout.width * scale, rowHeight * kStates);
        for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
            const MenuButtonPictures& button = *layout.buttons[i];
            const auto states = statesOf(button);
            for (int row = 0; row < kStates; ++row) {
                const MenuStatePicture& state = *states[std::size_t(row)];
                placeInCell(sprite, decoded(scale == 1 ? state.path : state.path2x),
                            layout.x[i] * scale, row * rowHeight, button.width * scale, rowHeight);
            }
        }
        return sprite;
    }

private:
    // Each picture decoded once: the normal picture often stands for the other states too.
    const RgbaImage& decoded(const std::string& path) {
        auto found = pictures_.find(path);
        if (found == pictures_.end()) {
            Picture picture;
            picture.loadFromFile(resolvedIn(folder_, path), GifFrames::FirstImage);
            found = pictures_.emplace(path, picture.rgba()).first;
        }
        return found->second;
    }

    std::string folder_;
    std::map<std::string, RgbaImage> pictures_;
};

MenuSpriteFile spriteFile(SpriteComposer& composer, const SpriteLayout& layout,
                          const std::string& path) {
    MenuSpriteFile file;
    file.path = path;
    file.width = layout.width;
    file.height = layout.rowHeight * kStates;
    file.rowHeight = layout.rowHeight;
    file.bytes = encodeDrawnPng(composer.compose(layout, 1));
    if (allHave2x(layout.buttons)) {
        file.path2x = besidePicture(path, "@2x");
        file.bytes2x = encodeDrawnPng(composer.compose(layout, 2));
    }
    return file;
}

} // namespace

MenuSprites makeMenuSprites(const std::string& folder,
                            const std::vector<MenuButtonPictures>& pictures, MenuSpriteMode mode) {
    if (mode == MenuSpriteMode::Automatic)
        mode = hasSvg(pictures) ? MenuSpriteMode::None : MenuSpriteMode::Menu;
    MenuSprites sprites;
    sprites.places.resize(pictures.size());
    if (mode == MenuSpriteMode::None || pictures.empty())
        return sprites;
    SpriteComposer composer(folder);
    if (mode == MenuSpriteMode::Menu) {
        std::vector<const MenuButtonPictures*> buttons;
        for (const MenuButtonPictures& button : pictures)
            buttons.push_back(&button);
        const SpriteLayout layout = layoutOf(std::move(buttons));
        const std::string path = std::string(folderPart(pictures.front().normal.path));
        sprites.files.push_back(spriteFile(composer, layout, path + "menu-sprite.png"));
        for (std::size_t i = 0; i < pictures.size(); ++i)
            sprites.places[i] = {0, layout.x[i]};
        return sprites;
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::string path = besidePicture(pictures[i].normal.path, "-sprite", ".png");
        sprites.files.push_back(spriteFile(composer, layoutOf({&pictures[i]}), path));
        sprites.places[i] = {static_cast<int>(i), 0};
    }
    return sprites;
}

} // namespace kelmor
