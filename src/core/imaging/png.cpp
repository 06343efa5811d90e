#include "imaging/png.h"

#include "base/error.h"
#include "base/messages.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <spng.h>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <vector>
#include <zlib.h>

namespace kelmor {
namespace {

// Text, profile and other metadata chunks are never used: one may not exceed 1 MiB and all of
// them together are held to 4 MiB, so a file cannot make the decoder keep much memory for them.
constexpr std::size_t kChunkSizeLimit = std::size_t{1} << 20;
constexpr std::size_t kChunkCacheLimit = std::size_t{4} << 20;

// What one decode may walk: the bytes of the rows once inflated, each row counted
// kRowWorkBytes more for what libspng does per row (about as long as for a dozen bytes). Past
// this a small file would keep the decoder busy for more than a second or two: a 16-bit
// 8192 x 8192 picture walks 512 MiB, one of 1 x 64 Mi pixels makes 64 Mi rows.
constexpr std::int64_t kMaxDecodeWork = std::int64_t{320} << 20;
constexpr std::int64_t kRowWorkBytes = 16;

// libspng holds rows as the file stores them, the row before each one too for the filters: a
// picture a pixel high but millions wide, at 16 bits a channel, would need several times the
// memory of its own pixels for them. A stored row is held to 64 MiB.
constexpr std::int64_t kMaxStoredRowBytes = std::int64_t{64} << 20;

using Context = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

Context newContext(int flags) {
    Context context(spng_ctx_new(flags), spng_ctx_free);
    if (!context)
        throw std::bad_alloc();
    return context;
}

[[noreturn]] void failDecoding(int code) {
    throw Error(format(msg::kPngNotValid, spng_strerror(code)));
}

// ---- Reading ---------------------------------------------------------------------------------

Context openDecoder(std::string_view bytes, std::int64_t maxPixels) {
    Context context = newContext(0);
    const auto side =
        static_cast<std::uint32_t>(std::clamp<std::int64_t>(maxPixels, 1, 0x7FFFFFFF));
    spng_set_image_limits(context.get(), side, side);
    spng_set_chunk_limits(context.get(), kChunkSizeLimit, kChunkCacheLimit);
    if (int code = spng_set_png_buffer(context.get(), bytes.data(), bytes.size()))
        failDecoding(code);
    return context;
}

// The header, refused with "Image too large" when the picture would pass `maxPixels` or its
// rows the limit of a stored row.
spng_ihdr readHeader(spng_ctx* context, std::int64_t maxPixels) {
    spng_ihdr header{};
    const int code = spng_get_ihdr(context, &header);
    if (code == SPNG_EUSER_WIDTH || code == SPNG_EUSER_HEIGHT)
        throw Error(msg::kImageTooLarge);
    if (code != SPNG_OK)
        failDecoding(code);
    const int channels = std::array{1, 0, 3, 1, 2, 0, 4}[header.color_type];
    const std::int64_t rowBits = std::int64_t{header.width} * channels * header.bit_depth;
    if (!withinImageLimits(header.width, header.height, maxPixels) ||
        rowBits > kMaxStoredRowBytes * 8)
        throw Error(msg::kImageTooLarge);
    return header;
}

// The memory a decode to RGBA takes: the picture, and libspng's rows as the file stores them
// (the row, the one before it for the filters, and one more while it expands them).
// Throws "Image too large" for a picture whose rows would take the decoder past kMaxDecodeWork.
void checkDecodeWork(const spng_ihdr& header) {
    const int channels = std::array{1, 0, 3, 1, 2, 0, 4}[header.color_type];
    const std::int64_t rowBytes =
        (std::int64_t{header.width} * channels * header.bit_depth + 7) / 8 + 1 + kRowWorkBytes;
    if (header.height > kMaxDecodeWork / rowBytes)
        throw Error(msg::kImageTooLarge);
}

std::int64_t decodeBytesOf(const spng_ihdr& header) {
    const int channels = std::array{1, 0, 3, 1, 2, 0, 4}[header.color_type];
    const std::int64_t rowBytes =
        (std::int64_t{header.width} * channels * header.bit_depth + 7) / 8 + 1;
    return std::int64_t{header.width} * header.height * 4 + 3 * rowBytes;
}

// Appends the text chunks libspng has read so far; returns libspng's code.
int readText(spng_ctx* context, std::vector<PngText>& text) {
    std::uint32_t count = 0;
    int code = spng_get_text(context, nullptr, &count);
    if (code == SPNG_ECHUNKAVAIL)
        return SPNG_OK;
    std::vector<spng_text> chunks(count);
    if (code == SPNG_OK)
        code = spng_get_text(context, chunks.data(), &count);
    for (std::uint32_t i = 0; code == SPNG_OK && i < count; ++i)
        text.push_back({chunks[i].keyword, std::string(chunks[i].text, chunks[i].length),
                        chunks[i].type == SPNG_ITXT});
    return code;
}

// Decodes into `image`, and the text chunks into `text` when given; returns libspng's code.
// libspng's RGBA8 output with tRNS applied is the pixel contract as it stands: samples of 1, 2
// and 4 bits scaled up, 16-bit ones cut to their high byte, grey copied to red, green and blue,
// and no gamma applied since none is asked for.
int decodeInto(RgbaImage& image, std::string_view bytes, const ImageLimits& limits,
               std::vector<PngText>* text) {
    const Context context = openDecoder(bytes, limits.maxImagePixels);
    const spng_ihdr header = readHeader(context.get(), limits.maxImagePixels);
    checkMemory(limits, decodeBytesOf(header), std::int64_t{header.width} * header.height);
    checkDecodeWork(header);
    std::size_t size = 0;
    if (int code = spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size))
        return code;
    image.width = static_cast<int>(header.width);
    image.height = static_cast<int>(header.height);
    image.pixels.resize(size);
    int code = spng_decode_image(context.get(), image.pixels.data(), size, SPNG_FMT_RGBA8,
                                 SPNG_DECODE_TRNS);
    // The rest of the file, up to IEND: the last IDAT's CRC is only checked there, and a file cut
    // after its pixel data is refused as any other cut file is.
    if (code != SPNG_OK)
        return code;
    code = spng_decode_chunks(context.get());
    return code != SPNG_OK || text == nullptr ? code : readText(context.get(), *text);
}

bool isCriticalOrTransparency(const char* type) {
    return (type[0] & 0x20) == 0 || std::memcmp(type, "tRNS", 4) == 0;
}

// Whether libspng could refuse the file's metadata for its limits: a chunk or all of them
// together past them as stored, or compressed text or a profile, whose size shows only once
// inflated. Such a file is decoded from its pixel chunks at once, never twice.
bool metadataMayPassLimits(std::string_view bytes) {
    constexpr std::size_t kSignature = 8;
    // More than libspng keeps beside a chunk's bytes: many small chunks count too.
    constexpr std::size_t kChunkBookkeeping = 1024;
    std::size_t total = 0;
    for (std::size_t at = kSignature; at + 12 <= bytes.size();) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        const std::size_t length =
            std::size_t{p[0]} << 24 | std::size_t{p[1]} << 16 | std::size_t{p[2]} << 8 | p[3];
        const char* type = bytes.data() + at + 4;
        if (length > bytes.size() - at - 12)
            return false;
        if (!isCriticalOrTransparency(type)) {
            total += length + kChunkBookkeeping;
            if (length > kChunkSizeLimit || total > kChunkCacheLimit ||
                std::memcmp(type, "zTXt", 4) == 0 || std::memcmp(type, "iTXt", 4) == 0 ||
                std::memcmp(type, "iCCP", 4) == 0)
                return true;
        }
        at += length + 12;
    }
    return false;
}

