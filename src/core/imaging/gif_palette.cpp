#include "imaging/gif_palette.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <unordered_map>

namespace kelmor {
namespace {

// Level of a channel in the fixed 216-colour palette: 0..5 for 0, 51, ..., 255.
unsigned level(std::uint8_t v) {
    return (v + 3u) / 51u;
}

std::uint32_t packRgb(Rgb c) {
    return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
}

Rgb colorAt(const GifColorTable& table, unsigned i) {
    return i < table.colors.size() ? table.colors[i] : Rgb{};
}

bool holdsPixels(const GifFrame& frame) {
    return frame.hasImage && !frame.pixels.empty();
}

// How often each colour is used over all frames, in order of first use.
struct ColorUses {
    struct Use {
        Rgb color;
        std::uint64_t count = 0;
    };
    std::vector<Use> uses;
    bool anyTransparent = false;
};

ColorUses countColorUses(const GifImage& image) {
    ColorUses result;
    std::unordered_map<std::uint32_t, std::size_t> slotOf;
    for (int i = 0; i < image.frameCount(); ++i) {
        const GifFrame& f = image.frame(i);
        if (!holdsPixels(f))
            continue;
        const bool transparent = f.transparent();
        result.anyTransparent = result.anyTransparent || transparent;
        const unsigned skip = transparent ? f.graphicControl()->transparentColorIndex : 256;
        std::uint64_t histogram[256] = {};
        for (std::uint8_t p : f.pixels)
            ++histogram[p];
        const GifColorTable& table = image.activeColorTable(i);
        for (unsigned p = 0; p < 256; ++p) {
            if (histogram[p] == 0 || p == skip)
                continue;
            const Rgb c = colorAt(table, p);
            auto [it, added] = slotOf.try_emplace(packRgb(c), result.uses.size());
            if (added)
                result.uses.push_back({c, 0});
            result.uses[it->second].count += histogram[p];
        }
    }
    return result;
}

// The shared table (without its transparent entry) and the new index of every colour used.
struct SharedTable {
    GifColorTable table;
    std::unordered_map<std::uint32_t, std::uint8_t> newIndex;
};

SharedTable buildSharedTable(const ColorUses& counted) {
    const std::vector<ColorUses::Use>& uses = counted.uses;
    std::vector<std::size_t> order(uses.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return uses[a].count > uses[b].count; });
    const std::size_t kept =
        std::min<std::size_t>(order.size(), counted.anyTransparent ? 255 : 256);

    SharedTable shared;
    shared.table.sorted = true;
    for (std::size_t k = 0; k < kept; ++k) {
        shared.table.colors.push_back(uses[order[k]].color);
        shared.newIndex[packRgb(uses[order[k]].color)] = static_cast<std::uint8_t>(k);
    }
    // A dropped colour goes to the kept colour nearest in summed channel
    // differences; the earlier one wins a tie.
    for (std::size_t k = kept; k < order.size(); ++k) {
        const Rgb c = uses[order[k]].color;
        int best = 0;
        int bestDistance = 1 << 30;
        for (std::size_t j = 0; j < kept; ++j) {
            const Rgb& s = shared.table.colors[j];
            int d = std::abs(c.r - s.r) + std::abs(c.g - s.g) + std::abs(c.b - s.b);
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(j);
            }
        }
        shared.newIndex[packRgb(c)] = static_cast<std::uint8_t>(best);
    }
    return shared;
}

// Re-indexes every frame's pixels into the shared table; transparent pixels go to its entry.
void reindexFrames(GifImage& image, const SharedTable& shared, std::uint8_t transparentIndex) {
    for (int i = 0; i < image.frameCount(); ++i) {
        GifFrame& f = image.frame(i);
        if (!holdsPixels(f))
            continue;
        const GifColorTable& table = image.activeColorTable(i);
        GifGraphicControlExtension* gce = f.transparent() ? f.graphicControl() : nullptr;
        std::uint8_t remap[256];
        for (unsigned p = 0; p < 256; ++p) {
            auto it = shared.newIndex.find(packRgb(colorAt(table, p)));
            remap[p] = it != shared.newIndex.end() ? it->second : 0;
        }
        if (gce) {
            remap[gce->transparentColorIndex] = transparentIndex;
            gce->transparentColorIndex = transparentIndex;
        }
        for (std::uint8_t& p : f.pixels)
            p = remap[p];
    }
}

} // namespace

const std::vector<Rgb>& webSafePalette() {
    static const std::vector<Rgb> palette = [] {
        std::vector<Rgb> colors;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    colors.push_back({static_cast<std::uint8_t>(r * 51),
                                      static_cast<std::uint8_t>(g * 51),
                                      static_cast<std::uint8_t>(b * 51)});
        return colors;
    }();
    return palette;
}

void mapToWebSafePalette(const Bitmap& bitmap, std::uint8_t* out) {
    const int bpp = bitmap.bitsPerPixel();
    const int w = bitmap.width();
    const int h = bitmap.height();
    // Byte-laid-out pixels (blue, green, red) are read straight from the
    // rows through per-channel tables; other layouts go through color().
    const bool bgrBytes =
        bpp == 24 || (bpp == 32 && bitmap.redMask == 0x00FF0000 && bitmap.greenMask == 0x0000FF00 &&
                      bitmap.blueMask == 0x000000FF);
    if (!bgrBytes) {
        for (int y = 0; y < h; ++y, out += w) {
            for (int x = 0; x < w; ++x) {
                Rgb c = bitmap.color(x, y);
                out[x] = static_cast<std::uint8_t>(36 * level(c.r) + 6 * level(c.g) + level(c.b));
            }
        }
        return;
    }
    std::uint8_t red[256], green[256], blue[256];
    for (unsigned v = 0; v < 256; ++v) {
        blue[v] = static_cast<std::uint8_t>(level(static_cast<std::uint8_t>(v)));
        green[v] = static_cast<std::uint8_t>(6 * blue[v]);
        red[v] = static_cast<std::uint8_t>(36 * blue[v]);
    }
    const int step = bpp / 8;
    for (int y = 0; y < h; ++y, out += w) {
        const std::uint8_t* in = bitmap.row(y);
        for (int x = 0; x < w; ++x, in += step)
            out[x] = static_cast<std::uint8_t>(red[in[2]] + green[in[1]] + blue[in[0]]);
    }
}

void shareColorTable(GifImage& image) {
    const ColorUses counted = countColorUses(image);
    SharedTable shared = buildSharedTable(counted);
    const auto transparentIndex = static_cast<std::uint8_t>(shared.table.colors.size());
    if (counted.anyTransparent)
        shared.table.colors.push_back(Rgb{});
    reindexFrames(image, shared, transparentIndex);
    for (GifFrame& f : image.frames())
        f.localColorTable = GifColorTable{};
    image.header().colorTable = std::move(shared.table);
}

} // namespace kelmor
