#include "imaging/hostile_pictures.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <zlib.h>

namespace kelmor::test {
namespace {

std::string le16(int value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}
std::string be16(int value) {
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string jpegFrame(int marker, int width, int height, int components) {
    std::string payload = "\x08" + be16(height) + be16(width) + static_cast<char>(components);
    for (int id = 1; id <= components; ++id)
        payload += std::string{static_cast<char>(id), '\x11', '\0'};
    const std::string table = '\0' + std::string(64, '\1');
    // One one-bit code in the DC and in the AC table.
    const std::string oneCode = std::string("\1", 1) + std::string(15, '\0') + '\0';
    return jpegSegment(0xDB, table) + jpegSegment(marker, payload) +
           jpegSegment(0xC4, '\0' + oneCode) + jpegSegment(0xC4, "\x10" + oneCode);
}

std::string jpegScan(int components, int lastCoefficient) {
    std::string payload(1, static_cast<char>(components));
    for (int id = 1; id <= components; ++id)
        payload += std::string{static_cast<char>(id), '\0'};
    return jpegSegment(0xDA, payload + std::string{'\0', static_cast<char>(lastCoefficient), '\0'});
}

const std::string kStart("\xFF\xD8", 2);
const std::string kEnd("\xFF\xD9", 2);

} // namespace

std::string emptyFramesGif(int width, int height, const std::vector<GifFrameSize>& frames) {
    std::string gif = "GIF89a" + le16(width) + le16(height) + std::string("\x80\0\0", 3) +
                      std::string("\0\0\0\xFF\xFF\xFF", 6);
    for (const GifFrameSize& frame : frames)
        gif += ',' + le16(0) + le16(0) + le16(frame.width) + le16(frame.height) +
               std::string("\0\x02\x01\x2C\0", 5);
    return gif + ';';
}

std::string jpegSegment(int marker, const std::string& payload) {
    return std::string{'\xFF', static_cast<char>(marker)} +
           be16(static_cast<int>(payload.size()) + 2) + payload;
}

std::string emptyJpeg(int width, int height, int components, const std::string& beforeFrame) {
    return kStart + beforeFrame + jpegFrame(0xC0, width, height, components) +
           jpegScan(components, 63) + kEnd;
}

std::string emptyProgressiveJpeg(int width, int height, int components, int scans,
                                 const std::string& beforeFrame) {
    std::string jpeg = kStart + beforeFrame + jpegFrame(0xC2, width, height, components);
    for (int i = 0; i < scans; ++i)
        jpeg += jpegScan(components, 0);
    return jpeg + kEnd;
}

namespace {

std::string be32(std::uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

std::string le32(std::uint32_t value) {
    return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

std::uint32_t crc32Of(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string pngChunk(const std::string& type, const std::string& data) {
    return be32(static_cast<std::uint32_t>(data.size())) + type + data + be32(crc32Of(type + data));
}

} // namespace

std::string claimingPng(int width, int height) {
    const std::string header = be32(static_cast<std::uint32_t>(width)) +
                               be32(static_cast<std::uint32_t>(height)) +
                               std::string("\x08\x06\0\0\0", 5); // 8-bit RGBA, not interlaced
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) + pngChunk("IEND", "");
}

std::string claimingWebp(int width, int height) {
    const auto side = [](int value) {
        const auto stored = static_cast<std::uint32_t>(value - 1);
        return std::string{char(stored), char(stored >> 8), char(stored >> 16)};
    };
    const std::string vp8x = "VP8X" + le32(10) + std::string(4, '\0') + side(width) + side(height);
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + vp8x.size())) + "WEBP" + vp8x;
}

namespace {

std::string deflated(const std::function<std::string(int)>& row, int rows) {
    z_stream stream{};
    if (deflateInit(&stream, 6) != Z_OK)
        throw std::runtime_error("zlib");
    std::string out;
    char buffer[1 << 16];
    for (int y = 0; y <= rows; ++y) {
        std::string input = y < rows ? row(y) : std::string();
        stream.next_in = reinterpret_cast<Bytef*>(input.data());
        stream.avail_in = static_cast<uInt>(input.size());
        const int flush = y < rows ? Z_NO_FLUSH : Z_FINISH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            out.append(buffer, sizeof buffer - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return out;
}

std::string pngFile(int width, int height, int depth, int colourType, const std::string& data,
                    const std::string& afterPixels) {
    const std::string header = be32(static_cast<std::uint32_t>(width)) +
                               be32(static_cast<std::uint32_t>(height)) + char(depth) +
                               char(colourType) + std::string(3, '\0');
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) + pngChunk("IDAT", data) + afterPixels +
           pngChunk("IEND", "");
}

// Writes `value` into the bit stream from its least significant bit, as VP8L reads it.
class LsbBits {
public:
    void put(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i, ++bits_) {
            if (bits_ % 8 == 0)
                bytes_ += '\0';
            if (value >> i & 1)
                bytes_.back() = char(bytes_.back() | 1 << (bits_ % 8));
        }
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
    int bits_ = 0;
};

std::string riffChunk(const std::string& tag, const std::string& data) {
    return tag + le32(static_cast<std::uint32_t>(data.size())) + data +
           (data.size() % 2 ? std::string(1, '\0') : "");
}

std::string le24(int value) {
    return le32(static_cast<std::uint32_t>(value)).substr(0, 3);
}

std::string vp8lFlat(int width, int height, int red) {
    LsbBits bits;
    bits.put(0x2F, 8);
    bits.put(static_cast<std::uint32_t>(width - 1), 14);
    bits.put(static_cast<std::uint32_t>(height - 1), 14);
    bits.put(1, 1); // alpha used
    bits.put(0, 3); // version
    bits.put(0, 3); // no transform, no colour cache, no meta prefix codes
    // Green, red, blue and alpha codes of one 8-bit symbol each, then a distance code of one.
    for (const int symbol : {0, red, 0, 255}) {
        bits.put(0b101, 3); // simple code, one symbol, of 8 bits
        bits.put(static_cast<std::uint32_t>(symbol), 8);
    }
    bits.put(0b0001, 4); // simple code, one symbol, of 1 bit: 0
    return bits.bytes();
}

std::string riffWebp(const std::string& body) {
    return "RIFF" + le32(static_cast<std::uint32_t>(body.size() + 4)) + "WEBP" + body;
}

} // namespace

std::string gradientPng(int width, int height, int bitDepth, const std::string& afterPixels) {
    const int sample = bitDepth / 8;
    // Sub-filtered: red and alpha rise by one a pixel, blue by three, green follows the row.
    std::string step(static_cast<std::size_t>(4 * sample), '\0');
    for (int channel = 0; channel < 4; ++channel)
        step[std::size_t(channel * sample + sample - 1)] = char(std::array{1, 0, 3, 1}[channel]);
    std::string first(1, '\x01');
    first += std::string(std::size_t(4 * sample), '\0');
    for (int x = 1; x < width; ++x)
        first += step;
    const auto row = [&](int y) {
        std::string bytes = first;
        bytes[std::size_t(1 + 2 * sample - 1)] = char(y & 0xFF); // green
        bytes[std::size_t(1 + 4 * sample - 1)] = char(y & 0xFF); // alpha
        return bytes;
    };
    return pngFile(width, height, bitDepth, 6, deflated(row, height), afterPixels);
}

std::string zTxtChunk(int size) {
    const std::string text(static_cast<std::size_t>(size), 'x');
    return pngChunk("zTXt", std::string("k\0\0", 3) + deflated([&](int) { return text; }, 1));
}

std::string tallPng(int height) {
    constexpr int kRowsAtOnce = 4096;
    std::string rows;
    for (int i = 0; i < kRowsAtOnce; ++i)
        rows += std::string("\0\x80", 2);
    return pngFile(1, height, 1, 0, deflated([&](int) { return rows; }, height / kRowsAtOnce), "");
}

std::string flatWebp(int width, int height) {
    return riffWebp(riffChunk("VP8L", vp8lFlat(width, height, 255)));
}

std::string flatAnimatedWebp(int width, int height, int frames, int frameWidth, int frameHeight) {
    std::string body = riffChunk("VP8X", le32(0x12) + le24(width - 1) + le24(height - 1));
    body += riffChunk("ANIM", std::string(6, '\0'));
    for (int i = 0; i < frames; ++i) {
        const std::string placement =
            le24(0) + le24(0) + le24(frameWidth - 1) + le24(frameHeight - 1) + le24(100) + '\x02';
        body += riffChunk(
            "ANMF", placement + riffChunk("VP8L", vp8lFlat(frameWidth, frameHeight, i * 7 & 0xFF)));
    }
    return riffWebp(body);
}

std::string claimingSvg(int width, int height) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) +
           "\" height=\"" + std::to_string(height) +
           "\"><rect width=\"10\" height=\"10\"/></svg>\n";
}

namespace {

const std::string kSvgStart = "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                              "xmlns:xlink=\"http://www.w3.org/1999/xlink\" ";

std::string base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i)
            group = group << 8 | (i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u);
        for (std::size_t i = 0; i < 4; ++i)
            text += i <= count ? digits[group >> (18 - 6 * i) & 63] : '=';
    }
    return text;
}