// The file with its ancillary chunks left out but tRNS: what the pixels need. Bytes that do
// not form whole chunks are kept as they are, for the decoder to report.
std::string withoutMetadata(std::string_view bytes) {
    constexpr std::size_t kSignature = 8;
    std::string kept(bytes.substr(0, kSignature));
    std::size_t at = kSignature;
    while (at < bytes.size()) {
        const std::size_t left = bytes.size() - at;
        if (left < 12)
            break;
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        const std::size_t length =
            std::size_t{p[0]} << 24 | std::size_t{p[1]} << 16 | std::size_t{p[2]} << 8 | p[3];
        if (length > left - 12)
            break;
        if (isCriticalOrTransparency(bytes.data() + at + 4))
            kept.append(bytes.substr(at, length + 12));
        at += length + 12;
    }
    kept.append(bytes.substr(at));
    return kept;
}

// ---- Choosing the colour type ----------------------------------------------------------------

std::uint32_t pack32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// What the pixels hold, gathered in one pass.
struct Survey {
    bool grey = true;   // red = green = blue everywhere
    bool opaque = true; // alpha 255 everywhere
    // Alpha only 0 or 255, every transparent pixel of one colour that no opaque pixel has: a
    // single tRNS colour holds the transparency.
    bool keyed = false;
    std::uint32_t keyColour = 0; // red, green, blue of the transparent pixels
    // The grey depths below 8 bits that hold every value exactly, as the bits 1, 2 and 4.
    unsigned greyDepths = 1 | 2 | 4;
    // The distinct colours, in order of first use, while there are at most 256.
    std::vector<std::uint32_t> colours;
    bool fewColours = true;
};

