#include "imaging/gif_image.h"

#include "base/error.h"
#include "base/messages.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <unordered_map>

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

// Level of a channel in the fixed 216-colour palette: 0..5 for 0, 51, ..., 255.
unsigned level(std::uint8_t v) {
    return (v + 3u) / 51u;
}

const std::vector<Rgb>& netscapePalette() {
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

} // namespace

int gifTableBits(std::size_t entries) {
    if (entries == 0)
        return 0;
    int bits = 1;
    while ((std::size_t(1) << bits) < entries)
        ++bits;
    return bits;
}

std::string GifCommentExtension::text() const {
    std::string joined;
    for (const std::string& block : blocks)
        joined += block;
    return joined;
}

GifGraphicControlExtension* GifFrame::graphicControl() {
    for (GifExtension& extension : extensions)
        if (auto* gce = std::get_if<GifGraphicControlExtension>(&extension))
            return gce;
    return nullptr;
}

const GifGraphicControlExtension* GifFrame::graphicControl() const {
    return const_cast<GifFrame*>(this)->graphicControl();
}

bool GifFrame::transparent() const {
    const GifGraphicControlExtension* gce = graphicControl();
    return gce != nullptr && gce->transparent();
}

int GifFrame::bottomLeftColorIndex() const {
    if (width == 0 || height == 0 || pixels.size() < std::size_t(width) * height)
        return 0;
    return pixel(0, height - 1);
}

GifImage::GifImage(const GifImage& other) : header_(other.header_), frames_(other.frames_) {}

GifImage& GifImage::operator=(const GifImage& other) {
    if (this != &other) {
        header_ = other.header_;
        frames_ = other.frames_;
    }
    return *this;
}

GifImage::GifImage(const Bitmap& bitmap) {
    appendFrame(bitmap);
}

void GifImage::warn(const std::string& message) const {
    if (warn_)
        warn_(message);
}

void GifImage::clear() {
    header_ = GifHeader{};
    frames_.clear();
}

const GifColorTable& GifImage::activeColorTable(int index) const {
    const GifFrame& f = frame(index);
    return f.localColorTable.empty() ? header_.colorTable : f.localColorTable;
}

int GifImage::appendFrame(const Bitmap& bitmap) {
    const int bpp = bitmap.bitsPerPixel();
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        throw Error(msg::kObjectTypeNotSupported);
    GifFrame f;
    f.hasImage = true;
    f.width = static_cast<std::uint16_t>(bitmap.width());
    f.height = static_cast<std::uint16_t>(bitmap.height());
    const int w = bitmap.width();
    const int h = bitmap.height();
    f.pixels.resize(std::size_t(w) * h);
    std::uint8_t* out = f.pixels.data();
    if (bpp <= 8) {
        const std::size_t kept = std::min<std::size_t>(bitmap.palette.size(), 256);
        f.localColorTable.colors.assign(bitmap.palette.begin(), bitmap.palette.begin() + kept);
        for (int y = 0; y < h; ++y, out += w) {
            if (bpp == 8)
                std::copy_n(bitmap.row(y), w, out);
            else
                for (int x = 0; x < w; ++x)
                    out[x] = static_cast<std::uint8_t>(bitmap.index(x, y));
        }
    } else {
        f.localColorTable.colors = netscapePalette();
        // Byte-laid-out pixels (blue, green, red) are read straight from the
        // rows through per-channel tables; other layouts go through color().
        const bool bgrBytes =
            bpp == 24 || (bpp == 32 && bitmap.redMask == 0x00FF0000 &&
                          bitmap.greenMask == 0x0000FF00 && bitmap.blueMask == 0x000000FF);
        if (bgrBytes) {
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
        } else {
            for (int y = 0; y < h; ++y, out += w) {
                for (int x = 0; x < w; ++x) {
                    Rgb c = bitmap.color(x, y);
                    out[x] =
                        static_cast<std::uint8_t>(36 * level(c.r) + 6 * level(c.g) + level(c.b));
                }
            }
        }
    }
    header_.width = std::max(header_.width, f.width);
    header_.height = std::max(header_.height, f.height);
    frames_.push_back(std::move(f));
    return frameCount() - 1;
}

void GifImage::assign(const Bitmap& bitmap) {
    GifImage image(bitmap);
    *this = image;
}

GifGraphicControlExtension& GifImage::addGraphicControlExtension(int index) {
    auto& extensions = frame(index).extensions;
    return std::get<GifGraphicControlExtension>(
        extensions.emplace_back(GifGraphicControlExtension{}));
}

