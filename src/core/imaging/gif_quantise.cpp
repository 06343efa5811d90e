#include "imaging/gif_quantise.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <utility>

namespace kelmor {
namespace {

std::uint32_t packedColour(const std::uint8_t* pixel) {
    return std::uint32_t{pixel[0]} << 16 | std::uint32_t{pixel[1]} << 8 | pixel[2];
}

// Channel 0 (red), 1 (green) or 2 (blue) of a packed colour.
int channelOf(std::uint32_t rgb, int channel) {
    return static_cast<int>(rgb >> (16 - 8 * channel) & 0xFF);
}

// One distinct colour of the picture and how many pixels show it.
struct ColourCount {
    std::uint32_t rgb;
    std::uint32_t count;
};

// Sorts 24-bit keys in two counting passes of 12 bits, so counting a big picture's colours
// stays linear in its pixels.
void sortColourKeys(std::vector<std::uint32_t>& keys) {
    constexpr unsigned kBits = 12, kMask = (1u << kBits) - 1;
    std::vector<std::uint32_t> sorted(keys.size());
    std::vector<std::size_t> starts(std::size_t{1} << kBits);
    for (unsigned shift : {0u, kBits}) {
        std::ranges::fill(starts, 0);
        for (std::uint32_t key : keys)
            ++starts[key >> shift & kMask];
        std::size_t at = 0;
        for (std::size_t& start : starts)
            at += std::exchange(start, at);
        for (std::uint32_t key : keys)
            sorted[starts[key >> shift & kMask]++] = key;
        keys.swap(sorted);
    }
}

std::vector<ColourCount> countColours(const RgbaImage& picture) {
    std::vector<std::uint32_t> keys;
    keys.reserve(picture.pixels.size() / 4);
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4)
        if (picture.pixels[i + 3] != 0)
            keys.push_back(packedColour(&picture.pixels[i]));
    sortColourKeys(keys);
    std::vector<ColourCount> counts;
    for (std::uint32_t key : keys) {
        if (!counts.empty() && counts.back().rgb == key)
            ++counts.back().count;
        else
            counts.push_back({key, 1});
    }
    return counts;
}

// The pixel count, channel sums and sum of squares of a set of colours: enough for its mean and
// its squared error around the mean.
struct Moments {
    std::uint64_t count = 0;
    std::array<std::uint64_t, 3> sum{};
    std::uint64_t squares = 0;

    void add(const ColourCount& colour) {
        count += colour.count;
        for (int c = 0; c < 3; ++c) {
            const std::uint64_t value = static_cast<std::uint64_t>(channelOf(colour.rgb, c));
            sum[c] += value * colour.count;
            squares += value * value * colour.count;
        }
    }
    Moments& operator+=(const Moments& other) {
        count += other.count;
        for (int c = 0; c < 3; ++c)
            sum[c] += other.sum[c];
        squares += other.squares;
        return *this;
    }
    Moments minus(const Moments& subset) const {
        Moments rest = *this;
        rest.count -= subset.count;
        for (int c = 0; c < 3; ++c)
            rest.sum[c] -= subset.sum[c];
        rest.squares -= subset.squares;
        return rest;
    }
    double error() const {
        double error = static_cast<double>(squares);
        for (std::uint64_t s : sum)
            error -= double(s) * double(s) / double(count);
        return std::max(0.0, error);
    }
    Rgb mean() const {
        const auto channel = [&](int c) {
            return static_cast<std::uint8_t>((sum[c] + count / 2) / count);
        };
        return {channel(0), channel(1), channel(2)};
    }
};

// A box of the colour space: a range of the colour list, and what it holds.
struct Box {
    std::size_t begin = 0, end = 0;
    Moments moments;
    double error = 0;
};

// Where a box is cut: its colours whose channel is at most `value` on one side.
struct Cut {
    int channel = 0;
    int value = 0;
    Moments low, high;
    double error = 0;
};

// Cuts a list of colours into boxes, the box of the largest error first.
class BoxCutter {
public:
    explicit BoxCutter(std::vector<ColourCount>& colours) : colours_(colours) {}

