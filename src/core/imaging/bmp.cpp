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
constexpr std::uint32_t kV5HeaderSize = 124;

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
           size == kV5HeaderSize;
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

// What a file's headers say, checked as far as they can be on their own.
struct BmpHeader {
    std::uint32_t dataOffset = 0;
    std::uint32_t headerSize = 0;
    std::size_t headerEnd = 0;
    bool os2Core = false;
    std::int64_t width = 0;
    std::int64_t height = 0; // made positive; topDown keeps the sign
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    bool topDown = false;
    bool rle = false;
};

BmpHeader readHeader(const Bytes& in) {
    if (in.size() < kFileHeaderSize + 4 || in.u8(0) != 'B' || in.u8(1) != 'M')
        invalid();
    BmpHeader h;
    h.dataOffset = in.u32(10);
    h.headerSize = in.u32(14);
    h.os2Core = h.headerSize == kOs2CoreHeaderSize;
    const bool windows = windowsHeaderSize(h.headerSize);
    if (!h.os2Core && !windows && !os2v2HeaderSize(h.headerSize))
        invalid();
    h.headerEnd = kFileHeaderSize + h.headerSize;
    if (h.headerEnd > in.size())
        invalid();

    unsigned planes = 0;
    if (h.os2Core) {
        h.width = in.u16(18);
        h.height = in.u16(20);
        planes = in.u16(22);
        h.bpp = in.u16(24);
    } else {
        h.width = in.i32(18);
        h.height = in.i32(22);
        planes = in.u16(26);
        h.bpp = in.u16(28);
        if (h.headerSize >= 20)
            h.compression = in.u32(30);
        if (h.headerSize >= 36)
            h.colorsUsed = in.u32(46);
        // OS/2 2.x gives 3 and 4 other meanings (Huffman 1D, RLE24): not supported.
        if (!windows && h.compression > kBiRle4)
            invalid();
    }
    h.topDown = h.height < 0;
    if (h.topDown)
        h.height = -h.height;
    h.rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    if (h.width <= 0 || h.height <= 0 || planes != 1 || !validDepth(h.bpp, h.compression) ||
        (h.topDown && h.rle))
        invalid();
    return h;
}

// Reads the colour masks of a bitfields file; returns where the bytes after them start.
std::size_t readMasks(const Bytes& in, const BmpHeader& h, Bitmap& bitmap, std::size_t pos) {
    if (h.compression != kBiBitfields && h.compression != kBiAlphaBitfields)
        return pos;
    const bool withAlpha = h.compression == kBiAlphaBitfields || h.headerSize >= 56;
    std::size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
    if (h.headerSize < 52) {
        masksAt = pos;
        pos += withAlpha ? 16 : 12;
    }
    bitmap.redMask = in.u32(masksAt);
    bitmap.greenMask = in.u32(masksAt + 4);
    bitmap.blueMask = in.u32(masksAt + 8);
    bitmap.alphaMask = withAlpha ? in.u32(masksAt + 12) : 0;
    return pos;
}

// Reads the palette of a file of up to 8 bits; returns where the bytes after it start.
std::size_t readPalette(const Bytes& in, const BmpHeader& h, Bitmap& bitmap, std::size_t pos) {
    if (h.bpp > 8)
        return pos;
    const std::size_t entrySize = h.os2Core ? 3 : 4;
    std::size_t count = std::size_t(1) << h.bpp;
    if (h.colorsUsed != 0)
        count = std::min<std::size_t>(count, h.colorsUsed);
    if (h.dataOffset > pos)
        count = std::min<std::size_t>(count, (h.dataOffset - pos) / entrySize);
    if (pos + count * entrySize > in.size())
        invalid();
    bitmap.palette.resize(count);
    for (std::size_t i = 0; i < count; ++i, pos += entrySize)
        bitmap.palette[i] = {in.u8(pos + 2), in.u8(pos + 1), in.u8(pos)};
    return pos;
}

