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
            for (int i = 0; i < 4; ++i) {
                byte(static_cast<std::uint8_t>(bits_));
                bits_ >>= 8;
            }
            count_ -= 32;
        }
    }

    // Emits the remaining bits, the last byte padded with zeros, the last
    // (shorter) block and the terminator.
    void finish() {
        while (count_ > 0) {
            byte(static_cast<std::uint8_t>(bits_));
            bits_ >>= 8;
            count_ = count_ > 8 ? count_ - 8 : 0;
        }
        if (used_ > 0) {
            out_.push_back(static_cast<char>(used_));
            out_.append(reinterpret_cast<const char*>(block_), used_);
        }
        out_.push_back('\0');
    }

private:
    void byte(std::uint8_t value) {
        block_[used_++] = value;
        if (used_ == 255) {
            out_.push_back(static_cast<char>(255));
            out_.append(reinterpret_cast<const char*>(block_), 255);
            used_ = 0;
        }
    }

    std::string& out_;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
    std::uint8_t block_[255];
    unsigned used_ = 0;
};

// String table keyed by (code of the current string, pixel). Small alphabets
// use a direct array, larger ones an open-addressing hash table.
class DirectTable {
public:
    explicit DirectTable(unsigned minCodeSize)
        : shift_(minCodeSize), codes_(std::size_t(kMaxCodes) << minCodeSize) {}
    void clear() { std::fill(codes_.begin(), codes_.end(), std::uint16_t(0)); }
    unsigned find(unsigned prefix, unsigned pixel) const {
        return codes_[(prefix << shift_) | pixel];
    }
    void add(unsigned prefix, unsigned pixel, unsigned code) {
        codes_[(prefix << shift_) | pixel] = static_cast<std::uint16_t>(code);
    }

private:
    unsigned shift_;
    std::vector<std::uint16_t> codes_; // 0: no entry (every assigned code is at least 6)
};

// The hash table also keeps the string last added under each code and tries it first: along a
// run of one colour every step extends that string, so a long run costs one direct look-up per
// pixel instead of a hash and a probe.
class HashTable {
public:
    HashTable() : slots_(kSize), lastAdded_(kMaxCodes) {}
    void clear() {
        std::fill(slots_.begin(), slots_.end(), 0u);
        std::fill(lastAdded_.begin(), lastAdded_.end(), 0u);
    }
    unsigned find(unsigned prefix, unsigned pixel) const {
        if (const std::uint32_t last = lastAdded_[prefix]; last >> 12 == pixel && last != 0)
            return last & 0xFFF;
        std::uint32_t key = (prefix << 8) | pixel;
        for (std::uint32_t i = hash(key);; i = (i + 1) & (kSize - 1)) {
            std::uint32_t slot = slots_[i];
            if (slot == 0)
                return 0;
            if ((slot >> 12) == key)
                return slot & 0xFFF;
        }
    }
    void add(unsigned prefix, unsigned pixel, unsigned code) {
        lastAdded_[prefix] = pixel << 12 | code;
        std::uint32_t key = (prefix << 8) | pixel;
        std::uint32_t i = hash(key);
        while (slots_[i] != 0)
            i = (i + 1) & (kSize - 1);
        slots_[i] = (key << 12) | code;
    }

private:
    static constexpr std::uint32_t kBits = 14;
    static constexpr std::uint32_t kSize = 1u << kBits;
    static std::uint32_t hash(std::uint32_t key) { return (key * 2654435761u) >> (32 - kBits); }
    std::vector<std::uint32_t> slots_;     // key << 12 | code; 0 when free
    std::vector<std::uint32_t> lastAdded_; // by prefix: pixel << 12 | code; 0 when none
};

// The rows of a frame in coding order.
template <typename Visit> void forEachRow(int height, bool interlaced, Visit visit) {
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            visit(y);
        return;
    }
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            visit(y);
}

template <typename Table>
void encode(CodeWriter& writer, Table& table, unsigned minCodeSize, const std::uint8_t* pixels,
            int width, int height, bool interlaced, unsigned limit) {
    const unsigned clear = 1u << minCodeSize;
    unsigned next = clear + 2;
    unsigned codeWidth = minCodeSize + 1;
    unsigned largest = (1u << codeWidth) - 1;
    table.clear();

    // Writes a code and then adjusts the width for the next one.
    auto output = [&](unsigned code) {
        writer.put(code, codeWidth);
        if (code == clear) {
            codeWidth = minCodeSize + 1;
            largest = (1u << codeWidth) - 1;
        } else if (next > largest && codeWidth < 12) {
            ++codeWidth;
            largest = codeWidth == 12 ? kMaxCodes : (1u << codeWidth) - 1;
        }
    };

    output(clear);
    bool first = true;
    unsigned current = 0;
    forEachRow(height, interlaced, [&](int y) {
        const std::uint8_t* p = pixels + static_cast<std::size_t>(y) * width;
        const std::uint8_t* end = p + width;
        if (first) {
            if (*p >= limit)
                throw Error(msg::kColorNotInColorTable);
            current = *p++;
            first = false;
        }
        for (; p != end; ++p) {
            unsigned pixel = *p;
            if (pixel >= limit)
                throw Error(msg::kColorNotInColorTable);
            if (unsigned code = table.find(current, pixel); code != 0) {
                current = code;
                continue;
            }
            output(current);
            if (next >= kMaxCodes - 1) {
                output(clear);
                table.clear();
                next = clear + 2;
            } else {
                table.add(current, pixel, next++);
            }
            current = pixel;
        }
    });
    output(current);
    writer.put(clear + 1, codeWidth);
}

} // namespace

void gifLzwEncode(std::string& out, int minCodeSize, const std::uint8_t* pixels, int width,
                  int height, bool interlaced, unsigned colorLimit) {
    out.push_back(static_cast<char>(minCodeSize));
    CodeWriter writer(out);
    const unsigned m = static_cast<unsigned>(minCodeSize);
    if (pixels == nullptr || width <= 0 || height <= 0) {
        writer.put((1u << m) + 1, m + 1);
    } else if (m <= 4) {
        DirectTable table(m);
        encode(writer, table, m, pixels, width, height, interlaced, colorLimit);
    } else {
        HashTable table;
        encode(writer, table, m, pixels, width, height, interlaced, colorLimit);
    }
    writer.finish();
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
