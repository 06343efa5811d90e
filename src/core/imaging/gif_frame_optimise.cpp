#include "imaging/gif_frame_optimise.h"

#include <algorithm>

namespace kelmor {
namespace {

constexpr std::uint32_t kNoColor = 0xFFFFFFFFu;

std::uint32_t packRgb(Rgb c) {
    return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
}

// The colour of a pixel index, or kNoColor past the end of the table.
std::uint32_t colorOf(const GifColorTable& table, unsigned index) {
    return index < table.colors.size() ? packRgb(table.colors[index]) : kNoColor;
}

bool holdsPixels(const GifFrame& frame) {
    return frame.hasImage && !frame.pixels.empty();
}

// The index the frame's merged pixels take: another transparent frame's on the global table,
// or a new black entry; the frame's graphic control extension is made transparent with it.
int newTransparentIndex(GifImage& image, int index, bool usesGlobal) {
    int transparentIndex = -1;
    if (usesGlobal) {
        for (int k = 0; k < image.frameCount() && transparentIndex < 0; ++k) {
            const GifFrame& other = image.frame(k);
            if (k != index && other.hasImage && other.localColorTable.empty() &&
                other.transparent())
                transparentIndex = other.graphicControl()->transparentColorIndex;
        }
    }
    if (transparentIndex < 0) {
        GifColorTable& table =
            usesGlobal ? image.header().colorTable : image.frame(index).localColorTable;
        transparentIndex = table.size();
        table.colors.push_back(Rgb{});
    }
    GifGraphicControlExtension* gce = image.frame(index).graphicControl();
    if (gce == nullptr)
        gce = &image.addGraphicControlExtension(index);
    gce->setTransparent(true);
    gce->transparentColorIndex = static_cast<std::uint8_t>(transparentIndex);
    return transparentIndex;
}

void mergeWithEarlier(GifImage& image, int index, int earlierIndex) {
    GifFrame& f = image.frame(index);
    const GifFrame& e = image.frame(earlierIndex);
    if (!holdsPixels(f) || !holdsPixels(e))
        return;
    const int x0 = std::max(f.left, e.left);
    const int y0 = std::max(f.top, e.top);
    const int x1 = std::min(f.left + f.width, e.left + e.width);
    const int y1 = std::min(f.top + f.height, e.top + e.height);
    if (x0 >= x1 || y0 >= y1)
        return;
    const bool hadTransparent = f.transparent();
    const bool usesGlobal = f.localColorTable.empty();
    const GifColorTable& table = image.activeColorTable(index);
    if (!hadTransparent && table.size() >= 256)
        return;
    const GifColorTable& earlierTable = image.activeColorTable(earlierIndex);
    const GifGraphicControlExtension* eGce = e.transparent() ? e.graphicControl() : nullptr;
    int transparentIndex = hadTransparent ? f.graphicControl()->transparentColorIndex : -1;

    for (int y = y0; y < y1; ++y) {
        std::uint8_t* row = f.pixels.data() + std::size_t(y - f.top) * f.width - f.left;
        const std::uint8_t* under = e.pixels.data() + std::size_t(y - e.top) * e.width - e.left;
        for (int x = x0; x < x1; ++x) {
            if (row[x] == transparentIndex)
                continue;
            if (eGce && under[x] == eGce->transparentColorIndex)
                continue;
            const std::uint32_t c = colorOf(table, row[x]);
            if (c == kNoColor || c != colorOf(earlierTable, under[x]))
                continue;
            if (transparentIndex < 0)
                transparentIndex = newTransparentIndex(image, index, usesGlobal);
            row[x] = static_cast<std::uint8_t>(transparentIndex);
        }
    }
}

void cropTransparent(GifImage& image, int index) {
    std::vector<GifFrame>& frames = image.frames();
    GifFrame& f = frames[std::size_t(index)];
    if (!holdsPixels(f) || !f.transparent())
        return;
    const std::uint8_t t = f.graphicControl()->transparentColorIndex;
    int x0 = f.width, y0 = f.height, x1 = -1, y1 = -1;
    for (int y = 0; y < f.height; ++y) {
        const std::uint8_t* row = f.pixels.data() + std::size_t(y) * f.width;
        for (int x = 0; x < f.width; ++x) {
            if (row[x] != t) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0) {
        const std::uint16_t delay = f.graphicControl()->delayTime;
        frames.erase(frames.begin() + index);
        if (index > 0 && frames[std::size_t(index - 1)].transparent()) {
            GifGraphicControlExtension* before = frames[std::size_t(index - 1)].graphicControl();
            before->delayTime = static_cast<std::uint16_t>(before->delayTime + delay);
        }
        return;
    }
    const int w = x1 - x0 + 1;
    const int h = y1 - y0 + 1;
    if (w == f.width && h == f.height)
        return;
    std::vector<std::uint8_t> cropped(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        std::copy_n(f.pixels.data() + std::size_t(y0 + y) * f.width + x0, w,
                    cropped.data() + std::size_t(y) * w);
    f.pixels = std::move(cropped);
    f.left = static_cast<std::uint16_t>(f.left + x0);
    f.top = static_cast<std::uint16_t>(f.top + y0);
    f.width = static_cast<std::uint16_t>(w);
    f.height = static_cast<std::uint16_t>(h);
}

} // namespace

void reduceFrames(GifImage& image, bool merge, bool crop) {
    if (merge) {
        for (int i = image.frameCount() - 1; i >= 1; --i) {
            int j = i - 1;
            auto disposal = [&](int k) {
                const GifGraphicControlExtension* gce = image.frame(k).graphicControl();
                return gce ? gce->disposal() : 0;
            };
            while (j > 0 && disposal(j) == 3)
                --j;
            if (disposal(j) == 2 || disposal(j) == 3)
                continue;
            mergeWithEarlier(image, i, j);
        }
    }
    if (crop) {
        for (int i = image.frameCount() - 1; i >= 0; --i)
            cropTransparent(image, i);
    }
}

} // namespace kelmor