// Deflate codes go least significant bit first, Huffman codes most significant bit first.
class DeflateBits {
public:
    void put(std::uint32_t value, int width) {
        for (int bit = 0; bit < width; ++bit)
            push(value >> bit & 1);
    }
    void putCode(std::uint32_t code, int width) {
        for (int bit = width - 1; bit >= 0; --bit)
            push(code >> bit & 1);
    }
    std::string finish() { return count_ ? bytes_ + char(pending_) : bytes_; }

private:
    void push(std::uint32_t bit) {
        pending_ |= bit << count_;
        if (++count_ == 8) {
            bytes_ += char(pending_);
            pending_ = 0;
            count_ = 0;
        }
    }
    std::string bytes_;
    std::uint32_t pending_ = 0;
    int count_ = 0;
};

// A zlib stream of `count` zero bytes: one block of fixed codes, a literal zero and then copies
// at distance 1, of 258 bytes while they fit and of 3 to 10 bytes after.
std::string zeroZlib(std::uint32_t count) {
    DeflateBits bits;
    bits.put(1, 1); // the last block
    bits.put(1, 2); // fixed codes
    const auto copy = [&](std::uint32_t length) {
        // Length 258 is symbol 285, an eight-bit code; 3 to 10 are 257 to 264, seven-bit codes.
        if (length == 258)
            bits.putCode(0xC5, 8);
        else
            bits.putCode(length - 2, 7);
        bits.putCode(0, 5); // distance 1
    };
    constexpr std::uint32_t kLiteralZero = 0x30, kEndOfBlock = 0;
    bits.putCode(kLiteralZero, 8);
    std::uint32_t left = count - 1;
    for (; left >= 258; left -= 258)
        copy(258);
    for (std::uint32_t length; left >= 3; left -= length)
        copy(length = std::min<std::uint32_t>(left, 10));
    for (; left > 0; --left)
        bits.putCode(kLiteralZero, 8);
    bits.putCode(kEndOfBlock, 7);
    return "\x78\x01" + bits.finish() + be32(count % 65521 << 16 | 1);
}

