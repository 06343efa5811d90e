#include "imaging/gif_lzw.h"

#include "base/error.h"
#include "base/messages.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelmor {
namespace {

constexpr unsigned kMaxCodes = 4096;

// Packs codes least significant bit first and gathers the bytes into data
// sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::string& out) : out_(out) {}

    void put(unsigned code, unsigned width) {
        bits_ |= static_cast<std::uint64_t>(code) << count_;
        count_ += width;
        if (count_ >= 32) {
            for (unsigned i = 0; i < 4; ++i)
                block_[used_ + i] = static_cast<std::uint8_t>(bits_ >> (8 * i));
            used_ += 4;
            bits_ >>= 32;
            count_ -= 32;
            if (used_ >= 255)
                flushBlock();
        }
    }

    // Emits the remaining bits, the last byte padded with zeros, the last
    // (shorter) block and the terminator.
    void finish() {
        for (; count_ > 0; count_ = count_ > 8 ? count_ - 8 : 0) {
            block_[used_++] = static_cast<std::uint8_t>(bits_);
            bits_ >>= 8;
        }
        if (used_ >= 255)
            flushBlock();
        if (used_ > 0) {
            out_.push_back(static_cast<char>(used_));
            out_.append(reinterpret_cast<const char*>(block_), used_);
        }
        out_.push_back('\0');
    }

private:
    // Writes one full block and keeps the bytes past it for the next.
    void flushBlock() {
        out_.push_back(static_cast<char>(255));
        out_.append(reinterpret_cast<const char*>(block_), 255);
        used_ -= 255;
        std::memmove(block_, block_ + 255, used_);
    }

    std::string& out_;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
    std::uint8_t block_[255 + 8];
    unsigned used_ = 0;
};

// Whether any of the n pixels is `limit` or more. The inner loop has a fixed length, so the
// compiler turns it into vector code.
bool anyPixelFrom(const std::uint8_t* pixels, std::size_t n, unsigned limit) {
    std::uint8_t highest = 0;
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        std::uint8_t chunk = 0;
        for (std::size_t k = 0; k < 64; ++k)
            chunk = std::max(chunk, pixels[i + k]);
        highest = std::max(highest, chunk);
    }
    for (; i < n; ++i)
        highest = std::max(highest, pixels[i]);
    return highest >= limit;
}

} // namespace

// The string table: for each string (its code) and next pixel, the code of the string one
// pixel longer, in a direct table of 4096 x 2^m slots (0: none). A clear empties only the
// slots filled since the last one. How a look-up runs depends on the alphabet:
// - up to 16 colours, a slot holds the longer code already shifted by m, so each step along
//   the pixels is one OR and one load;
// - 32 or 64 colours, the string last added under each code is tried first: along a run of
//   one colour every step extends it, and that small array stays in the nearest cache;
// - 128 or 256 colours, the table no longer fits the caches, so a bit per code and pixel
//   (pixels taken modulo 64) says which slots can hold a string, and most failing look-ups
//   never reach the table.
struct GifLzwEncoder::Tables {
    std::vector<std::uint16_t> child;
    std::uint32_t slotOf[kMaxCodes] = {};    // the slot each assigned code fills
    std::uint32_t lastAdded[kMaxCodes] = {}; // (pixel + 1) << 12 | code; 0 when none
    std::uint64_t children[kMaxCodes] = {};  // bit pixel % 64: a longer string may exist
    bool dirty = false;                      // slots may be filled (an encoding stopped)
};

