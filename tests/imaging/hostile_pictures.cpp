#include "imaging/hostile_pictures.h"

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

} // namespace kelmor::test