// A black width x height PNG of one bit per pixel.
std::string blackPng(int width, int height) {
    const std::string header = be32(static_cast<std::uint32_t>(width)) +
                               be32(static_cast<std::uint32_t>(height)) +
                               std::string("\x01\0\0\0\0", 5);
    const auto rows = static_cast<std::uint32_t>(((width + 7) / 8 + 1) * height);
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) + pngChunk("IDAT", zeroZlib(rows)) +
           pngChunk("IEND", "");
}

} // namespace

std::string convolveOrderSvg() {
    return kSvgStart + "width=\"64\" height=\"64\"><filter id=\"f\"><feConvolveMatrix "
                       "order=\"50\" kernelMatrix=\"1 0 0 0 1 0 0 0 1\"/></filter><rect "
                       "width=\"64\" height=\"64\" fill=\"red\" filter=\"url(#f)\"/></svg>";
}

std::string hugeFontSvg() {
    return kSvgStart +
           "width=\"64\" height=\"64\"><text y=\"40\" font-size=\"3e6\">Kelmor</text></svg>";
}

std::string selfMarkingPathSvg(int points) {
    std::string path = "M0 0";
    for (int i = 0; i < points; ++i)
        path += " L" + std::to_string(i % 97) + " " + std::to_string(i * 7 % 89);
    return kSvgStart + "width=\"100\" height=\"100\"><marker id=\"m\" " +
           "markerUnits=\"userSpaceOnUse\" overflow=\"visible\"><path d=\"" + path +
           "\" stroke=\"black\" fill=\"none\"/></marker><path d=\"" + path +
           "\" marker-mid=\"url(#m)\" fill=\"none\"/></svg>";
}

std::string blurredSquareSvg(int side) {
    const std::string size = std::to_string(side);
    return kSvgStart + "width=\"" + size + "\" height=\"" + size +
           "\"><filter id=\"b\"><feGaussianBlur stdDeviation=\"20\"/></filter><rect width=\"" +
           size + "\" height=\"" + size + "\" fill=\"red\" filter=\"url(#b)\"/></svg>";
}

std::string dataPngsSvg(int count) {
    std::string svg = kSvgStart + "width=\"100\" height=\"64\">";
    for (int i = 0; i < count; ++i)
        svg += "<image width=\"9\" height=\"9\" xlink:href=\"data:image/png;base64," +
               base64(blackPng(512 + i % 64, 512 + i / 64)) + "\"/>";
    return svg + "</svg>";
}

std::string dataSvgPictureSvg(int side) {
    return kSvgStart + "width=\"64\" height=\"64\"><image width=\"64\" height=\"64\" " +
           "xlink:href=\"data:image/svg+xml;base64," + base64(blurredSquareSvg(side)) +
           "\"/></svg>";
}

std::string manyPathsSvg(int count) {
    std::string svg = kSvgStart + "width=\"2000\" height=\"2000\" viewBox=\"0 0 9 9\">" +
                      "<g fill-opacity=\".5\">";
    for (int i = 0; i < count; ++i)
        svg += "<path d=\"M0 0h9v9z\"/>";
    return svg + "</g></svg>";
}

} // namespace kelmor::test
