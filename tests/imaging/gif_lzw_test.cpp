#include "base/error.h"
#include "imaging/gif_lzw.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace kelmor {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The data sub-blocks of encoded image data joined, after checking their
// framing: the code size byte, full 255-byte blocks, one shorter last block,
// the terminator and nothing after it.
Bytes unblock(const std::string& encoded, int* codeSize = nullptr) {
    Bytes data;
    EXPECT_GE(encoded.size(), 2u);
    if (codeSize)
        *codeSize = static_cast<std::uint8_t>(encoded[0]);
    std::size_t at = 1;
    bool shortSeen = false;
    while (at < encoded.size()) {
        std::size_t length = static_cast<std::uint8_t>(encoded[at++]);
        if (length == 0) {
            EXPECT_EQ(at, encoded.size()) << "bytes after the terminator";
            return data;
        }
        EXPECT_FALSE(shortSeen) << "a block follows a short block";
        shortSeen = length < 255;
        data.insert(data.end(), encoded.begin() + at, encoded.begin() + at + length);
        at += length;
    }
    ADD_FAILURE() << "no terminator";
    return data;
}

// Reads the code stream with the width rule of a standard decoder and
// records each code with the width it was read at.
struct Code {
    unsigned value;
    unsigned width;
};
std::vector<Code> parseCodes(const Bytes& data, int m) {
    std::vector<Code> codes;
    const unsigned clear = 1u << m;
    unsigned width = m + 1, next = clear + 2;
    bool first = true;
    std::size_t bit = 0;
    while (bit + width <= data.size() * 8) {
        unsigned code = 0;
        for (unsigned i = 0; i < width; ++i, ++bit)
            code |= ((data[bit / 8] >> (bit % 8)) & 1u) << i;
        codes.push_back({code, width});
        if (code == clear + 1)
            break;
        if (code == clear) {
            width = m + 1;
            next = clear + 2;
            first = true;
            continue;
        }
        if (!first && next < 4096 && ++next == (1u << width) && width < 12)
            ++width;
        first = false;
    }
    return codes;
}

// With m = 8 and pixels that never repeat a pair, every output is one root:
// the clear code and the first 255 codes after it are 9 bits wide, the
// following ones 10 bits.
TEST(GifLzwEncoder, WidthGrowsAfterTheTwoHundredFiftyFifthCode) {
    Bytes pixels;
    for (int i = 0; i < 300; ++i)
        pixels.push_back(static_cast<std::uint8_t>((i * 7) % 256 ^ (i / 256)));
    std::string out;
    gifLzwEncode(out, 8, pixels.data(), 300, 1, false, 256);

    // Expected bit stream: C, each pixel as a root, E.
    Bytes expected;
    std::uint64_t acc = 0;
    unsigned bits = 0;
    auto put = [&](unsigned code, unsigned width) {
        acc |= std::uint64_t(code) << bits;
        for (bits += width; bits >= 8; bits -= 8, acc >>= 8)
            expected.push_back(static_cast<std::uint8_t>(acc));
    };
    put(256, 9);
    for (int i = 0; i < 300; ++i)
        put(pixels[i], i < 255 ? 9 : 10);
    put(257, 10);
    if (bits)
        expected.push_back(static_cast<std::uint8_t>(acc));
    EXPECT_EQ(unblock(out), expected);
}

// Along a run of one colour each code is the string added just before it: the colour, 258,
// 259, ..., each one pixel longer.
TEST(GifLzwEncoder, ARunOfOneColourTakesEachNewStringInTurn) {
    for (const unsigned colour : {0u, 200u}) {
        const Bytes pixels(1 + 2 + 3 + 4 + 5, static_cast<std::uint8_t>(colour));
        std::string out;
        gifLzwEncode(out, 8, pixels.data(), 15, 1, false, 256);
        std::vector<unsigned> values;
        for (const Code& code : parseCodes(unblock(out), 8))
            values.push_back(code.value);
        EXPECT_EQ(values, (std::vector<unsigned>{256, colour, 258, 259, 260, 261, 257}));
    }
}

TEST(GifLzwEncoder, ClearCodeFollowsWhenTheNextFreeCodeReaches4095) {
    std::mt19937 random(7);
    Bytes pixels(60000);
    for (auto& p : pixels)
        p = static_cast<std::uint8_t>(random() & 0x3F);
    std::string out;
    gifLzwEncode(out, 6, pixels.data(), 300, 200, false, 64);
    int m = 0;
    const Bytes data = unblock(out, &m);
    std::vector<Code> codes = parseCodes(data, m);
    ASSERT_EQ(m, 6);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front().value, 64u);
    EXPECT_EQ(codes.back().value, 65u);
    // Codes after the first clear: entries are added from the second code on;
    // after the code that makes the next free code 4095, a 12-bit clear.
    int clears = 0;
    unsigned next = 66;
    bool first = true;
    for (std::size_t i = 1; i + 1 < codes.size(); ++i) {
        ASSERT_LE(codes[i].width, 12u);
        if (codes[i].value == 64) {
            ++clears;
            EXPECT_EQ(next, 4095u) << "clear at code " << i;
            EXPECT_EQ(codes[i].width, 12u);
            EXPECT_EQ(codes[i + 1].width, 7u);
            next = 66;
            first = true;
            continue;
        }
        EXPECT_LT(codes[i].value, first ? 64u : next + 1);
        if (!first)
            ++next;
        first = false;
    }
    EXPECT_GE(clears, 2);
}

// Hand-packs codes of the given widths into a byte stream.
Bytes pack(const std::vector<Code>& codes) {
    Bytes bytes;
    std::uint64_t acc = 0;
    unsigned bits = 0;
    for (const Code& c : codes) {
        acc |= std::uint64_t(c.value) << bits;
        for (bits += c.width; bits >= 8; bits -= 8, acc >>= 8)
            bytes.push_back(static_cast<std::uint8_t>(acc));
    }
    if (bits)
        bytes.push_back(static_cast<std::uint8_t>(acc));
    return bytes;
}

class GifLzwDecoderTest : public testing::Test {
protected:
    Bytes run(int m, const std::vector<Code>& codes, std::size_t count) {
        Bytes data = pack(codes);
        out.assign(count, 0xEE);
        decoder.start(m, out.data(), out.size());
        finished = decoder.feed(data.data(), data.size());
        return Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(decoder.produced()));
    }
    GifLzwDecoder decoder;
    Bytes out;
    bool finished = false;
};

TEST_F(GifLzwDecoderTest, FullTableKeepsDecodingWithoutNewEntries) {
    // m = 2: fill the table to 4096 with repeats of 1, then use code 4095 and
    // roots at 12 bits without a clear.
    std::vector<Code> codes{{4, 3}, {1, 3}};
    unsigned next = 6, width = 3;
    std::size_t total = 1, length = 1;
    while (next < 4096) {
        codes.push_back({next, width}); // the string just added: one longer each time
        ++length;
        total += length;
        if (++next == (1u << width) && width < 12)
            ++width;
    }
    codes.push_back({2, 12});
    codes.push_back({4095, 12});
    codes.push_back({5, 12});
    Bytes decoded = run(2, codes, total + 1 + length);
    ASSERT_EQ(decoded.size(), total + 1 + length);
    EXPECT_TRUE(finished);
    EXPECT_EQ(decoded[total], 2);
    EXPECT_EQ(std::count(decoded.begin(), decoded.end(), 1), std::ptrdiff_t(total + length));
}

} // namespace
} // namespace kelmor