GifLoopExtension& GifImage::addLoopExtension(int index) {
    auto& extensions = frame(index).extensions;
    return std::get<GifLoopExtension>(extensions.emplace_back(GifLoopExtension{}));
}

void GifImage::setTransparentColorIndex(int index, int colorIndex) {
    GifGraphicControlExtension* gce = frame(index).graphicControl();
    if (gce == nullptr)
        gce = &addGraphicControlExtension(index);
    const GifColorTable& table = activeColorTable(index);
    if (!table.empty() && (colorIndex < 0 || colorIndex >= table.size())) {
        warn(msg::kInvalidColorIndex);
        colorIndex = 0;
    }
    gce->transparentColorIndex = static_cast<std::uint8_t>(colorIndex);
}

const GifLoopExtension* GifImage::loopExtension() const {
    for (const GifFrame& f : frames_)
        for (const GifExtension& extension : f.extensions)
            if (const auto* loop = std::get_if<GifLoopExtension>(&extension))
                return loop;
    return nullptr;
}

void GifImage::shareColorTable() {
    struct Use {
        Rgb color;
        std::uint64_t count = 0;
    };
    std::vector<Use> uses; // in order of first use
    std::unordered_map<std::uint32_t, std::size_t> slotOf;
    bool anyTransparent = false;

    auto colorAt = [](const GifColorTable& table, unsigned i) {
        return i < table.colors.size() ? table.colors[i] : Rgb{};
    };
    for (int i = 0; i < frameCount(); ++i) {
        const GifFrame& f = frames_[static_cast<std::size_t>(i)];
        if (!holdsPixels(f))
            continue;
        const bool transparent = f.transparent();
        anyTransparent = anyTransparent || transparent;
        const unsigned skip = transparent ? f.graphicControl()->transparentColorIndex : 256;
        std::uint64_t histogram[256] = {};
        for (std::uint8_t p : f.pixels)
            ++histogram[p];
        const GifColorTable& table = activeColorTable(i);
        for (unsigned p = 0; p < 256; ++p) {
            if (histogram[p] == 0 || p == skip)
                continue;
            const Rgb c = colorAt(table, p);
            auto [it, added] = slotOf.try_emplace(packRgb(c), uses.size());
            if (added)
                uses.push_back({c, 0});
            uses[it->second].count += histogram[p];
        }
    }

    std::vector<std::size_t> order(uses.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return uses[a].count > uses[b].count; });
    const std::size_t kept = std::min<std::size_t>(order.size(), anyTransparent ? 255 : 256);

    GifColorTable shared;
    shared.sorted = true;
    std::unordered_map<std::uint32_t, std::uint8_t> newIndex;
    for (std::size_t k = 0; k < kept; ++k) {
        shared.colors.push_back(uses[order[k]].color);
        newIndex[packRgb(uses[order[k]].color)] = static_cast<std::uint8_t>(k);
    }
    // A dropped colour goes to the kept colour nearest in summed channel
    // differences; the earlier one wins a tie.
    for (std::size_t k = kept; k < order.size(); ++k) {
        const Rgb c = uses[order[k]].color;
        int best = 0;
        int bestDistance = 1 << 30;
        for (std::size_t j = 0; j < kept; ++j) {
            const Rgb& s = shared.colors[j];
            int d = std::abs(c.r - s.r) + std::abs(c.g - s.g) + std::abs(c.b - s.b);
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(j);
            }
        }
        newIndex[packRgb(c)] = static_cast<std::uint8_t>(best);
    }
    const auto transparentIndex = static_cast<std::uint8_t>(shared.colors.size());
    if (anyTransparent)
        shared.colors.push_back(Rgb{});

    for (int i = 0; i < frameCount(); ++i) {
        GifFrame& f = frames_[static_cast<std::size_t>(i)];
        if (!holdsPixels(f))
            continue;
        const GifColorTable& table = activeColorTable(i);
        GifGraphicControlExtension* gce = f.transparent() ? f.graphicControl() : nullptr;
        std::uint8_t remap[256];
        for (unsigned p = 0; p < 256; ++p) {
            auto it = newIndex.find(packRgb(colorAt(table, p)));
            remap[p] = it != newIndex.end() ? it->second : 0;
        }
        if (gce) {
            remap[gce->transparentColorIndex] = transparentIndex;
            gce->transparentColorIndex = transparentIndex;
        }
        for (std::uint8_t& p : f.pixels)
            p = remap[p];
    }
    for (GifFrame& f : frames_)
        f.localColorTable = GifColorTable{};
    header_.colorTable = std::move(shared);
}

