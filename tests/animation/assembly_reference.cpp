#include "assembly_reference.h"

#include <algorithm>
#include <map>
#include <optional>

namespace kelmor::test {

namespace {

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<Rgb> table; // empty: the frame uses the global table
    std::vector<int> pixels;
    bool loop = false;
    int loopCount = 0;
    bool transparent = false;
    int delay = 0;
    int transparentIndex = 0;
};

struct Animation {
    int width = 0, height = 0;
    std::vector<Rgb> global;
    bool globalSorted = false;
    std::vector<Frame> frames;

    const std::vector<Rgb>& tableOf(const Frame& f) const {
        return f.table.empty() ? global : f.table;
    }
};

int bitsFor(std::size_t entries) {
    int b = 0;
    while ((std::size_t(1) << b) < entries)
        ++b;
    return entries == 0 ? 0 : std::max(b, 1);
}

std::optional<Rgb> colorOf(const std::vector<Rgb>& table, int index) {
    if (index < 0 || index >= static_cast<int>(table.size()))
        return std::nullopt;
    return table[std::size_t(index)];
}

bool sameColor(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// A frame from a bitmap: an indexed bitmap keeps its palette; a deeper one
// maps each channel to one of six levels, 36 r + 6 g + b.
Frame frameFrom(const Bitmap& bitmap) {
    Frame f;
    f.width = bitmap.width();
    f.height = bitmap.height();
    const bool indexed = bitmap.bitsPerPixel() <= 8;
    if (indexed) {
        f.table = bitmap.palette;
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    f.table.push_back(
                        Rgb{std::uint8_t(51 * r), std::uint8_t(51 * g), std::uint8_t(51 * b)});
    }
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            if (indexed) {
                f.pixels.push_back(int(bitmap.index(x, y)));
            } else {
                const Rgb c = bitmap.color(x, y);
                f.pixels.push_back(36 * ((c.r + 3) / 51) + 6 * ((c.g + 3) / 51) + (c.b + 3) / 51);
            }
        }
    }
    return f;
}

void shareOneTable(Animation& a) {
    struct Use {
        Rgb color;
        long count;
    };
    std::vector<Use> uses; // colours of equal count keep the order of (frame, table index)
    auto findUse = [&](Rgb c) {
        return std::find_if(uses.begin(), uses.end(),
                            [&](const Use& u) { return sameColor(u.color, c); });
    };
    for (const Frame& f : a.frames) {
        const std::vector<Rgb>& table = a.tableOf(f);
        for (int index = 0; index < 256; ++index) {
            const long count = std::count(f.pixels.begin(), f.pixels.end(), index);
            if (count == 0)
                continue;
            const Rgb c = colorOf(table, index).value_or(Rgb{});
            auto it = findUse(c);
            if (it == uses.end())
                uses.push_back({c, count});
            else
                it->count += count;
        }
    }
    std::stable_sort(uses.begin(), uses.end(),
                     [](const Use& x, const Use& y) { return x.count > y.count; });
    const std::size_t kept = std::min<std::size_t>(uses.size(), 256);
    std::vector<Rgb> shared;
    for (std::size_t k = 0; k < kept; ++k)
        shared.push_back(uses[k].color);
    auto newIndex = [&](Rgb c) {
        int best = 0, bestDistance = 1 << 30;
        for (std::size_t k = 0; k < shared.size(); ++k) {
            const int d = std::abs(c.r - shared[k].r) + std::abs(c.g - shared[k].g) +
                          std::abs(c.b - shared[k].b);
            if (d < bestDistance) {
                bestDistance = d;
                best = int(k);
            }
        }
        return best;
    };
    for (Frame& f : a.frames) {
        const std::vector<Rgb> table = a.tableOf(f);
        for (int& p : f.pixels)
            p = newIndex(colorOf(table, p).value_or(Rgb{}));
        f.table.clear();
    }
    a.global = shared;
    a.globalSorted = true;
}

void mergeFrames(Animation& a) {
    for (std::size_t i = a.frames.size() - 1; i >= 1; --i) {
        Frame& f = a.frames[i];
        const Frame& under = a.frames[i - 1];
        const bool onGlobal = f.table.empty();
        if (!f.transparent && a.tableOf(f).size() >= 256)
            continue;
        const int w = std::min(f.width, under.width);
        const int h = std::min(f.height, under.height);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int& p = f.pixels[std::size_t(y * f.width + x)];
                const auto mine = colorOf(a.tableOf(f), p);
                const auto below =
                    colorOf(a.tableOf(under), under.pixels[std::size_t(y * under.width + x)]);
                if ((f.transparent && p == f.transparentIndex) || !mine || !below ||
                    !sameColor(*mine, *below))
                    continue;
                if (!f.transparent) {
                    int index = -1;
                    for (const Frame& other : a.frames)
                        if (onGlobal && &other != &f && other.table.empty() && other.transparent) {
                            index = other.transparentIndex;
                            break;
                        }
                    if (index < 0) {
                        std::vector<Rgb>& table = onGlobal ? a.global : f.table;
                        index = int(table.size());
                        table.push_back(Rgb{0, 0, 0});
                    }
                    f.transparent = true;
                    f.transparentIndex = index;
                }
                p = f.transparentIndex;
            }
        }
    }
}