unsigned greyDepthsOf(int value) {
    return (value % 255 == 0 ? 1 : 0) | (value % 85 == 0 ? 2 : 0) | (value % 17 == 0 ? 4 : 0);
}

Survey survey(const RgbaImage& image) {
    Survey found;
    std::unordered_set<std::uint32_t> seen;
    std::array<bool, 256> greyUsed{};
    bool keyHolds = true;
    const std::uint8_t* const begin = image.pixels.data();
    const std::uint8_t* const end = begin + image.pixels.size();
    std::uint32_t last = begin == end ? 0 : ~pack32(begin);
    for (const std::uint8_t* p = begin; p != end; p += 4) {
        const std::uint32_t colour = pack32(p);
        if (colour == last)
            continue;
        last = colour;
        if (p[0] != p[1] || p[1] != p[2])
            found.grey = false;
        else
            greyUsed[p[0]] = true;
        if (p[3] != 255) {
            if (p[3] != 0 || (!found.opaque && (colour & 0xFFFFFF) != found.keyColour))
                keyHolds = false;
            found.opaque = false;
            found.keyColour = colour & 0xFFFFFF;
        }
        if (found.fewColours && seen.insert(colour).second) {
            found.fewColours = found.colours.size() < 256;
            if (found.fewColours)
                found.colours.push_back(colour);
            else
                found.colours.clear();
        }
        if (!found.fewColours && !found.grey && !found.opaque && !keyHolds)
            return found; // only RGBA holds these pixels
    }
    for (int value = 0; value < 256; ++value) {
        if (greyUsed[value])
            found.greyDepths &= greyDepthsOf(value);
    }
    if (!found.opaque && keyHolds) {
        const std::uint32_t opaqueKey = found.keyColour | 0xFF000000u;
        found.keyed = true;
        for (const std::uint8_t* p = begin; p != end && found.keyed; p += 4)
            found.keyed = pack32(p) != opaqueKey;
    }
    return found;
}

int brightness(std::uint32_t colour) {
    return int(colour & 0xFF) * 299 + int(colour >> 8 & 0xFF) * 587 +
           int(colour >> 16 & 0xFF) * 114;
}

