// Writing a GifImage as a GIF file: block order, descriptors, padded colour
// tables, extensions and LZW image data.

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "imaging/gif_image.h"
#include "imaging/gif_lzw.h"

#include <algorithm>
#include <ostream>

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

} // namespace

std::string GifImage::saveToBytes() const {
    if (frames_.empty())
        throw Error(msg::kUnsupportedGifVersion);
    if (header_.colorTable.size() > 256)
        throw Error(msg::kInvalidGifData);

    int maxBits = header_.colorTable.bits();
    bool gif89a = false;
    bool outside = false;
    for (const GifFrame& frame : frames_) {
        outside = outside || (frame.hasImage && (frame.left + frame.width > header_.width ||
                                                 frame.top + frame.height > header_.height));
        if (frame.localColorTable.size() > 256)
            throw Error(msg::kInvalidGifData);
        maxBits = std::max(maxBits, frame.localColorTable.bits());
        gif89a = gif89a || needs89a(frame);
    }

    if (outside)
        warn(msg::kImageWidthTooSmall);

    std::string out;
    out += gif89a ? "GIF89a" : "GIF87a";
    put16(out, header_.width);
    put16(out, header_.height);
    const bool global = !header_.colorTable.empty();
    const unsigned announced = static_cast<unsigned>(maxBits - 1) & 7;
    unsigned packed = (announced << 4) | announced;
    if (global)
        packed |= 0x80 | (header_.colorTable.sorted ? 0x08 : 0);
    put8(out, packed);
    put8(out, header_.backgroundColorIndex);
    put8(out, header_.aspectRatio);
    // The global table fills the size the screen descriptor announces, also
    // when a local table has more table bits than the global one.
    if (global)
        putColorTable(out, header_.colorTable, static_cast<int>(announced) + 1);

    GifLzwEncoder encoder;
    for (const GifFrame& frame : frames_) {
        for (const GifExtension& extension : frame.extensions)
            std::visit(ExtensionWriter{out}, extension);
        if (!frame.hasImage)
            continue;

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
    put8(out, 0x3B);
    return out;
}

void GifImage::save(std::ostream& out) const {
    const std::string bytes = saveToBytes();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw Error(msg::kStreamWriteError);
}

void GifImage::saveToFile(const std::string& path) const {
    writeFileReplacing(path, saveToBytes());
}

} // namespace kelmor