    // Cuts until there are `room` boxes or every box holds one entry. The entries are
    // partitioned in place, each box a range of them.
    std::vector<Box> cut(std::size_t room) {
        Box all{0, colours_.size(), {}, 0};
        for (const ColourCount& colour : colours_)
            all.moments.add(colour);
        all.error = all.moments.error();
        std::vector<Box> boxes{all};
        boxes.reserve(room);
        while (boxes.size() < room) {
            Box& worst = *std::ranges::max_element(boxes, {}, &Box::error);
            if (worst.error <= 0)
                break;
            Box second;
            if (cutBox(worst, second))
                boxes.push_back(second);
            else
                worst.error = 0;
        }
        return boxes;
    }

private:
    // Of every channel and value, the cut whose two halves leave the least squared error; none
    // for a box of one colour. One pass sorts the colours into the values of all three channels,
    // and only the values between each channel's least and greatest are read and cleared again.
    std::optional<Cut> bestCut(std::span<const ColourCount> colours, const Moments& total) {
        std::array<int, 3> least{255, 255, 255}, greatest{0, 0, 0};
        for (const ColourCount& colour : colours) {
            Moments one;
            one.add(colour);
            for (int channel = 0; channel < 3; ++channel) {
                const int value = channelOf(colour.rgb, channel);
                byValue_[std::size_t(channel)][std::size_t(value)] += one;
                least[std::size_t(channel)] = std::min(least[std::size_t(channel)], value);
                greatest[std::size_t(channel)] = std::max(greatest[std::size_t(channel)], value);
            }
        }
        std::optional<Cut> best;
        for (int channel = 0; channel < 3; ++channel) {
            std::array<Moments, 256>& values = byValue_[std::size_t(channel)];
            Moments low;
            for (int value = least[std::size_t(channel)]; value < greatest[std::size_t(channel)];
                 ++value) {
                low += values[std::size_t(value)];
                if (values[std::size_t(value)].count == 0)
                    continue;
                const Moments high = total.minus(low);
                const double error = low.error() + high.error();
                if (!best || error < best->error)
                    best = Cut{channel, value, low, high, error};
            }
            std::fill(values.begin() + least[std::size_t(channel)],
                      values.begin() + greatest[std::size_t(channel)] + 1, Moments{});
        }
        return best;
    }

    // Cuts the box in two, its colours partitioned in place; false when it holds one colour.
    bool cutBox(Box& box, Box& second) {
        const auto first = colours_.begin() + static_cast<std::ptrdiff_t>(box.begin);
        const auto last = colours_.begin() + static_cast<std::ptrdiff_t>(box.end);
        const std::optional<Cut> cut = bestCut({first, last}, box.moments);
        if (!cut)
            return false;
        const auto middle = std::partition(first, last, [&](const ColourCount& colour) {
            return channelOf(colour.rgb, cut->channel) <= cut->value;
        });
        const std::size_t split = static_cast<std::size_t>(middle - colours_.begin());
        second = {split, box.end, cut->high, cut->high.error()};
        box = {box.begin, split, cut->low, cut->low.error()};
        return true;
    }

