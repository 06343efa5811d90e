// The BMP row: decoded to a bitmap of the file's own pixel format, written from it.
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/bmp.h"
#include "imaging/picture.h"
#include "imaging/picture_codecs.h"

namespace kelmor {
namespace {

// The bytes of a BMP's file and info headers up to the height.
constexpr std::size_t kBmpHeaderBytes = 26;

unsigned byteAt(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}
unsigned le16(const std::string& bytes, std::size_t at) {
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}
std::int64_t le32(const std::string& bytes, std::size_t at) {
    return static_cast<std::int32_t>(le16(bytes, at) | le16(bytes, at + 2) << 16);
}

PictureFileSize measure(const std::string& path) {
    const std::string head = readFileStart(path, kBmpHeaderBytes);
    if (head.size() < kBmpHeaderBytes || head[0] != 'B' || head[1] != 'M')
        throw Error(msg::kBitmapNotValid);
    PictureSize size{le32(head, 18), le32(head, 22)};
    if (le32(head, 14) == 12) // OS/2 core header: 16-bit sides
        size = {le16(head, 18), le16(head, 20)};
    // A negative height stands for rows stored top-down.
    size.height = size.height < 0 ? -size.height : size.height;
    if (size.width <= 0 || size.height == 0)
        throw Error(msg::kBitmapNotValid);
    checkImageSize(size.width, size.height);
    return {size, size.width * size.height};
}

DecodedPicture decode(std::string_view bytes, GifFrames, const std::string&) {
    DecodedPicture decoded;
    decoded.bitmap = std::make_shared<const Bitmap>(readBmp(bytes));
    return decoded;
}

ReducedPicture decodeReduced(std::string_view bytes, const std::string&, int) {
    return reducedFromRgba(toRgba(readBmp(bytes)));
}

// The bitmap and its RGBA copy.
std::int64_t reducedDecodeBytes(std::string_view, const std::string& path, int) {
    return measure(path).pixels * 8;
}

std::string encode(const Picture& picture) {
    return writeBmp(*picture.bitmap());
}

// 24 bits when opaque, 32 bits with an alpha mask otherwise.
std::string encodeRgba(const RgbaImage& pixels) {
    if (!pixels.opaque())
        return writeBmp(toBitmap(pixels));
    Bitmap opaque(pixels.width, pixels.height, 24);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* in = pixels.row(y);
        std::uint8_t* out = opaque.row(y);
        for (int x = 0; x < pixels.width; ++x, in += 4, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return writeBmp(opaque);
}

} // namespace

PictureCodec bmpCodec() {
    return {
        .format = PictureFormat::Bitmap,
        .name = "BMP",
        .description = "Bitmaps",
        .extensions = {"bmp"},
        .measure = measure,
        .decode = decode,
        .decodeReduced = decodeReduced,
        .reducedDecodeBytes = reducedDecodeBytes,
        .encode = encode,
        .encodeRgba = encodeRgba,
        // The bitmap and its file.
        .encodeBytesPerPixel = 8,
        .paletteKeptInGif = true,
    };
}

} // namespace kelmor
