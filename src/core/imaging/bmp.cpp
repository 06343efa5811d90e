#include "imaging/bmp.h"

#include "base/error.h"
#include "base/messages.h"
#include "imaging/image_limits.h"

#include <algorithm>

namespace kelmor {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kOs2CoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV4HeaderSize = 108;

[[noreturn]] void invalid() {
    throw Error(msg::kBitmapNotValid);
}

// Little-endian fields of the file; reading past its end means a damaged file.
class Bytes {
public:
    explicit Bytes(std::string_view data) : data_(data) {}
    std::size_t size() const { return data_.size(); }
    std::uint8_t u8(std::size_t at) const {
        if (at >= data_.size())
            invalid();
        return static_cast<std::uint8_t>(data_[at]);
    }
    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        return u16(at) | (static_cast<std::uint32_t>(u16(at + 2)) << 16);
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    const std::uint8_t* at(std::size_t offset) const {
        return reinterpret_cast<const std::uint8_t*>(data_.data()) + offset;
    }

private:
    std::string_view data_;
};

bool windowsHeaderSize(std::uint32_t size) {
    return size == kInfoHeaderSize || size == 52 || size == 56 || size == kV4HeaderSize ||
           size == 124;
}

// OS/2 2.x headers are 64 bytes long or any shorter length from 16 on that
// still holds the width, height, planes and bit count.
bool os2v2HeaderSize(std::uint32_t size) {
    return size >= 16 && size <= 64 && size % 4 == 0;
}

bool validDepth(int bpp, std::uint32_t compression) {
    switch (compression) {
    case kBiRgb:
        return bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    case kBiRle8:
        return bpp == 8;
    case kBiRle4:
        return bpp == 4;
    case kBiBitfields:
    case kBiAlphaBitfields:
        return bpp == 16 || bpp == 32;
    default:
        return false;
    }
}

// Decodes BI_RLE8 and BI_RLE4 data into the bottom-up rows of an indexed
// bitmap. Runs and deltas that leave the bitmap are clipped; data that ends
// before the end-of-bitmap code leaves the rest at index 0.
void decodeRle(const std::uint8_t* data, std::size_t size, bool fourBit, Bitmap& bitmap) {
    const int width = bitmap.width();
    const int height = bitmap.height();
    int x = 0;
    int y = 0; // counted from the bottom row
    auto put = [&](unsigned index) { bitmap.setIndex(x++, height - 1 - y, index); };
    std::size_t pos = 0;
    while (pos + 1 < size && y < height) {
        const unsigned count = data[pos];
        const unsigned value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < width; ++i)
                put(fourBit ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return;
        case 2: // delta
            if (pos + 1 >= size)
                return;
            x = std::min(x + data[pos], width);
            y += data[pos + 1];
            pos += 2;
            break;
        default: { // absolute run of `value` pixels, padded to a word
            const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
            if (pos + bytes > size)
                return;
            for (unsigned i = 0; i < value && x < width; ++i) {
                const std::uint8_t byte = data[pos + (fourBit ? i / 2 : i)];
                put(fourBit ? ((i & 1) ? byte & 0x0F : byte >> 4) : byte);
            }
            pos += (bytes + 1) & ~std::size_t(1);
            break;
        }
        }
    }
}

void putU16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void putU32(std::string& out, std::uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

} // namespace