namespace {

using Tables = GifLzwEncoder::Tables;

// A position in the table is a cursor: from it, step() follows one pixel (0: no such string).
struct ShiftedTable {
    Tables& t;
    unsigned m;
    unsigned cursor(unsigned code) const { return code << m; }
    unsigned step(unsigned cursor, unsigned pixel) const { return t.child[cursor | pixel]; }
    unsigned code(unsigned cursor) const { return cursor >> m; }
    void add(unsigned code, unsigned pixel, unsigned longer) {
        const unsigned slot = code << m | pixel;
        t.child[slot] = static_cast<std::uint16_t>(longer << m);
        t.slotOf[longer] = slot;
    }
    void reset(unsigned) {}
};

// The tables below are walked by code: a cursor is the code itself.
struct CodeCursor {
    Tables& t;
    unsigned m;
    unsigned cursor(unsigned code) const { return code; }
    unsigned code(unsigned cursor) const { return cursor; }
    void fill(unsigned code, unsigned pixel, unsigned longer) {
        const unsigned slot = code << m | pixel;
        t.child[slot] = static_cast<std::uint16_t>(longer);
        t.slotOf[longer] = slot;
    }
};

struct RunTable : CodeCursor {
    unsigned step(unsigned code, unsigned pixel) const {
        if (const std::uint32_t last = t.lastAdded[code]; last >> 12 == pixel + 1)
            return last & 0xFFF;
        return t.child[code << m | pixel];
    }
    void add(unsigned code, unsigned pixel, unsigned longer) {
        fill(code, pixel, longer);
        t.lastAdded[code] = (pixel + 1) << 12 | longer;
        t.lastAdded[longer] = 0;
    }
    void reset(unsigned firstFree) { std::fill_n(t.lastAdded, firstFree, 0u); }
};

struct SparseTable : CodeCursor {
    unsigned step(unsigned code, unsigned pixel) const {
        if (((t.children[code] >> (pixel & 63)) & 1) == 0)
            return 0;
        return t.child[code << m | pixel];
    }
    void add(unsigned code, unsigned pixel, unsigned longer) {
        fill(code, pixel, longer);
        t.children[code] |= std::uint64_t(1) << (pixel & 63);
        t.children[longer] = 0;
    }
    void reset(unsigned firstFree) { std::fill_n(t.children, firstFree, std::uint64_t(0)); }
};

// Empties the slots of the codes from `first` up to `next` and the per-code data of the roots.
template <typename Table> void clearTable(Table& table, unsigned first, unsigned next) {
    for (unsigned code = first; code < next; ++code)
        table.t.child[table.t.slotOf[code]] = 0;
    table.reset(first);
}

// The rows of a frame in coding order: one pass of every row, or the four interlaced passes.
struct RowPasses {
    explicit RowPasses(bool interlaced) : first(interlaced ? 0 : 4), last(interlaced ? 4 : 5) {}
    static constexpr int kStart[5] = {0, 4, 2, 1, 0};
    static constexpr int kStep[5] = {8, 8, 4, 2, 1};
    int first, last;
};

template <typename Table>
void encodeCodes(CodeWriter& writer, Table table, const std::uint8_t* pixels, int width, int height,
                 bool interlaced) {
    const unsigned m = table.m;
    const unsigned clear = 1u << m;
    unsigned next = clear + 2;
    unsigned codeWidth = m + 1;
    unsigned largest = (1u << codeWidth) - 1;
    table.reset(next);

    // Writes a code and then widens the codes when the next free code needs it.
    auto output = [&](unsigned code) {
        writer.put(code, codeWidth);
        if (next > largest && codeWidth < 12) {
            ++codeWidth;
            largest = codeWidth == 12 ? kMaxCodes : (1u << codeWidth) - 1;
        }
    };

    writer.put(clear, codeWidth);
    unsigned current = pixels[0];
    const RowPasses passes(interlaced);
    for (int pass = passes.first; pass < passes.last; ++pass) {
        for (int y = RowPasses::kStart[pass]; y < height; y += RowPasses::kStep[pass]) {
            const std::uint8_t* p = pixels + static_cast<std::size_t>(y) * width;
            const std::uint8_t* const end = p + width;
            if (p == pixels)
                ++p;
            while (p != end) {
                // Follow the table as far as the pixels go.
                unsigned cursor = table.cursor(current);
                for (; p != end; ++p) {
                    const unsigned longer = table.step(cursor, *p);
                    if (longer == 0)
                        break;
                    cursor = longer;
                }
                current = table.code(cursor);
                if (p == end)
                    break;
                output(current);
                if (next >= kMaxCodes - 1) {
                    writer.put(clear, codeWidth);
                    codeWidth = m + 1;
                    largest = (1u << codeWidth) - 1;
                    clearTable(table, clear + 2, next);
                    next = clear + 2;
                } else {
                    table.add(current, *p, next++);
                }
                current = *p++;
            }
        }
    }
    output(current);
    writer.put(clear + 1, codeWidth);
    clearTable(table, clear + 2, next);
}

} // namespace

GifLzwEncoder::GifLzwEncoder() : tables_(std::make_unique<Tables>()) {}
GifLzwEncoder::~GifLzwEncoder() = default;

