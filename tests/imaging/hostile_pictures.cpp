#include "imaging/hostile_pictures.h"

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

} // namespace kelmor::test