    std::vector<ColourCount>& colours_;
    // Each channel's values with what the box being cut holds at them; empty between cuts.
    std::array<std::array<Moments, 256>, 3> byValue_{};
};

// Past this many distinct colours the cuts are sought among cells of 6 bits a channel, which a
// photograph has some ten times fewer of; the palette's means still come from the exact colours.
constexpr std::size_t kFinestCutColours = std::size_t{1} << 15;
constexpr std::size_t kCellCount = std::size_t{1} << 18;

std::size_t cellOf(std::uint32_t rgb) {
    return (rgb >> 6 & 0x3F000) | (rgb >> 4 & 0xFC0) | (rgb >> 2 & 0x3F);
}

// The cells that hold colours, each standing at its middle, with their pixel counts.
std::vector<ColourCount> cellsOf(const std::vector<ColourCount>& colours) {
    std::vector<std::uint32_t> counts(kCellCount);
    for (const ColourCount& colour : colours)
        counts[cellOf(colour.rgb)] += colour.count;
    std::vector<ColourCount> cells;
    for (std::uint32_t cell = 0; cell < kCellCount; ++cell)
        if (counts[cell] != 0)
            cells.push_back(
                {(cell << 6 & 0xFC0000) | (cell << 4 & 0xFC00) | (cell << 2 & 0xFC) | 0x020202,
                 counts[cell]});
    return cells;
}

// The palette of boxes cut among the colours' cells: each box's mean of the exact colours its
// cells hold.
std::vector<Rgb> cellPalette(const std::vector<ColourCount>& colours, std::size_t room) {
    std::vector<ColourCount> cells = cellsOf(colours);
    const std::vector<Box> boxes = BoxCutter(cells).cut(room);
    std::vector<std::uint8_t> boxOfCell(kCellCount);
    for (std::size_t box = 0; box < boxes.size(); ++box)
        for (std::size_t i = boxes[box].begin; i < boxes[box].end; ++i)
            boxOfCell[cellOf(cells[i].rgb)] = static_cast<std::uint8_t>(box);
    std::vector<Moments> exact(boxes.size());
    for (const ColourCount& colour : colours)
        exact[boxOfCell[cellOf(colour.rgb)]].add(colour);
    std::vector<Rgb> palette;
    for (const Moments& moments : exact)
        palette.push_back(moments.mean());
    return palette;
}

// The nearest palette colour of any colour. The colour space is split into cells of 16 levels a
// channel; a cell's first colour lists the palette entries that can be nearest to anything in
// it, nearer ones first, so a search reads a few entries instead of the whole palette. A small
// cache remembers the answers, as dithered neighbours repeat colours.
class NearestColour {
public:
    explicit NearestColour(std::span<const Rgb> palette)
        : palette_(palette), cells_(kCells), cache_(kCacheSize) {}

    std::uint8_t operator()(int r, int g, int b) {
        const std::uint32_t key = std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
        Cached& slot = cache_[(key * 2654435761u) >> (32 - kCacheBits)];
        if (slot.key != key)
            slot = {key, search(r, g, b)};
        return slot.index;
    }

private:
    static constexpr int kCellShift = 4, kCellSide = 1 << kCellShift, kCellsPerAxis = 256 >> 4;
    static constexpr std::size_t kCells =
        std::size_t{kCellsPerAxis} * kCellsPerAxis * kCellsPerAxis;
    static constexpr unsigned kCacheBits = 15;
    static constexpr std::size_t kCacheSize = std::size_t{1} << kCacheBits;
    struct Candidate {
        Rgb colour;
        std::uint8_t index;
        int nearest; // the least squared distance from the cell to the colour
    };
    struct Cached {
        std::uint32_t key = UINT32_MAX; // no colour has this key
        std::uint8_t index = 0;
    };

    // The entries that may be nearest to a colour of the cell: those no further from the cell
    // than the least of the entries' furthest distances from it.
    std::vector<Candidate> candidates(int r, int g, int b) const {
        const int low[3] = {r, g, b};
        std::vector<Candidate> all;
        int bound = INT_MAX;
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            const int value[3] = {palette_[i].r, palette_[i].g, palette_[i].b};
            int nearest = 0, furthest = 0;
            for (int c = 0; c < 3; ++c) {
                const int high = low[c] + kCellSide - 1;
                const int outside = std::max({low[c] - value[c], value[c] - high, 0});
                const int far = std::max(value[c] - low[c], high - value[c]);
                nearest += outside * outside;
                furthest += far * far;
            }
            bound = std::min(bound, furthest);
            all.push_back({palette_[i], static_cast<std::uint8_t>(i), nearest});
        }
        std::erase_if(all, [&](const Candidate& candidate) { return candidate.nearest > bound; });
        std::ranges::sort(all, {}, &Candidate::nearest);
        return all;
    }

