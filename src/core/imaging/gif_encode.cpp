#include "imaging/gif_encode.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "imaging/gif_lzw.h"

#include <algorithm>

namespace kelmor {
namespace {

void put8(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
}

void put16(std::string& out, unsigned value) {
    put8(out, value);
    put8(out, value >> 8);
}

// The entries in order, then black entries up to 2^bits entries in all.
void putColorTable(std::string& out, const GifColorTable& table, int bits) {
    for (const Rgb& c : table.colors) {
        put8(out, c.r);
        put8(out, c.g);
        put8(out, c.b);
    }
    const std::size_t padded = std::size_t(1) << bits;
    if (padded > table.colors.size())
        out.append((padded - table.colors.size()) * 3, '\0');
}

// Data sub-blocks of at most 255 bytes each (longer ones split, empty ones
// left out), then the terminator.
void putSubBlocks(std::string& out, const std::vector<std::string>& blocks) {
    for (const std::string& block : blocks) {
        for (std::size_t at = 0; at < block.size(); at += 255) {
            std::size_t n = std::min<std::size_t>(255, block.size() - at);
            put8(out, static_cast<unsigned>(n));
            out.append(block, at, n);
        }
    }
    put8(out, 0);
}

// A fixed-length field: cut or padded with zero bytes.
void putFixed(std::string& out, const std::string& text, std::size_t length) {
    std::string field = text.substr(0, length);
    field.resize(length, '\0');
    out += field;
}

struct ExtensionWriter {
    std::string& out;

    void operator()(const GifGraphicControlExtension& e) const {
        put8(out, 0x21);
        put8(out, 0xF9);
        put8(out, 4);
        put8(out, e.packed);
        put16(out, e.delayTime);
        put8(out, e.transparentColorIndex);
        put8(out, 0);
    }
    void operator()(const GifLoopExtension& e) const {
        put8(out, 0x21);
        put8(out, 0xFF);
        put8(out, 11);
        out += "NETSCAPE2.0";
        put8(out, 3);
        put8(out, 1);
        put16(out, e.loopCount);
        if (e.bufferSize != 0) {
            put8(out, 5);
            put8(out, 2);
            put16(out, e.bufferSize & 0xFFFF);
            put16(out, e.bufferSize >> 16);
        }
        put8(out, 0);
    }
    void operator()(const GifCommentExtension& e) const {
        put8(out, 0x21);
        put8(out, 0xFE);
        putSubBlocks(out, e.blocks);
    }
    void operator()(const GifPlainTextExtension& e) const {
        put8(out, 0x21);
        put8(out, 0x01);
        const std::size_t n = std::min<std::size_t>(e.fields.size(), 255);
        put8(out, static_cast<unsigned>(n));
        out.append(e.fields, 0, n);
        putSubBlocks(out, e.blocks);
    }
    void operator()(const GifApplicationExtension& e) const {
        put8(out, 0x21);
        put8(out, 0xFF);
        put8(out, 11);
        putFixed(out, e.identifier, 8);
        putFixed(out, e.authentication, 3);
        putSubBlocks(out, e.blocks);
    }
};

bool needs89a(const GifFrame& frame) {
    return frame.localColorTable.sorted || !frame.extensions.empty();
}

// What the whole image decides for the file: the largest table bits (the code size of frames
// on the global table), the version, and whether a frame lies past the logical screen.
struct FileShape {
    int maxBits = 0;
    bool gif89a = false;
    bool outside = false;
};

FileShape shapeOf(const GifImage& image) {
    const GifHeader& header = image.header();
    if (image.empty())
        throw Error(msg::kUnsupportedGifVersion);
    if (header.colorTable.size() > 256)
        throw Error(msg::kInvalidGifData);
    FileShape shape;
    shape.maxBits = header.colorTable.bits();
    for (const GifFrame& frame : image.frames()) {
        shape.outside =
            shape.outside || (frame.hasImage && (frame.left + frame.width > header.width ||
                                                 frame.top + frame.height > header.height));
        if (frame.localColorTable.size() > 256)
            throw Error(msg::kInvalidGifData);
        shape.maxBits = std::max(shape.maxBits, frame.localColorTable.bits());
        shape.gif89a = shape.gif89a || needs89a(frame);
    }
    return shape;
}

// The signature, the logical screen descriptor and the global colour table.
void putScreen(std::string& out, const GifHeader& header, const FileShape& shape) {
    out += shape.gif89a ? "GIF89a" : "GIF87a";
    put16(out, header.width);
    put16(out, header.height);
    const bool global = !header.colorTable.empty();
    const unsigned announced = static_cast<unsigned>(shape.maxBits - 1) & 7;
    unsigned packed = (announced << 4) | announced;
    if (global)
        packed |= 0x80 | (header.colorTable.sorted ? 0x08 : 0);
    put8(out, packed);
    put8(out, header.backgroundColorIndex);
    put8(out, header.aspectRatio);
    // The global table fills the size the screen descriptor announces, also
    // when a local table has more table bits than the global one.
    if (global)
        putColorTable(out, header.colorTable, static_cast<int>(announced) + 1);
}

// A frame's extensions, then its image descriptor, local colour table and image data.
void putFrame(std::string& out, const GifFrame& frame, int maxBits, GifLzwEncoder& encoder) {
    for (const GifExtension& extension : frame.extensions)
        std::visit(ExtensionWriter{out}, extension);
    if (!frame.hasImage)
        return;

    const GifColorTable& local = frame.localColorTable;
    const int localBits = local.bits();
    unsigned descriptor = frame.packed & 0x58;
    if (!local.empty())
        descriptor = 0x80 | (local.sorted ? 0x20 : 0) | static_cast<unsigned>(localBits - 1);
    put8(out, 0x2C);
    put16(out, frame.left);
    put16(out, frame.top);
    put16(out, frame.width);
    put16(out, frame.height);
    put8(out, descriptor);
    if (!local.empty())
        putColorTable(out, local, localBits);

    const int codeBits = local.empty() ? maxBits : localBits;
    const unsigned limit = local.empty() ? 1u << codeBits : static_cast<unsigned>(local.size());
    const std::size_t count = std::size_t(frame.width) * frame.height;
    const std::uint8_t* pixels = frame.pixels.size() >= count ? frame.pixels.data() : nullptr;
    // Rows go in interlaced order exactly when the written descriptor says so.
    encoder.encode(out, std::max(codeBits, 2), pixels, frame.width, frame.height,
                   (descriptor & 0x40) != 0, limit);
}

} // namespace

std::string encodeGif(const GifImage& image, const GifEncodeOptions& options) {
    const FileShape shape = shapeOf(image);
    if (shape.outside)
        warnGif(options.warn, msg::kImageWidthTooSmall);
    std::string out;
    putScreen(out, image.header(), shape);
    GifLzwEncoder encoder;
    for (const GifFrame& frame : image.frames())
        putFrame(out, frame, shape.maxBits, encoder);
    put8(out, 0x3B);
    return out;
}

void saveGif(const std::string& path, const GifImage& image, const GifEncodeOptions& options) {
    checkPathName(path, msg::kCannotCreateFile);
    writeFileReplacing(path, encodeGif(image, options));
}

} // namespace kelmor