void cropFrames(Animation& a) {
    for (int i = int(a.frames.size()) - 1; i >= 0; --i) {
        Frame& f = a.frames[std::size_t(i)];
        if (!f.transparent)
            continue;
        int x0 = f.width, y0 = f.height, x1 = -1, y1 = -1;
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x)
                if (f.pixels[std::size_t(y * f.width + x)] != f.transparentIndex) {
                    x0 = std::min(x0, x), x1 = std::max(x1, x);
                    y0 = std::min(y0, y), y1 = std::max(y1, y);
                }
        if (x1 < 0) {
            const int delay = f.delay;
            a.frames.erase(a.frames.begin() + i);
            if (i > 0 && a.frames[std::size_t(i - 1)].transparent)
                a.frames[std::size_t(i - 1)].delay += delay;
            continue;
        }
        std::vector<int> cut;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                cut.push_back(f.pixels[std::size_t(y * f.width + x)]);
        f.pixels = cut;
        f.left += x0;
        f.top += y0;
        f.width = x1 - x0 + 1;
        f.height = y1 - y0 + 1;
    }
}

// GIF LZW with a map from (prefix code, pixel) to code.
std::string lzw(const std::vector<int>& pixels, int minimumCodeSize) {
    std::string out(1, char(minimumCodeSize));
    std::string data;
    std::uint32_t buffer = 0;
    int bits = 0;
    const int clear = 1 << minimumCodeSize;
    int width = minimumCodeSize + 1;
    int next = clear + 2;
    std::map<std::pair<int, int>, int> table;
    auto emit = [&](int code) {
        buffer |= std::uint32_t(code) << bits;
        bits += width;
        while (bits >= 8) {
            data += char(buffer & 0xFF);
            buffer >>= 8;
            bits -= 8;
        }
        if (code == clear)
            width = minimumCodeSize + 1;
        else if (next > (width == 12 ? 4096 : (1 << width) - 1))
            width = std::min(width + 1, 12);
    };
    emit(clear);
    int current = pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const int p = pixels[i];
        auto it = table.find({current, p});
        if (it != table.end()) {
            current = it->second;
            continue;
        }
        emit(current);
        if (next >= 4095) {
            emit(clear);
            table.clear();
            next = clear + 2;
        } else {
            table[{current, p}] = next++;
        }
        current = p;
    }
    emit(current);
    emit(clear + 1);
    if (bits > 0)
        data += char(buffer & 0xFF);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += char(block.size());
        out += block;
    }
    out += '\0';
    return out;
}

void put16(std::string& out, int value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void putTable(std::string& out, const std::vector<Rgb>& table) {
    if (table.empty())
        return;
    for (const Rgb& c : table)
        out += {char(c.r), char(c.g), char(c.b)};
    out.append(3 * ((std::size_t(1) << bitsFor(table.size())) - table.size()), '\0');
}

std::string fileOf(const Animation& a) {
    int maxBits = bitsFor(a.global.size());
    for (const Frame& f : a.frames)
        maxBits = std::max(maxBits, bitsFor(f.table.size()));
    std::string out = "GIF89a";
    put16(out, a.width);
    put16(out, a.height);
    out += char((a.global.empty() ? 0 : 0x80) | ((maxBits - 1) & 7) << 4 |
                (a.globalSorted && !a.global.empty() ? 0x08 : 0) | ((maxBits - 1) & 7));
    out += {'\0', '\0'};
    if (!a.global.empty())
        putTable(out, a.global);
    for (const Frame& f : a.frames) {
        if (f.loop) {
            out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
            put16(out, f.loopCount);
            out += '\0';
        }
        out += "\x21\xF9\x04";
        out += char(f.transparent ? 1 : 0);
        put16(out, f.delay);
        out += char(f.transparentIndex);
        out += '\0';
        out += '\x2C';
        put16(out, f.left);
        put16(out, f.top);
        put16(out, f.width);
        put16(out, f.height);
        out += char(f.table.empty() ? 0 : 0x80 | (bitsFor(f.table.size()) - 1));
        putTable(out, f.table);
        out += lzw(f.pixels, std::max(2, f.table.empty() ? maxBits : bitsFor(f.table.size())));
    }
    out += '\x3B';
    return out;
}

} // namespace

std::string referenceAnimation(const std::vector<Bitmap>& frames, const ReferenceOptions& options) {
    Animation a;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        Frame f = frameFrom(frames[i]);
        a.width = std::max(a.width, f.width);
        a.height = std::max(a.height, f.height);
        f.loop = i == 0;
        f.loopCount = options.loop;
        f.delay = options.delay;
        if (i > 0) {
            // The bottom-left index, or 0 when it lies past the frame's table.
            const int bottomLeft = f.pixels[std::size_t((f.height - 1) * f.width)];
            f.transparentIndex = bottomLeft < int(f.table.size()) ? bottomLeft : 0;
        }
        a.frames.push_back(f);
    }
    if (options.palette)
        shareOneTable(a);
    if (options.merge)
        mergeFrames(a);
    if (options.crop)
        cropFrames(a);
    return fileOf(a);
}

} // namespace kelmor::test