// One way of storing the pixels.
struct Layout {
    std::uint8_t colourType = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    std::uint8_t depth = 8;
    std::vector<std::uint32_t> palette; // RGBA, the transparent entries first
    bool keyed = false;                 // a tRNS colour for grey or RGB
    std::uint32_t keyColour = 0;

    Layout() = default;
    Layout(std::uint8_t type, std::uint8_t bits) : colourType(type), depth(bits) {}

    int bitsPerPixel() const {
        switch (colourType) {
        case SPNG_COLOR_TYPE_GRAYSCALE:
        case SPNG_COLOR_TYPE_INDEXED:
            return depth;
        case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
            return 16;
        case SPNG_COLOR_TYPE_TRUECOLOR:
            return 24;
        default:
            return 32;
        }
    }
};

std::uint8_t greyDepth(unsigned fits) {
    for (const std::uint8_t depth : {std::uint8_t{1}, std::uint8_t{2}, std::uint8_t{4}}) {
        if (fits & depth)
            return depth;
    }
    return 8;
}

std::uint8_t paletteDepth(std::size_t count) {
    return count <= 2 ? 1 : count <= 4 ? 2 : count <= 16 ? 4 : 8;
}

// The layouts that hold the pixels exactly, fewest bits per pixel first; grey before a palette
// of the same depth, which needs no PLTE chunk.
std::vector<Layout> layoutsFor(const RgbaImage& image) {
    const Survey found = survey(image);
    std::vector<Layout> layouts;
    const bool plainAlpha = found.opaque || found.keyed;
    if (found.grey && plainAlpha) {
        Layout grey{SPNG_COLOR_TYPE_GRAYSCALE, greyDepth(found.greyDepths)};
        grey.keyed = found.keyed;
        grey.keyColour = found.keyColour;
        layouts.push_back(grey);
    }
    if (found.fewColours) {
        Layout indexed{SPNG_COLOR_TYPE_INDEXED, paletteDepth(found.colours.size())};
        indexed.palette = found.colours;
        // Palettes sorted by brightness pack better: neighbouring indexes then tend to be
        // similar colours. The transparent entries go first, so that tRNS is short.
        std::sort(indexed.palette.begin(), indexed.palette.end(),
                  [](std::uint32_t a, std::uint32_t b) { return brightness(a) < brightness(b); });
        std::stable_partition(indexed.palette.begin(), indexed.palette.end(),
                              [](std::uint32_t colour) { return colour >> 24 != 255; });
        layouts.push_back(indexed);
    }
    if (found.grey)
        layouts.push_back({SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 8});
    if (plainAlpha) {
        Layout rgb{SPNG_COLOR_TYPE_TRUECOLOR, 8};
        rgb.keyed = found.keyed;
        rgb.keyColour = found.keyColour;
        layouts.push_back(rgb);
    }
    layouts.push_back({});
    std::stable_sort(layouts.begin(), layouts.end(), [](const Layout& a, const Layout& b) {
        return a.bitsPerPixel() < b.bitsPerPixel();
    });
    return layouts;
}

// ---- Writing ---------------------------------------------------------------------------------

// Packs the picture's rows as the file stores them, before filtering, one row at a time: the
// encoder never holds a second copy of the picture.
class RowPacker {
public:
    RowPacker(const RgbaImage& image, const Layout& layout)
        : image_(image), layout_(layout),
          rowBytes_((std::size_t(image.width) * layout.bitsPerPixel() + 7) / 8), row_(rowBytes_),
          scale_(255 / ((1 << layout.depth) - 1)) {
        for (std::size_t i = 0; i < layout.palette.size(); ++i)
            index_.emplace(layout.palette[i], static_cast<std::uint8_t>(i));
    }
    std::size_t rowBytes() const { return rowBytes_; }
    const std::vector<std::uint8_t>& pack(int y);

private:
    const RgbaImage& image_;
    const Layout& layout_;
    std::size_t rowBytes_;
    std::vector<std::uint8_t> row_;
    int scale_;
    std::unordered_map<std::uint32_t, std::uint8_t> index_;
};

