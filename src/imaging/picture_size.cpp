#include "imaging/picture_size.h"

#include "imaging/picture.h"

#include <cctype>
#include <fstream>

namespace kelmor {
namespace {

// The bytes read from the start of a GIF or BMP file: enough for a GIF signature after the
// four bytes the reader skips, and for a BMP's file and info headers up to the height.
constexpr std::size_t kHeaderBytes = 26;
// The most JPEG segments walked before the frame header; real files have a handful.
constexpr int kMaxJpegSegments = 1024;

unsigned byteAt(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}
unsigned le16(const std::string& bytes, std::size_t at) {
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}
std::int64_t le32(const std::string& bytes, std::size_t at) {
    return static_cast<std::int32_t>(le16(bytes, at) | le16(bytes, at + 2) << 16);
}

std::optional<PictureSize> gifSize(const std::string& head) {
    for (const std::size_t start : {std::size_t{0}, std::size_t{4}}) {
        if (head.size() < start + 10)
            break;
        if (std::toupper(byteAt(head, start)) == 'G' &&
            std::toupper(byteAt(head, start + 1)) == 'I' &&
            std::toupper(byteAt(head, start + 2)) == 'F')
            return PictureSize{le16(head, start + 6), le16(head, start + 8)};
    }
    return std::nullopt;
}

std::optional<PictureSize> bmpSize(const std::string& head) {
    if (head.size() < kHeaderBytes || head[0] != 'B' || head[1] != 'M')
        return std::nullopt;
    if (le32(head, 14) == 12) // OS/2 core header: 16-bit sides
        return PictureSize{le16(head, 18), le16(head, 20)};
    const std::int64_t height = le32(head, 22);
    return PictureSize{le32(head, 18), height < 0 ? -height : height};
}

// Walks the marker segments up to the first frame header (SOF0 to SOF15 but DHT, JPG, DAC).
std::optional<PictureSize> jpegSize(std::istream& in) {
    const auto get = [&in] { return in.get(); };
    const auto get16 = [&get] {
        const int high = get();
        return high << 8 | get();
    };
    if (get() != 0xFF || get() != 0xD8)
        return std::nullopt;
    for (int segment = 0; segment < kMaxJpegSegments && in; ++segment) {
        int marker = get();
        if (marker != 0xFF)
            return std::nullopt;
        while (marker == 0xFF)
            marker = get();
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // no length
        if (marker < 0 || marker == 0xD9 || marker == 0xDA)
            return std::nullopt;
        const int length = get16();
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            get(); // sample precision
            const int height = get16();
            const int width = get16();
            if (!in)
                return std::nullopt;
            return PictureSize{width, height};
        }
        if (length < 2)
            return std::nullopt;
        in.seekg(length - 2, std::ios::cur);
    }
    return std::nullopt;
}

} // namespace

std::optional<PictureSize> readPictureSize(const std::string& path) {
    const PictureFormat format = pictureFormatOf(path);
    if (format != PictureFormat::Gif && format != PictureFormat::Bitmap &&
        format != PictureFormat::Jpeg)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    if (format == PictureFormat::Jpeg)
        return jpegSize(in);
    std::string head(kHeaderBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return format == PictureFormat::Gif ? gifSize(head) : bmpSize(head);
}

} // namespace kelmor