// Reads the rows, stored bottom up unless the file says top down; 2-bit rows widen to 4 bits.
void readRows(const Bytes& in, const BmpHeader& h, Bitmap& bitmap, std::size_t dataStart) {
    const std::size_t available = in.size() - dataStart;
    const std::size_t fileStride = Bitmap::checkedStride(h.width, h.height, h.bpp);
    if (fileStride * static_cast<std::size_t>(h.height) > available)
        invalid();
    for (int r = 0; r < bitmap.height(); ++r) {
        const std::uint8_t* source = in.at(dataStart + fileStride * static_cast<std::size_t>(r));
        const int y = h.topDown ? r : bitmap.height() - 1 - r;
        if (h.bpp == 2) {
            for (int x = 0; x < bitmap.width(); ++x)
                bitmap.setIndex(x, y, (source[x >> 2] >> (6 - 2 * (x & 3))) & 3u);
        } else {
            std::copy_n(source, fileStride, bitmap.row(y));
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

// The palette a bitmap of up to 8 bits is written with: at most 2^bpp entries, and a
// palette-less bitmap, which reads every index as black, says so explicitly.
std::vector<Rgb> writtenPalette(const Bitmap& bitmap) {
    const int bpp = bitmap.bitsPerPixel();
    std::vector<Rgb> palette;
    if (bpp <= 8) {
        const std::size_t full = std::size_t(1) << bpp;
        palette.assign(bitmap.palette.begin(),
                       bitmap.palette.begin() +
                           static_cast<std::ptrdiff_t>(std::min(full, bitmap.palette.size())));
        if (palette.empty())
            palette.resize(full);
    }
    return palette;
}

// How a bitmap is laid out in its file: masks of a 16- or 32-bit bitmap that are not the
// default ones are written as bitfields, with an alpha mask in a V5 header (the one image
// editors and browsers read alpha from).
struct BmpLayout {
    bool bitfields = false;
    bool v5 = false;
    std::uint32_t headerSize = 0;
    std::size_t imageSize = 0;
    std::size_t dataOffset = 0;
};

BmpLayout layoutOf(const Bitmap& bitmap, std::size_t paletteEntries) {
    const int bpp = bitmap.bitsPerPixel();
    const bool defaultMasks = bitmap.alphaMask == 0 &&
                              ((bpp == 16 && bitmap.redMask == 0x7C00 &&
                                bitmap.greenMask == 0x03E0 && bitmap.blueMask == 0x001F) ||
                               (bpp == 32 && bitmap.redMask == 0x00FF0000 &&
                                bitmap.greenMask == 0x0000FF00 && bitmap.blueMask == 0x000000FF));
    BmpLayout layout;
    layout.bitfields = (bpp == 16 || bpp == 32) && !defaultMasks;
    layout.v5 = layout.bitfields && bitmap.alphaMask != 0;
    layout.headerSize = layout.v5 ? kV5HeaderSize : kInfoHeaderSize;
    const std::size_t masksSize = layout.bitfields && !layout.v5 ? 12 : 0;
    layout.imageSize = bitmap.stride() * static_cast<std::size_t>(bitmap.height());
    layout.dataOffset = kFileHeaderSize + layout.headerSize + masksSize + paletteEntries * 4;
    return layout;
}

// The file header, the information header and the masks.
void putHeaders(std::string& out, const Bitmap& bitmap, const BmpLayout& layout,
                std::size_t paletteEntries) {
    out += "BM";
    putU32(out, static_cast<std::uint32_t>(layout.dataOffset + layout.imageSize));
    putU32(out, 0);
    putU32(out, static_cast<std::uint32_t>(layout.dataOffset));

    putU32(out, layout.headerSize);
    putU32(out, static_cast<std::uint32_t>(bitmap.width()));
    putU32(out, static_cast<std::uint32_t>(bitmap.height()));
    putU16(out, 1);
    putU16(out, static_cast<unsigned>(bitmap.bitsPerPixel()));
    putU32(out, layout.bitfields ? kBiBitfields : kBiRgb);
    putU32(out, static_cast<std::uint32_t>(layout.imageSize));
    putU32(out, 0); // horizontal resolution: unspecified
    putU32(out, 0); // vertical resolution
    putU32(out, static_cast<std::uint32_t>(paletteEntries));
    putU32(out, 0); // all colours important
    if (layout.bitfields) {
        putU32(out, bitmap.redMask);
        putU32(out, bitmap.greenMask);
        putU32(out, bitmap.blueMask);
    }
    if (layout.v5) {
        putU32(out, bitmap.alphaMask);
        out += "BGRs";             // LCS_sRGB, stored little-endian
        out.append(36 + 12, '\0'); // end points and gammas, unused for sRGB
        putU32(out, 4);            // LCS_GM_IMAGES: perceptual rendering intent
        out.append(12, '\0');      // no profile: its offset and size, and the reserved field
    }
}

} // namespace

Bitmap readBmp(std::string_view data, BmpFileInfo* info, const ImageLimits& limits) {
    const Bytes in(data);
    const BmpHeader h = readHeader(in);
    const int storedBpp = h.bpp == 2 ? 4 : h.bpp;
    if (!withinImageLimits(h.width, h.height, limits.maxImagePixels))
        throw Error(msg::kImageTooLarge);
    const std::int64_t pixels = std::int64_t{h.width} * h.height;
    checkMemory(limits,
                static_cast<std::int64_t>(Bitmap::checkedStride(h.width, h.height, storedBpp)) *
                    h.height,
                pixels);
    Bitmap bitmap(static_cast<int>(h.width), static_cast<int>(h.height), storedBpp);

    std::size_t pos = readMasks(in, h, bitmap, h.headerEnd);
    pos = readPalette(in, h, bitmap, pos);

    const std::size_t dataStart = h.dataOffset >= h.headerEnd ? h.dataOffset : pos;
    if (dataStart > in.size())
        invalid();
    if (h.rle)
        decodeRle(in.at(dataStart), in.size() - dataStart, h.compression == kBiRle4, bitmap);
    else
        readRows(in, h, bitmap, dataStart);

    if (info)
        *info = {h.headerSize, h.compression, h.bpp, h.topDown};
    return bitmap;
}

std::string writeBmp(const Bitmap& bitmap) {
    const int bpp = bitmap.bitsPerPixel();
    if (bitmap.empty() ||
        !(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32))
        invalid();

    const std::vector<Rgb> palette = writtenPalette(bitmap);
    const BmpLayout layout = layoutOf(bitmap, palette.size());
    std::string out;
    out.reserve(layout.dataOffset + layout.imageSize);
    putHeaders(out, bitmap, layout, palette.size());
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