const std::vector<std::uint8_t>& RowPacker::pack(int y) {
    const std::uint8_t* in = image_.row(y);
    std::uint8_t* out = row_.data();
    switch (layout_.colourType) {
    case SPNG_COLOR_TYPE_GRAYSCALE:
    case SPNG_COLOR_TYPE_INDEXED: {
        std::fill(row_.begin(), row_.end(), 0);
        const bool indexed = layout_.colourType == SPNG_COLOR_TYPE_INDEXED;
        std::uint32_t last = ~pack32(in);
        std::uint8_t value = 0;
        for (int x = 0; x < image_.width; ++x, in += 4) {
            if (!indexed) {
                value = static_cast<std::uint8_t>(in[0] / scale_);
            } else if (const std::uint32_t colour = pack32(in); colour != last) {
                last = colour;
                value = index_.at(colour);
            }
            const int bit = x * layout_.depth;
            out[bit / 8] |= static_cast<std::uint8_t>(value << (8 - layout_.depth - bit % 8));
        }
        break;
    }
    case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
        for (int x = 0; x < image_.width; ++x, in += 4, out += 2) {
            out[0] = in[0];
            out[1] = in[3];
        }
        break;
    case SPNG_COLOR_TYPE_TRUECOLOR:
        for (int x = 0; x < image_.width; ++x, in += 4, out += 3)
            std::memcpy(out, in, 3);
        break;
    default:
        std::memcpy(out, in, rowBytes_);
    }
    return row_;
}

// The file's bytes, until they pass `budget` bytes: a trial that cannot win stops there.
struct Sink {
    std::string bytes;
    std::size_t budget = 0;
    bool over = false;
};

int writeToSink(spng_ctx*, void* user, void* data, std::size_t length) {
    auto* sink = static_cast<Sink*>(user);
    sink->over = sink->bytes.size() + length > sink->budget;
    if (sink->over)
        return SPNG_IO_ERROR;
    sink->bytes.append(static_cast<const char*>(data), length);
    return 0;
}

// One way of filtering and compressing.
struct Trial {
    int filters;
    int strategy;
};

// zlib's strategies.
constexpr int kDefaultStrategy = 0;
constexpr int kFiltered = 1;
constexpr int kHuffmanOnly = 2;
constexpr int kRunLengths = 3;

// The ways that win most often: adaptive filters with the strategy for filtered data
// (photographs), no filtering with the default strategy (buttons, palettes), and three quick
// ones that sometimes pack a little better. The likely winners go first, so that the others
// stop early once they pass the best file so far.
constexpr std::array<Trial, 5> kTrials{{
    {SPNG_FILTER_CHOICE_ALL, kFiltered},
    {SPNG_DISABLE_FILTERING, kDefaultStrategy},
    {SPNG_FILTER_CHOICE_ALL, kHuffmanOnly},
    {SPNG_FILTER_CHOICE_ALL, kRunLengths},
    {SPNG_DISABLE_FILTERING, kRunLengths},
}};

// The trials of a drawn picture, unfiltered: on flat areas and sharp edges filtering packs
// worse and takes most of the time.
constexpr std::array<Trial, 2> kDrawnTrials{{
    {SPNG_DISABLE_FILTERING, kDefaultStrategy},
    {SPNG_DISABLE_FILTERING, kRunLengths},
}};

// The quick pass of a large picture: the Up filter alone, which costs no more than a copy and
// packs a photograph nearly as well as the adaptive choice.
constexpr Trial kQuickTrial{SPNG_FILTER_CHOICE_UP, kFiltered};

// The zlib level and memory of a quick file. On a photograph's thumbnail level 2 writes a file
// about a tenth larger than level 9 in half the time of level 4 and a tenth of encodePng's.
constexpr int kFastLevel = 2;
constexpr int kFastMemLevel = 8;