void GifLzwEncoder::encode(std::string& out, int minCodeSize, const std::uint8_t* pixels, int width,
                           int height, bool interlaced, unsigned colorLimit) {
    out.push_back(static_cast<char>(minCodeSize));
    CodeWriter writer(out);
    const unsigned m = static_cast<unsigned>(minCodeSize);
    if (pixels == nullptr || width <= 0 || height <= 0) {
        writer.put((1u << m) + 1, m + 1);
        writer.finish();
        return;
    }
    if (colorLimit < 256 &&
        anyPixelFrom(pixels, static_cast<std::size_t>(width) * height, colorLimit))
        throw Error(msg::kColorNotInColorTable);
    Tables& t = *tables_;
    const std::size_t slots = std::size_t(kMaxCodes) << m;
    if (t.child.size() < slots || t.dirty)
        t.child.assign(std::max(slots, t.child.size()), 0);
    t.dirty = true;
    if (m <= 4)
        encodeCodes(writer, ShiftedTable{t, m}, pixels, width, height, interlaced);
    else if (m <= 6)
        encodeCodes(writer, RunTable{{t, m}}, pixels, width, height, interlaced);
    else
        encodeCodes(writer, SparseTable{{t, m}}, pixels, width, height, interlaced);
    t.dirty = false;
    writer.finish();
}

void gifLzwEncode(std::string& out, int minCodeSize, const std::uint8_t* pixels, int width,
                  int height, bool interlaced, unsigned colorLimit) {
    GifLzwEncoder().encode(out, minCodeSize, pixels, width, height, interlaced, colorLimit);
}

void GifLzwDecoder::start(int minCodeSize, std::uint8_t* out, std::size_t count) {
    out_ = out;
    count_ = count;
    pos_ = 0;
    bits_ = 0;
    bitCount_ = 0;
    minCodeSize_ = static_cast<unsigned>(minCodeSize);
    clear_ = 1u << minCodeSize_;
    width_ = minCodeSize_ + 1;
    mask_ = (1u << width_) - 1;
    next_ = clear_ + 2;
    havePrev_ = false;
    finished_ = false;
}

bool GifLzwDecoder::feed(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* p = data;
    const std::uint8_t* end = data + size;
    while (!finished_) {
        if (bitCount_ < width_) {
            if (end - p >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p, 8);
                bits_ |= word << bitCount_;
                p += (63 - bitCount_) >> 3;
                bitCount_ |= 56;
            } else {
                while (bitCount_ < width_ && p != end) {
                    bits_ |= static_cast<std::uint64_t>(*p++) << bitCount_;
                    bitCount_ += 8;
                }
                if (bitCount_ < width_)
                    return false;
            }
        }
        unsigned code = static_cast<unsigned>(bits_) & mask_;
        bits_ >>= width_;
        bitCount_ -= width_;
        if (pos_ >= count_ || code == clear_ + 1) {
            finished_ = true;
        } else if (code == clear_) {
            next_ = clear_ + 2;
            width_ = minCodeSize_ + 1;
            mask_ = (1u << width_) - 1;
            havePrev_ = false;
        } else {
            decodeCode(code);
        }
    }
    return true;
}

void GifLzwDecoder::decodeCode(unsigned code) {
    std::uint8_t* dst = out_ + pos_;
    const std::size_t room = count_ - pos_;
    std::uint32_t length = 1;
    if (code < clear_) {
        *dst = static_cast<std::uint8_t>(code);
    } else {
        // Every string of the table already lies in the output, ending before dst.
        std::uint32_t from;
        const bool pending = code == next_; // the previous string and its own first pixel
        if (code > clear_ + 1 && code < next_) {
            from = offset_[code];
            length = length_[code];
        } else if (pending && havePrev_) {
            from = prevOffset_;
            length = prevLength_ + 1;
        } else {
            throw Error(msg::kCircularDecoderTableEntry);
        }
        const std::uint8_t* src = out_ + from;
        if (length <= 16 && room >= 16) {
            // Copying 16 bytes at once only writes scratch values past the
            // string, which later codes overwrite.
            std::uint64_t a, b;
            std::memcpy(&a, src, 8);
            std::memcpy(&b, src + 8, 8);
            std::memcpy(dst, &a, 8);
            std::memcpy(dst + 8, &b, 8);
            if (pending)
                dst[length - 1] = *src;
        } else if (length <= room) {
            std::memcpy(dst, src, pending ? length - 1 : length);
            if (pending)
                dst[length - 1] = *src;
        } else {
            std::memcpy(dst, src, room);
        }
    }
    if (havePrev_ && next_ < kMaxCodes) {
        offset_[next_] = prevOffset_;
        length_[next_] = prevLength_ + 1;
        if (++next_ > mask_ && width_ < 12) {
            ++width_;
            mask_ = (1u << width_) - 1;
        }
    }
    havePrev_ = true;
    prevOffset_ = static_cast<std::uint32_t>(pos_);
    prevLength_ = length;
    pos_ += std::min<std::size_t>(length, room);
}

} // namespace kelmor
