#include "imaging/hostile_pictures.h"

#include <algorithm>
#include <cstdint>

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