// Below this many pixels the next layout is tried too: for a small picture the PLTE chunk can
// cost more than wider pixels.
constexpr std::size_t kSmallPicture = 65536;
// Up to this many pixels (a 1000 x 1000 picture) every trial runs; up to kQuickPicture the two
// likeliest ones; past it one quick pass.
constexpr std::size_t kSearchedPicture = 1 << 20;
constexpr std::size_t kQuickPicture = std::size_t{4} << 20;

// The smallest zlib window that still reaches back over all `length` bytes of filtered rows, so
// a small picture compresses exactly as with the largest window without that window's memory.
int windowBitsFor(std::size_t length) {
    constexpr std::size_t kLookahead = 262; // zlib matches reach back at most window - 262 bytes
    int bits = 9;
    while (bits < 15 && (std::size_t{1} << bits) < length + kLookahead)
        ++bits;
    return bits;
}

// The header, palette and transparency of the layout; returns libspng's code.
int setLayout(spng_ctx* c, const RgbaImage& image, const Layout& layout) {
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(image.width);
    header.height = static_cast<std::uint32_t>(image.height);
    header.bit_depth = layout.depth;
    header.color_type = layout.colourType;
    int code = spng_set_ihdr(c, &header);
    if (code == SPNG_OK && !layout.palette.empty()) {
        spng_plte plte{};
        spng_trns trns{};
        plte.n_entries = static_cast<std::uint32_t>(layout.palette.size());
        for (std::size_t i = 0; i < layout.palette.size(); ++i) {
            const std::uint32_t colour = layout.palette[i];
            plte.entries[i] = {static_cast<std::uint8_t>(colour),
                               static_cast<std::uint8_t>(colour >> 8),
                               static_cast<std::uint8_t>(colour >> 16), 255};
            if (colour >> 24 != 255)
                trns.type3_alpha[trns.n_type3_entries++] = static_cast<std::uint8_t>(colour >> 24);
        }
        code = spng_set_plte(c, &plte);
        if (code == SPNG_OK && trns.n_type3_entries > 0)
            code = spng_set_trns(c, &trns);
    } else if (code == SPNG_OK && layout.keyed) {
        spng_trns trns{};
        const int scale = 255 / ((1 << layout.depth) - 1);
        trns.gray = static_cast<std::uint16_t>((layout.keyColour & 0xFF) / scale);
        trns.red = static_cast<std::uint16_t>(layout.keyColour & 0xFF);
        trns.green = static_cast<std::uint16_t>(layout.keyColour >> 8 & 0xFF);
        trns.blue = static_cast<std::uint16_t>(layout.keyColour >> 16 & 0xFF);
        code = spng_set_trns(c, &trns);
    }
    return code;
}

// The text as tEXt chunks, iTXt ones for international text, uncompressed, with no language
// tag or translated keyword; returns libspng's code.
int setText(spng_ctx* c, const std::vector<PngText>& text) {
    if (text.empty())
        return SPNG_OK;
    static char none[] = "";
    std::vector<spng_text> chunks(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i].keyword.empty() || text[i].keyword.size() >= sizeof chunks[i].keyword)
            throw std::invalid_argument("a PNG text keyword has 1 to 79 characters");
        std::memcpy(chunks[i].keyword, text[i].keyword.data(), text[i].keyword.size());
        chunks[i].type = text[i].international ? SPNG_ITXT : SPNG_TEXT;
        chunks[i].language_tag = none;
        chunks[i].translated_keyword = none;
        chunks[i].length = text[i].text.size();
        chunks[i].text = const_cast<char*>(text[i].text.c_str());
    }
    return spng_set_text(c, chunks.data(), static_cast<std::uint32_t>(chunks.size()));
}

// How hard one trial works: zlib's level and memory.
struct Effort {
    int level = 9;
    int memLevel = 9;
};