void GifImage::reduceFrames(bool merge, bool crop) {
    if (merge) {
        for (int i = frameCount() - 1; i >= 1; --i) {
            int j = i - 1;
            auto disposal = [&](int k) {
                const GifGraphicControlExtension* gce = frames_[std::size_t(k)].graphicControl();
                return gce ? gce->disposal() : 0;
            };
            while (j > 0 && disposal(j) == 3)
                --j;
            if (disposal(j) == 2 || disposal(j) == 3)
                continue;
            mergeWithEarlier(i, j);
        }
    }
    if (crop) {
        for (int i = frameCount() - 1; i >= 0; --i)
            cropTransparent(i);
    }
}

void GifImage::mergeWithEarlier(int index, int earlierIndex) {
    GifFrame& f = frames_[std::size_t(index)];
    const GifFrame& e = frames_[std::size_t(earlierIndex)];
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
    const GifColorTable& table = activeColorTable(index);
    if (!hadTransparent && table.size() >= 256)
        return;
    const GifColorTable& earlierTable = activeColorTable(earlierIndex);
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
                transparentIndex = newTransparentIndex(index, usesGlobal);
            row[x] = static_cast<std::uint8_t>(transparentIndex);
        }
    }
}

int GifImage::newTransparentIndex(int index, bool usesGlobal) {
    int transparentIndex = -1;
    if (usesGlobal) {
        for (int k = 0; k < frameCount() && transparentIndex < 0; ++k) {
            const GifFrame& other = frames_[std::size_t(k)];
            if (k != index && other.hasImage && other.localColorTable.empty() &&
                other.transparent())
                transparentIndex = other.graphicControl()->transparentColorIndex;
        }
    }
    if (transparentIndex < 0) {
        GifColorTable& table =
            usesGlobal ? header_.colorTable : frames_[std::size_t(index)].localColorTable;
        transparentIndex = table.size();
        table.colors.push_back(Rgb{});
    }
    GifFrame& f = frames_[std::size_t(index)];
    GifGraphicControlExtension* gce = f.graphicControl();
    if (gce == nullptr)
        gce = &addGraphicControlExtension(index);
    gce->setTransparent(true);
    gce->transparentColorIndex = static_cast<std::uint8_t>(transparentIndex);
    return transparentIndex;
}

void GifImage::cropTransparent(int index) {
    GifFrame& f = frames_[std::size_t(index)];
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
        frames_.erase(frames_.begin() + index);
        if (index > 0 && frames_[std::size_t(index - 1)].transparent()) {
            GifGraphicControlExtension* before = frames_[std::size_t(index - 1)].graphicControl();
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

Bitmap GifImage::frameBitmap(int index) const {
    const GifFrame& f = frame(index);
    if (!f.hasImage)
        return Bitmap();
    const GifColorTable& table = activeColorTable(index);
    if (table.empty())
        throw Error(msg::kNoColorTable);
    Bitmap bitmap(f.width, f.height, 8);
    bitmap.palette = table.colors;
    if (f.pixels.size() >= std::size_t(f.width) * f.height)
        for (int y = 0; y < f.height; ++y)
            std::copy_n(f.pixels.data() + std::size_t(y) * f.width, f.width, bitmap.row(y));
    return bitmap;
}

Bitmap GifImage::toBitmap() const {
    auto first =
        std::find_if(frames_.begin(), frames_.end(), [](const GifFrame& f) { return f.hasImage; });
    if (first == frames_.end())
        return Bitmap();
    const int index = static_cast<int>(first - frames_.begin());
    const GifFrame& f = *first;
    if (f.left == 0 && f.top == 0 && f.width == header_.width && f.height == header_.height)
        return frameBitmap(index);
    const GifColorTable& table = activeColorTable(index);
    if (table.empty())
        throw Error(msg::kNoColorTable);
    Bitmap bitmap(header_.width, header_.height, 32);
    bitmap.palette = header_.colorTable.colors;
    const GifGraphicControlExtension* gce = f.transparent() ? f.graphicControl() : nullptr;
    const int x1 = std::min<int>(f.left + f.width, header_.width);
    const int y1 = std::min<int>(f.top + f.height, header_.height);
    if (f.pixels.size() < std::size_t(f.width) * f.height)
        return bitmap;
    for (int y = f.top; y < y1; ++y) {
        for (int x = f.left; x < x1; ++x) {
            unsigned p = f.pixel(x - f.left, y - f.top);
            if (gce && p == gce->transparentColorIndex)
                continue;
            if (p < table.colors.size())
                bitmap.setColor(x, y, table.colors[p]);
        }
    }
    return bitmap;
}

} // namespace kelmor
