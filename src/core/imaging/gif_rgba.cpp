#include "imaging/gif_rgba.h"

#include "imaging/gif_palette.h"
#include "imaging/gif_quantise.h"

#include <algorithm>
#include <unordered_map>

namespace kelmor {
namespace {

constexpr std::uint8_t kOpaqueFrom = 128;

std::uint32_t packedColor(const std::uint8_t* pixel) {
    return std::uint32_t{pixel[0]} << 16 | std::uint32_t{pixel[1]} << 8 | pixel[2];
}

unsigned webLevel(std::uint8_t value) {
    return (value + 3u) / 51u;
}

// Indexes the pixels against the frame's table, adding their colours in the order they appear,
// transparent ones at `transparentIndex`; false when the table would pass `room` entries.
bool indexExactColors(const RgbaImage& picture, std::size_t room, GifFrame& frame,
                      std::uint8_t transparentIndex) {
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    std::vector<Rgb>& colors = frame.localColorTable.colors;
    const std::uint8_t* in = picture.pixels.data();
    for (std::uint8_t& out : frame.pixels) {
        if (in[3] < kOpaqueFrom) {
            out = transparentIndex;
        } else {
            const auto [slot, added] =
                indexOf.try_emplace(packedColor(in), static_cast<std::uint8_t>(colors.size()));
            if (added) {
                if (colors.size() == room)
                    return false;
                colors.push_back({in[0], in[1], in[2]});
            }
            out = slot->second;
        }
        in += 4;
    }
    return true;
}

void indexWebLevels(const RgbaImage& picture, GifFrame& frame, std::uint8_t transparentIndex) {
    const std::uint8_t* in = picture.pixels.data();
    for (std::uint8_t& out : frame.pixels) {
        out = in[3] < kOpaqueFrom
                  ? transparentIndex
                  : static_cast<std::uint8_t>(36 * webLevel(in[0]) + 6 * webLevel(in[1]) +
                                              webLevel(in[2]));
        in += 4;
    }
}

// The picture with the frame's rule of transparency, which the quantiser reads: alpha below 128
// made 0, the rest 255.
RgbaImage transparencyOfFrame(const RgbaImage& picture) {
    RgbaImage halves = picture;
    for (std::size_t i = 3; i < halves.pixels.size(); i += 4)
        halves.pixels[i] = halves.pixels[i] < kOpaqueFrom ? 0 : 255;
    return halves;
}

// The frame's table and pixels by the reduction, the transparent entry after the palette.
void indexReducedColours(const RgbaImage& picture, ColourReduction reduction, bool hasTransparent,
                         GifFrame& frame, RgbaFrameIndex& placed) {
    std::vector<Rgb>& colors = frame.localColorTable.colors;
    if (reduction == ColourReduction::WebLevels) {
        colors = webSafePalette();
    } else {
        const RgbaImage halves = transparencyOfFrame(picture);
        colors = medianCutPalette(halves, hasTransparent ? 255 : 256);
        frame.pixels = ditherToPalette(halves, colors);
    }
    if (hasTransparent) {
        placed.transparentIndex = static_cast<int>(colors.size());
        colors.push_back({});
    }
    if (reduction == ColourReduction::WebLevels)
        indexWebLevels(picture, frame,
                       static_cast<std::uint8_t>(placed.transparentIndex.value_or(0)));
}

} // namespace

RgbaFrameIndex appendRgbaFrame(GifImage& image, const RgbaImage& picture,
                               ColourReduction reduction) {
    GifFrame frame;
    frame.hasImage = true;
    frame.width = static_cast<std::uint16_t>(picture.width);
    frame.height = static_cast<std::uint16_t>(picture.height);
    frame.pixels.resize(std::size_t(picture.width) * picture.height);
    bool hasTransparent = false;
    for (std::size_t i = 3; i < picture.pixels.size() && !hasTransparent; i += 4)
        hasTransparent = picture.pixels[i] < kOpaqueFrom;
    RgbaFrameIndex placed;
    std::vector<Rgb>& colors = frame.localColorTable.colors;
    // Transparent pixels take index 0 before the exact colours, or the index after the 216
    // levels.
    if (hasTransparent)
        colors.push_back({});
    if (indexExactColors(picture, 256, frame, 0)) {
        if (hasTransparent)
            placed.transparentIndex = 0;
    } else {
        indexReducedColours(picture, reduction, hasTransparent, frame, placed);
    }
    GifHeader& header = image.header();
    header.width = std::max(header.width, frame.width);
    header.height = std::max(header.height, frame.height);
    image.frames().push_back(std::move(frame));
    placed.frame = image.frameCount() - 1;
    return placed;
}

GifImage gifFromRgba(const RgbaImage& picture, ColourReduction reduction) {
    GifImage image;
    const RgbaFrameIndex placed = appendRgbaFrame(image, picture, reduction);
    if (placed.transparentIndex) {
        GifGraphicControlExtension& control = image.addGraphicControlExtension(placed.frame);
        control.setTransparent(true);
        control.transparentColorIndex = static_cast<std::uint8_t>(*placed.transparentIndex);
    }
    return image;
}

RgbaImage onMatte(const RgbaImage& picture, Rgb matte) {
    RgbaImage blended = picture;
    const unsigned under[3] = {matte.r, matte.g, matte.b};
    for (std::size_t i = 0; i < blended.pixels.size(); i += 4) {
        std::uint8_t* pixel = &blended.pixels[i];
        const unsigned alpha = pixel[3];
        if (alpha == 0) {
            std::fill_n(pixel, 4, std::uint8_t{0});
            continue;
        }
        for (int c = 0; c < 3; ++c)
            pixel[c] = static_cast<std::uint8_t>(
                (pixel[c] * alpha + under[c] * (255 - alpha) + 127) / 255);
        pixel[3] = 255;
    }
    return blended;
}

} // namespace kelmor