// The file written with `trial`, or an empty string when it passes `budget` bytes. The rows are
// packed and handed to libspng one at a time.
std::string encodeTrial(const RgbaImage& image, const Layout& layout, const Trial& trial,
                        std::size_t budget, Effort effort = {},
                        const std::vector<PngText>& text = {}) {
    const Context context = newContext(SPNG_CTX_ENCODER);
    spng_ctx* c = context.get();
    Sink sink{{}, budget, false};
    RowPacker packer(image, layout);
    spng_set_png_stream(c, writeToSink, &sink);
    spng_set_option(c, SPNG_IMG_COMPRESSION_LEVEL, effort.level);
    spng_set_option(c, SPNG_IMG_MEM_LEVEL, effort.memLevel);
    spng_set_option(c, SPNG_IMG_WINDOW_BITS,
                    windowBitsFor((packer.rowBytes() + 1) * std::size_t(image.height)));
    spng_set_option(c, SPNG_IMG_COMPRESSION_STRATEGY, trial.strategy);
    spng_set_option(c, SPNG_FILTER_CHOICE, trial.filters);
    int code = setLayout(c, image, layout);
    if (code == SPNG_OK)
        code = setText(c, text);
    if (code == SPNG_OK)
        code = spng_encode_image(c, nullptr, 0, SPNG_FMT_PNG,
                                 SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    for (int y = 0; code == SPNG_OK && y < image.height; ++y) {
        const std::vector<std::uint8_t>& row = packer.pack(y);
        code = spng_encode_row(c, row.data(), row.size());
    }
    if (code == SPNG_EOI)
        code = SPNG_OK;
    if (sink.over)
        return {};
    if (code != SPNG_OK)
        throw Error(format(msg::kPngNotValid, spng_strerror(code)));
    return std::move(sink.bytes);
}

} // namespace

RgbaImage decodePng(std::string_view bytes, const ImageLimits& limits, std::vector<PngText>* text) {
    RgbaImage image;
    if (text == nullptr && metadataMayPassLimits(bytes)) {
        const int code = decodeInto(image, withoutMetadata(bytes), limits, nullptr);
        if (code != SPNG_OK)
            failDecoding(code);
        return image;
    }
    int code = decodeInto(image, bytes, limits, text);
    if (code == SPNG_ECHUNK_LIMITS) {
        // Metadata past the limits: the pixels are read from the chunks that describe them.
        if (text != nullptr)
            text->clear();
        const std::string pixelChunks = withoutMetadata(bytes);
        code = decodeInto(image, pixelChunks, limits, nullptr);
    }
    if (code != SPNG_OK)
        failDecoding(code);
    return image;
}

PictureFileSize measurePng(std::string_view bytes) {
    const Context context = openDecoder(bytes, kMaxImagePixels);
    const spng_ihdr header = readHeader(context.get(), kMaxImagePixels);
    const std::int64_t width = header.width;
    const std::int64_t height = header.height;
    return {{width, height}, width * height};
}

std::int64_t pngDecodeBytes(std::string_view bytes) {
    const Context context = openDecoder(bytes, kMaxImagePixels);
    return decodeBytesOf(readHeader(context.get(), kMaxImagePixels));
}