Bitmap readBmp(std::string_view data, BmpFileInfo* info) {
    const Bytes in(data);
    if (in.size() < kFileHeaderSize + 4 || in.u8(0) != 'B' || in.u8(1) != 'M')
        invalid();
    const std::uint32_t dataOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(14);
    const bool os2Core = headerSize == kOs2CoreHeaderSize;
    const bool windows = windowsHeaderSize(headerSize);
    if (!os2Core && !windows && !os2v2HeaderSize(headerSize))
        invalid();
    const std::size_t headerEnd = kFileHeaderSize + headerSize;
    if (headerEnd > in.size())
        invalid();

    std::int64_t width = 0;
    std::int64_t height = 0;
    unsigned planes = 0;
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    if (os2Core) {
        width = in.u16(18);
        height = in.u16(20);
        planes = in.u16(22);
        bpp = in.u16(24);
    } else {
        width = in.i32(18);
        height = in.i32(22);
        planes = in.u16(26);
        bpp = in.u16(28);
        if (headerSize >= 20)
            compression = in.u32(30);
        if (headerSize >= 36)
            colorsUsed = in.u32(46);
        // OS/2 2.x gives 3 and 4 other meanings (Huffman 1D, RLE24): not supported.
        if (!windows && compression > kBiRle4)
            invalid();
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    const bool rle = compression == kBiRle8 || compression == kBiRle4;
    if (width <= 0 || height <= 0 || planes != 1 || !validDepth(bpp, compression) ||
        (topDown && rle))
        invalid();

    const int storedBpp = bpp == 2 ? 4 : bpp;
    checkImageSize(width, height);
    Bitmap bitmap(static_cast<int>(width), static_cast<int>(height), storedBpp);

    std::size_t pos = headerEnd;
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        const bool withAlpha = compression == kBiAlphaBitfields || headerSize >= 56;
        std::size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
        if (headerSize < 52) {
            masksAt = pos;
            pos += withAlpha ? 16 : 12;
        }
        bitmap.redMask = in.u32(masksAt);
        bitmap.greenMask = in.u32(masksAt + 4);
        bitmap.blueMask = in.u32(masksAt + 8);
        bitmap.alphaMask = withAlpha ? in.u32(masksAt + 12) : 0;
    }

    if (bpp <= 8) {
        const std::size_t entrySize = os2Core ? 3 : 4;
        std::size_t count = std::size_t(1) << bpp;
        if (colorsUsed != 0)
            count = std::min<std::size_t>(count, colorsUsed);
        if (dataOffset > pos)
            count = std::min<std::size_t>(count, (dataOffset - pos) / entrySize);
        if (pos + count * entrySize > in.size())
            invalid();
        bitmap.palette.resize(count);
        for (std::size_t i = 0; i < count; ++i, pos += entrySize)
            bitmap.palette[i] = {in.u8(pos + 2), in.u8(pos + 1), in.u8(pos)};
    }

    const std::size_t dataStart = dataOffset >= headerEnd ? dataOffset : pos;
    if (dataStart > in.size())
        invalid();
    const std::size_t available = in.size() - dataStart;

    if (rle) {
        decodeRle(in.at(dataStart), available, compression == kBiRle4, bitmap);
    } else {
        const std::size_t fileStride = Bitmap::checkedStride(width, height, bpp);
        if (fileStride * static_cast<std::size_t>(height) > available)
            invalid();
        for (int r = 0; r < bitmap.height(); ++r) {
            const std::uint8_t* source =
                in.at(dataStart + fileStride * static_cast<std::size_t>(r));
            const int y = topDown ? r : bitmap.height() - 1 - r;
            if (bpp == 2) {
                for (int x = 0; x < bitmap.width(); ++x)
                    bitmap.setIndex(x, y, (source[x >> 2] >> (6 - 2 * (x & 3))) & 3u);
            } else {
                std::copy_n(source, fileStride, bitmap.row(y));
            }
        }
    }

    if (info)
        *info = {headerSize, compression, bpp, topDown};
    return bitmap;
}

std::string writeBmp(const Bitmap& bitmap) {
    const int bpp = bitmap.bitsPerPixel();
    if (bitmap.empty() ||
        !(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32))
        invalid();

    std::vector<Rgb> palette;
    if (bpp <= 8) {
        const std::size_t full = std::size_t(1) << bpp;
        palette.assign(bitmap.palette.begin(),
                       bitmap.palette.begin() +
                           static_cast<std::ptrdiff_t>(std::min(full, bitmap.palette.size())));
        // A palette-less bitmap reads every index as black; say so explicitly.
        if (palette.empty())
            palette.resize(full);
    }

    const bool defaultMasks = bitmap.alphaMask == 0 &&
                              ((bpp == 16 && bitmap.redMask == 0x7C00 &&
                                bitmap.greenMask == 0x03E0 && bitmap.blueMask == 0x001F) ||
                               (bpp == 32 && bitmap.redMask == 0x00FF0000 &&
                                bitmap.greenMask == 0x0000FF00 && bitmap.blueMask == 0x000000FF));
    const bool bitfields = (bpp == 16 || bpp == 32) && !defaultMasks;
    const bool v4 = bitfields && bitmap.alphaMask != 0;
    const std::uint32_t headerSize = v4 ? kV4HeaderSize : kInfoHeaderSize;
    const std::size_t masksSize = bitfields && !v4 ? 12 : 0;
    const std::size_t imageSize = bitmap.stride() * static_cast<std::size_t>(bitmap.height());
    const std::size_t dataOffset = kFileHeaderSize + headerSize + masksSize + palette.size() * 4;

    std::string out;
    out.reserve(dataOffset + imageSize);
    out += "BM";
    putU32(out, static_cast<std::uint32_t>(dataOffset + imageSize));
    putU32(out, 0);
    putU32(out, static_cast<std::uint32_t>(dataOffset));

    putU32(out, headerSize);
    putU32(out, static_cast<std::uint32_t>(bitmap.width()));
    putU32(out, static_cast<std::uint32_t>(bitmap.height()));
    putU16(out, 1);
    putU16(out, static_cast<unsigned>(bpp));
    putU32(out, bitfields ? kBiBitfields : kBiRgb);
    putU32(out, static_cast<std::uint32_t>(imageSize));
    putU32(out, 0); // horizontal resolution: unspecified
    putU32(out, 0); // vertical resolution
    putU32(out, static_cast<std::uint32_t>(palette.size()));
    putU32(out, 0); // all colours important
    if (bitfields) {
        putU32(out, bitmap.redMask);
        putU32(out, bitmap.greenMask);
        putU32(out, bitmap.blueMask);
    }
    if (v4) {
        putU32(out, bitmap.alphaMask);
        out += "BGRs";             // LCS_sRGB, stored little-endian
        out.append(36 + 12, '\0'); // end points and gammas, unused for sRGB
    }
    for (const Rgb& c : palette) {
        out.push_back(static_cast<char>(c.b));
        out.push_back(static_cast<char>(c.g));
        out.push_back(static_cast<char>(c.r));
        out.push_back('\0');
    }
    for (int y = bitmap.height() - 1; y >= 0; --y)
        out.append(reinterpret_cast<const char*>(bitmap.row(y)), bitmap.stride());
    return out;
}

} // namespace kelmor
