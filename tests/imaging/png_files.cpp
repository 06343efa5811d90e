#include "imaging/png_files.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <zlib.h>

namespace kelmor::test {
namespace {

std::string bigEndian(std::uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

int channels(int colourType) {
    return std::array{1, 0, 3, 1, 2, 0, 4}[colourType];
}

// The samples of the pixels (x0 + k dx, y) for a row of a pass, packed at `depth` bits and
// preceded by its filter type byte.
std::string packedRow(const std::vector<int>& samples, int width, int y, int x0, int dx,
                      const PngLayout& layout, int filter) {
    const int n = channels(layout.colourType);
    std::string bits;
    std::uint32_t accumulator = 0;
    int held = 0;
    for (int x = x0; x < width; x += dx) {
        for (int c = 0; c < n; ++c) {
            const int sample = samples[std::size_t((y * width + x) * n + c)];
            if (layout.depth == 16) {
                bits += char(sample >> 8);
                bits += char(sample);
                continue;
            }
            accumulator = accumulator << layout.depth | std::uint32_t(sample);
            held += layout.depth;
            if (held == 8) {
                bits += char(accumulator);
                accumulator = 0;
                held = 0;
            }
        }
    }
    if (held > 0)
        bits += char(accumulator << (8 - held));
    return char(filter) + bits;
}

std::size_t lengthAt(const std::string& file, std::size_t at) {
    std::size_t length = 0;
    for (int i = 0; i < 4; ++i)
        length = length << 8 | std::uint8_t(file[at + i]);
    return length;
}

} // namespace

std::string pngChunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return bigEndian(std::uint32_t(data.size())) + body + bigEndian(std::uint32_t(crc));
}

std::string pngFile(int width, int height, const PngLayout& layout, const std::vector<int>& samples,
                    const std::string& beforeData, int filter) {
    // Adam7's passes as (x0, y0, dx, dy); a plain file is one pass of every pixel.
    using Pass = std::array<int, 4>;
    const std::vector<Pass> passes =
        layout.interlaced
            ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
            : std::vector<Pass>{{0, 0, 1, 1}};
    std::string raw;
    for (const Pass& pass : passes) {
        if (pass[0] >= width)
            continue;
        for (int y = pass[1]; y < height; y += pass[3])
            raw += packedRow(samples, width, y, pass[0], pass[2], layout, filter);
    }
    std::string compressed(compressBound(uLong(raw.size())), '\0');
    auto length = uLongf(compressed.size());
    compress(reinterpret_cast<Bytef*>(compressed.data()), &length,
             reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()));
    compressed.resize(length);
    const std::string header = bigEndian(std::uint32_t(width)) + bigEndian(std::uint32_t(height)) +
                               char(layout.depth) + char(layout.colourType) + '\0' + '\0' +
                               char(layout.interlaced ? 1 : 0);
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) + beforeData +
           pngChunk("IDAT", compressed) + pngChunk("IEND", "");
}

std::string pngChunkData(const std::string& file, const std::string& type) {
    for (std::size_t at = 8; at + 12 <= file.size(); at += lengthAt(file, at) + 12) {
        if (file.compare(at + 4, 4, type) == 0)
            return file.substr(at + 8, lengthAt(file, at));
    }
    return {};
}

KnownPng knownPng(const PngLayout& layout, bool transparency) {
    constexpr int kWidth = 10, kHeight = 7;
    const int n = channels(layout.colourType);
    const int max = (1 << layout.depth) - 1;
    std::vector<int> samples(std::size_t(kWidth * kHeight * n));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] =
            layout.depth == 16 ? int(i * 7919 + 4099) % 65536 : int(i * 37 + 11) % (max + 1);
    if (transparency && layout.colourType != 3) {
        for (int c = 0; c < n; ++c) {
            samples[std::size_t(n * (kWidth + 3) + c)] = samples[std::size_t(c)];
            if (layout.depth == 16)
                samples[std::size_t(n + c)] = samples[std::size_t(c)] ^ (c == 0 ? 1 : 0);
        }
    }
    std::string beforeData = pngChunk("gAMA", bigEndian(100000));
    std::string alphas;
    if (layout.colourType == 3) {
        std::string palette;
        for (int i = 0; i <= max; ++i) {
            palette += {char(i * 53), char(i * 101), char(i * 199)};
            if (transparency && i <= max / 2)
                alphas += char(i * 90 + 7);
        }
        beforeData += pngChunk("PLTE", palette);
    } else if (transparency) {
        for (int c = 0; c < n; ++c)
            alphas += bigEndian(std::uint32_t(samples[std::size_t(c)])).substr(2);
    }
    if (!alphas.empty())
        beforeData += pngChunk("tRNS", alphas);
    KnownPng known{pngFile(kWidth, kHeight, layout, samples, beforeData),
                   RgbaImage::blank(kWidth, kHeight)};
    const auto scaled = [&](int sample) {
        return std::uint8_t(layout.depth == 16 ? sample >> 8 : sample * 255 / max);
    };
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const int* s = samples.data() + i * n;
        std::uint8_t* p = known.pixels.pixels.data() + i * 4;
        if (layout.colourType == 3) {
            const auto index = std::size_t(s[0]);
            p[0] = std::uint8_t(s[0] * 53);
            p[1] = std::uint8_t(s[0] * 101);
            p[2] = std::uint8_t(s[0] * 199);
            p[3] = index < alphas.size() ? std::uint8_t(alphas[index]) : 255;
            continue;
        }
        const bool grey = n < 3;
        for (int c = 0; c < 3; ++c)
            p[c] = scaled(s[grey ? 0 : c]);
        const bool keyed = transparency && std::equal(s, s + n, samples.data());
        p[3] = n == 2 || n == 4 ? scaled(s[n - 1]) : keyed ? 0 : 255;
    }
    return known;
}

std::vector<KnownPngCase> everyPngLayout() {
    std::vector<KnownPngCase> cases;
    const std::vector<std::pair<int, std::vector<int>>> depths = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    for (const auto& [colourType, allowed] : depths) {
        for (const int depth : allowed) {
            for (const bool interlaced : {false, true}) {
                cases.push_back({{colourType, depth, interlaced}, false});
                if (colourType < 4)
                    cases.push_back({{colourType, depth, interlaced}, true});
            }
        }
    }
    return cases;
}

void PrintTo(const KnownPngCase& c, std::ostream* out) {
    *out << "type " << c.layout.colourType << ", " << c.layout.depth << " bits"
         << (c.layout.interlaced ? ", interlaced" : "") << (c.transparency ? ", tRNS" : "");
}

} // namespace kelmor::test