void checkPngStructure(std::string_view bytes) {
    {
        const Context context = openDecoder(bytes, kMaxImagePixels);
        readHeader(context.get(), kMaxImagePixels);
        // The chunks before the pixel data, as a decode reads them; metadata past the limits
        // is skipped there, so it is no damage.
        if (const int code = spng_decode_chunks(context.get());
            code != SPNG_OK && code != SPNG_ECHUNK_LIMITS)
            failDecoding(code);
    }
    bool pixels = false;
    for (std::size_t at = 8;;) {
        if (at + 12 > bytes.size())
            failDecoding(SPNG_EOF);
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        const std::size_t length =
            std::size_t{p[0]} << 24 | std::size_t{p[1]} << 16 | std::size_t{p[2]} << 8 | p[3];
        if (length > bytes.size() - at - 12)
            failDecoding(SPNG_EOF);
        const unsigned char* end = p + 8 + length;
        const std::uint32_t stored = std::uint32_t{end[0]} << 24 | std::uint32_t{end[1]} << 16 |
                                     std::uint32_t{end[2]} << 8 | end[3];
        const char* type = bytes.data() + at + 4;
        if ((type[0] & 0x20) == 0 && crc32(0, p + 4, static_cast<uInt>(length + 4)) != stored)
            failDecoding(SPNG_ECHUNK_CRC);
        pixels = pixels || std::memcmp(type, "IDAT", 4) == 0;
        if (std::memcmp(type, "IEND", 4) == 0)
            break;
        at += length + 12;
    }
    if (!pixels)
        failDecoding(SPNG_EIDAT_TOO_SHORT);
}

std::vector<PngText> readPngText(std::string_view bytes) {
    const Context context = openDecoder(bytes, kMaxImagePixels);
    readHeader(context.get(), kMaxImagePixels);
    std::vector<PngText> text;
    if (int code = readText(context.get(), text))
        failDecoding(code);
    return text;
}

namespace {

// The layouts a search tries, smallest first: the two smallest for a small picture, whose
// second layout may pack better, else the smallest alone.
std::span<const Layout> searchedLayouts(const RgbaImage& image,
                                        const std::vector<Layout>& layouts) {
    const std::size_t pixels = std::size_t(image.width) * image.height;
    return {layouts.data(), std::min<std::size_t>(pixels <= kSmallPicture ? 2 : 1, layouts.size())};
}

// The smallest file of every layout and trial; each trial stops once it passes the best so far.
std::string smallestOf(const RgbaImage& image, std::span<const Layout> layouts,
                       std::span<const Trial> trials) {
    std::string best;
    std::size_t budget = std::string::npos;
    for (const Layout& layout : layouts) {
        for (const Trial& trial : trials) {
            std::string file = encodeTrial(image, layout, trial, budget);
            if (!file.empty() && file.size() < budget) {
                budget = file.size();
                best = std::move(file);
            }
        }
    }
    return best;
}

} // namespace

std::string encodePng(const RgbaImage& image) {
    const std::size_t budget = std::string::npos;
    const std::vector<Layout> layouts = layoutsFor(image);
    const std::size_t pixels = std::size_t(image.width) * image.height;
    // The search's trials each run zlib over every pixel, and adaptive filtering tries five
    // filters on every row: past a few megapixels one quick pass of one filter keeps the time
    // near that of a decode.
    if (pixels > kQuickPicture)
        return encodeTrial(image, layouts.front(), kQuickTrial, budget,
                           {kFastLevel, kFastMemLevel});
    const std::size_t trials = pixels <= kSearchedPicture ? kTrials.size() : 2;
    return smallestOf(image, searchedLayouts(image, layouts), {kTrials.data(), trials});
}

std::string encodeDrawnPng(const RgbaImage& image) {
    const std::vector<Layout> layouts = layoutsFor(image);
    return smallestOf(image, searchedLayouts(image, layouts), kDrawnTrials);
}

std::string encodePngFast(const RgbaImage& image, const std::vector<PngText>& text,
                          PngContent content) {
    const Layout layout = image.opaque() ? Layout{SPNG_COLOR_TYPE_TRUECOLOR, 8} : Layout{};
    const Trial trial = content == PngContent::Photo
                            ? Trial{SPNG_FILTER_CHOICE_ALL, kFiltered}
                            : Trial{SPNG_DISABLE_FILTERING, kDefaultStrategy};
    return encodeTrial(image, layout, trial, std::string::npos, {kFastLevel, kFastMemLevel}, text);
}

} // namespace kelmor