    std::uint8_t search(int r, int g, int b) {
        const std::size_t cell =
            std::size_t((r >> kCellShift) * kCellsPerAxis + (g >> kCellShift)) * kCellsPerAxis +
            std::size_t(b >> kCellShift);
        std::vector<Candidate>& list = cells_[cell];
        if (list.empty())
            list = candidates(r & ~(kCellSide - 1), g & ~(kCellSide - 1), b & ~(kCellSide - 1));
        int best = INT_MAX;
        std::uint8_t index = 0;
        for (const Candidate& candidate : list) {
            if (candidate.nearest >= best)
                break;
            const int dr = candidate.colour.r - r, dg = candidate.colour.g - g,
                      db = candidate.colour.b - b;
            if (const int distance = dr * dr + dg * dg + db * db; distance < best) {
                best = distance;
                index = candidate.index;
            }
        }
        return index;
    }

    std::span<const Rgb> palette_;
    std::vector<std::vector<Candidate>> cells_;
    std::vector<Cached> cache_;
};

// The error still to be spread onto this row and the next, three channels a pixel in sixteenths,
// with one pixel of room at either end.
class ErrorRows {
public:
    explicit ErrorRows(int width)
        : current_((std::size_t(width) + 2) * 3), next_((std::size_t(width) + 2) * 3) {}
    int* here(int x) { return &current_[(std::size_t(x) + 1) * 3]; }
    int* below(int x) { return &next_[(std::size_t(x) + 1) * 3]; }
    void nextRow() {
        current_.swap(next_);
        std::ranges::fill(next_, 0);
    }

private:
    std::vector<int> current_, next_;
};

// One row: `step` 1 from left to right, -1 back.
void ditherRow(const std::uint8_t* in, std::uint8_t* out, int width, int step,
               std::span<const Rgb> palette, NearestColour& nearest, ErrorRows& errors) {
    const auto transparent = static_cast<std::uint8_t>(palette.size());
    for (int i = 0; i < width; ++i) {
        const int x = step > 0 ? i : width - 1 - i;
        const std::uint8_t* pixel = in + std::size_t(x) * 4;
        if (pixel[3] == 0) {
            out[x] = transparent;
            continue;
        }
        const int* carried = errors.here(x);
        std::array<int, 3> value{};
        for (int c = 0; c < 3; ++c)
            value[c] = std::clamp(pixel[c] + ((carried[c] + 8) >> 4), 0, 255);
        const std::uint8_t index = nearest(value[0], value[1], value[2]);
        out[x] = index;
        const Rgb shown = palette[index];
        const std::array<int, 3> error{value[0] - shown.r, value[1] - shown.g, value[2] - shown.b};
        int* ahead = errors.here(x + step);
        int* behindBelow = errors.below(x - step);
        int* below = errors.below(x);
        int* aheadBelow = errors.below(x + step);
        for (int c = 0; c < 3; ++c) {
            ahead[c] += 7 * error[c];
            behindBelow[c] += 3 * error[c];
            below[c] += 5 * error[c];
            aheadBelow[c] += error[c];
        }
    }
}

} // namespace

std::vector<Rgb> medianCutPalette(const RgbaImage& picture, std::size_t room) {
    const std::vector<ColourCount> colours = countColours(picture);
    std::vector<Rgb> palette;
    if (colours.size() <= room) {
        for (const ColourCount& colour : colours)
            palette.push_back({static_cast<std::uint8_t>(colour.rgb >> 16),
                               static_cast<std::uint8_t>(colour.rgb >> 8),
                               static_cast<std::uint8_t>(colour.rgb)});
        return palette;
    }
    if (colours.size() > kFinestCutColours)
        return cellPalette(colours, room);
    std::vector<ColourCount> cut = colours;
    for (const Box& box : BoxCutter(cut).cut(room))
        palette.push_back(box.moments.mean());
    return palette;
}

std::vector<std::uint8_t> ditherToPalette(const RgbaImage& picture, std::span<const Rgb> palette) {
    std::vector<std::uint8_t> indices(std::size_t(picture.width) * picture.height);
    NearestColour nearest(palette);
    ErrorRows errors(picture.width);
    for (int y = 0; y < picture.height; ++y) {
        ditherRow(picture.row(y), indices.data() + std::size_t(y) * picture.width, picture.width,
                  y % 2 == 0 ? 1 : -1, palette, nearest, errors);
        errors.nextRow();
    }
    return indices;
}

} // namespace kelmor
