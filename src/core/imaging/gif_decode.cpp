// Reading GIF files into a GifImage.

#include "imaging/gif_decode.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/gif_lzw.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <istream>
#include <string>
#include <vector>

namespace kelmor {
namespace {

// The bytes of a GIF file, either all in memory or read from a stream through
// a window that never holds more than a small part of the file.
class Source {
public:
    explicit Source(std::string_view bytes)
        : data_(reinterpret_cast<const std::uint8_t*>(bytes.data())), end_(bytes.size()) {}
    explicit Source(std::istream& in) : in_(&in), window_(kWindow) { data_ = window_.data(); }

    // Reads one byte; -1 at the end of the data.
    int get() {
        if (pos_ == end_ && !refill(1))
            return -1;
        return data_[pos_++];
    }
    int peek() {
        if (pos_ == end_ && !refill(1))
            return -1;
        return data_[pos_];
    }
    // Makes up to n bytes readable at here() and returns how many there are
    // (fewer only at the end of the data).
    std::size_t ensure(std::size_t n) {
        if (end_ - pos_ < n)
            refill(n);
        return std::min(n, end_ - pos_);
    }
    const std::uint8_t* here() const { return data_ + pos_; }
    // Puts back the byte that get() returned last.
    void unget() { --pos_; }
    void advance(std::size_t n) { pos_ += n; }
    // Copies up to n bytes to dst; returns how many were there.
    std::size_t read(std::uint8_t* dst, std::size_t n) {
        std::size_t got = ensure(n);
        std::memcpy(dst, here(), got);
        pos_ += got;
        return got;
    }
    // Skips up to n bytes; returns how many were there.
    std::size_t skip(std::size_t n) {
        std::size_t done = 0;
        while (done < n) {
            std::size_t got = ensure(std::min<std::size_t>(n - done, kWindow));
            if (got == 0)
                break;
            pos_ += got;
            done += got;
        }
        return done;
    }
    // Bytes taken from the start of the data.
    std::size_t consumed() const { return base_ + pos_; }

private:
    static constexpr std::size_t kWindow = 64 * 1024;

    // Moves the unread bytes to the front of the window and reads more after them.
    bool refill(std::size_t wanted) {
        if (in_ == nullptr || eof_)
            return end_ - pos_ >= wanted;
        std::size_t left = end_ - pos_;
        std::memmove(window_.data(), window_.data() + pos_, left);
        base_ += pos_;
        pos_ = 0;
        end_ = left;
        while (end_ < wanted && !eof_) {
            in_->read(reinterpret_cast<char*>(window_.data() + end_),
                      static_cast<std::streamsize>(window_.size() - end_));
            std::streamsize got = in_->gcount();
            end_ += static_cast<std::size_t>(got);
            if (got == 0 || !*in_)
                eof_ = true;
        }
        return end_ - pos_ >= wanted;
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::istream* in_ = nullptr;
    std::vector<std::uint8_t> window_;
    std::size_t base_ = 0;
    bool eof_ = false;
};

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

bool isGifSignature(const std::uint8_t* p) {
    auto upper = [](std::uint8_t c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
    return upper(p[0]) == 'G' && upper(p[1]) == 'I' && upper(p[2]) == 'F';
}

// Moves the rows of a frame decoded in interlaced pass order to their places.
void deinterlace(std::vector<std::uint8_t>& pixels, int width, int height) {
    std::vector<int> destination;
    destination.reserve(static_cast<std::size_t>(height));
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            destination.push_back(y);
    const std::size_t w = static_cast<std::size_t>(width);
    std::vector<std::uint8_t> carry(w), swap(w);
    std::vector<bool> placed(static_cast<std::size_t>(height));
    for (int start = 0; start < height; ++start) {
        if (placed[start] || destination[start] == start)
            continue;
        std::memcpy(carry.data(), pixels.data() + start * w, w);
        int at = start;
        do {
            int to = destination[at];
            std::uint8_t* row = pixels.data() + to * w;
            std::memcpy(swap.data(), row, w);
            std::memcpy(row, carry.data(), w);
            carry.swap(swap);
            placed[to] = true;
            at = to;
        } while (at != start);
    }
}

class Reader {
public:
    // A scan reads the descriptors only: it counts the pixels the frames claim, skips their data
    // and gives no warnings.
    enum class Pass { Scan, Decode };

    Reader(Source& source, GifImage& image, Pass pass, const GifDecodeOptions& options)
        : src_(source), image_(image), options_(options), scan_(pass == Pass::Scan),
          firstImageOnly_(options.frames == GifFrames::FirstImage) {}

    std::int64_t claimedPixels() const { return totalPixels_; }
    // Whether the logical screen descriptor was read, and whether the reading stopped because a
    // picture or the frames together passed the limits.
    bool headerRead() const { return headerRead_; }
    bool refusedSize() const { return refusedSize_; }

    void read() {
        readHeader();
        for (;;) {
            int b = src_.get();
            while (b == 0)
                b = src_.get();
            if (b < 0)
                break;
            if (b == 0x3B) {
                src_.unget();
                break;
            }
            if (b != 0x21 && b != 0x2C) {
                // Left for the trailer check, which warns about it too.
                warn(msg::kUnknownGifBlockType);
                src_.unget();
                break;
            }
            src_.unget();
            GifFrame frame;
            const bool more = readFrame(frame);
            const bool hasImage = frame.hasImage;
            image_.frames().push_back(std::move(frame));
            // The rest of the file is neither read nor judged.
            if (hasImage && firstImageOnly_)
                return;
            if (!more)
                break;
        }
        int trailer = src_.get();
        if (trailer >= 0 && trailer != 0x3B)
            warn(msg::kInvalidImageTrailer);
    }

private:
    void warn(const std::string& message) const {
        if (!scan_)
            warnGif(options_.warn, message);
    }

    void readHeader() {
        std::size_t got = src_.ensure(10);
        const std::uint8_t* p = src_.here();
        if (got >= 6 && isGifSignature(p)) {
            src_.advance(3);
        } else if (got >= 10 && isGifSignature(p + 4)) {
            src_.advance(7);
        } else {
            throw Error(msg::kInvalidGifSignature);
        }
        GifHeader& header = image_.header();
        std::uint8_t bytes[10];
        if (src_.read(bytes, 10) < 10)
            throw Error(msg::kInvalidGifData);
        header.version.assign(reinterpret_cast<const char*>(bytes), 3);
        header.width = le16(bytes + 3);
        header.height = le16(bytes + 5);
        header.packed = bytes[7];
        header.backgroundColorIndex = bytes[8];
        header.aspectRatio = bytes[9];
        checkSize(header.width, header.height);
        if (header.packed & 0x80)
            readColorTable(header.colorTable, header.packed, (header.packed & 0x08) != 0);
        headerRead_ = true;
    }

    void checkSize(std::int64_t width, std::int64_t height) {
        if (!withinImageLimits(width, height, options_.limits.maxImagePixels))
            refuseSize();
    }
    [[noreturn]] void refuseSize() {
        refusedSize_ = true;
        throw Error(msg::kImageTooLarge);
    }

    void readColorTable(GifColorTable& table, std::uint8_t packed, bool sorted) {
        const std::size_t entries = std::size_t(2) << (packed & 7);
        std::uint8_t bytes[768] = {};
        if (src_.read(bytes, entries * 3) < entries * 3)
            warn(msg::kPrematureEndOfData);
        table.colors.resize(entries);
        for (std::size_t i = 0; i < entries; ++i)
            table.colors[i] = {bytes[i * 3], bytes[i * 3 + 1], bytes[i * 3 + 2]};
        table.sorted = sorted;
    }

    // Reads data sub-blocks up to the zero terminator; false when the data ended first.
    bool readSubBlocks(std::vector<std::string>* blocks) {
        for (;;) {
            int length = src_.get();
            if (length == 0)
                return true;
            if (length < 0) {
                warn(msg::kPrematureEndOfData);
                return false;
            }
            std::size_t got = src_.ensure(static_cast<std::size_t>(length));
            if (blocks)
                blocks->emplace_back(reinterpret_cast<const char*>(src_.here()), got);
            src_.advance(got);
            if (got < static_cast<std::size_t>(length)) {
                warn(msg::kPrematureEndOfData);
                return false;
            }
        }
    }

    // Reads one frame: its extensions, then its image. False when the data ended.
    bool readFrame(GifFrame& frame) {
        for (;;) {
            int b = src_.peek();
            if (b < 0)
                return false;
            if (b == 0x2C || b == 0x3B)
                break;
            if (b != 0x21) {
                warn(msg::kInvalidExtensionIntroducer);
                break;
            }
            src_.advance(1);
            if (!readExtension(frame))
                return false;
        }
        int b = src_.peek();
        if (b < 0)
            return false;
        if (b == 0x3B || b == 0)
            return true;
        return readImage(frame);
    }

    bool readExtension(GifFrame& frame) {
        int label = src_.get();
        switch (label) {
        case -1:
            warn(msg::kPrematureEndOfData);
            return false;
        case 0xF9: {
            std::uint8_t bytes[6] = {};
            bool complete = src_.read(bytes, 6) == 6;
            GifGraphicControlExtension gce;
            gce.packed = bytes[1];
            gce.delayTime = le16(bytes + 2);
            gce.transparentColorIndex = bytes[4];
            frame.extensions.emplace_back(gce);
            if (!complete)
                warn(msg::kPrematureEndOfData);
            return complete;
        }
        case 0xFE: {
            GifCommentExtension comment;
            bool complete = readSubBlocks(&comment.blocks);
            frame.extensions.emplace_back(std::move(comment));
            return complete;
        }
        case 0x01: {
            GifPlainTextExtension text;
            int length = src_.get();
            bool complete = length >= 0;
            if (length > 0) {
                std::size_t got = src_.ensure(static_cast<std::size_t>(length));
                text.fields.assign(reinterpret_cast<const char*>(src_.here()), got);
                src_.advance(got);
                complete = got == static_cast<std::size_t>(length) && readSubBlocks(&text.blocks);
            } else if (!complete) {
                warn(msg::kPrematureEndOfData);
            }
            frame.extensions.emplace_back(std::move(text));
            return complete;
        }
        case 0xFF:
            return readApplicationExtension(frame);
        default:
            throw Error(msg::kUnknownExtensionType);
        }
    }

    bool readApplicationExtension(GifFrame& frame) {
        int size = src_.get();
        if (size < 0) {
            warn(msg::kPrematureEndOfData);
            return false;
        }
        if (size < 10)
            throw Error(msg::kUnsupportedAppExtensionSize);
        std::uint8_t id[11] = {};
        bool complete = src_.read(id, 11) == 11;
        if (complete && size > 11)
            complete = src_.skip(static_cast<std::size_t>(size - 11)) ==
                       static_cast<std::size_t>(size - 11);
        if (!complete) {
            warn(msg::kPrematureEndOfData);
            return false;
        }
        std::string identifier(reinterpret_cast<const char*>(id), 8);
        std::string authentication(reinterpret_cast<const char*>(id + 8), 3);
        if (identifier != "NETSCAPE" || authentication != "2.0") {
            GifApplicationExtension app{identifier, authentication, {}};
            complete = readSubBlocks(&app.blocks);
            frame.extensions.emplace_back(std::move(app));
            return complete;
        }
        GifLoopExtension loop;
        for (;;) {
            int length = src_.get();
            if (length == 0)
                break;
            if (length < 0) {
                complete = false;
                break;
            }
            std::uint8_t block[255];
            std::size_t got = src_.read(block, static_cast<std::size_t>(length));
            if (got < static_cast<std::size_t>(length)) {
                complete = false;
                break;
            }
            if ((block[0] & 7) == 1) {
                if (length < 3)
                    throw Error(msg::kInvalidGifData);
                loop.loopCount = le16(block + 1);
            } else if ((block[0] & 7) == 2) {
                if (length < 5)
                    throw Error(msg::kInvalidGifData);
                loop.bufferSize =
                    static_cast<std::uint32_t>(block[1] | (block[2] << 8) | (block[3] << 16)) |
                    (static_cast<std::uint32_t>(block[4]) << 24);
            }
        }
        if (!complete)
            warn(msg::kPrematureEndOfData);
        frame.extensions.emplace_back(loop);
        return complete;
    }

    bool readImage(GifFrame& frame) {
        std::uint8_t d[10];
        if (src_.read(d, 10) < 10) {
            warn(msg::kPrematureEndOfData);
            return false;
        }
        frame.hasImage = true;
        frame.left = le16(d + 1);
        frame.top = le16(d + 3);
        frame.width = le16(d + 5);
        frame.height = le16(d + 7);
        frame.packed = d[9];
        if (frame.width == 0 || frame.height == 0) {
            frame.width = image_.header().width;
            frame.height = image_.header().height;
            warn(msg::kImageExceedsLogicalScreen);
        }
        checkSize(frame.width, frame.height);
        const std::size_t count = std::size_t(frame.width) * frame.height;
        totalPixels_ += static_cast<std::int64_t>(count);
        if (totalPixels_ > options_.limits.maxTotalPixels)
            refuseSize();
        if (frame.packed & 0x80)
            readColorTable(frame.localColorTable, frame.packed, (frame.packed & 0x20) != 0);
        if (scan_)
            return src_.get() >= 0 && readSubBlocks(nullptr);

        const GifGraphicControlExtension* gce = frame.graphicControl();
        const std::uint8_t fill = gce && gce->transparent() ? gce->transparentColorIndex : 0;
        frame.pixels.assign(count, fill);
        std::size_t produced = 0;
        bool more = decodePixels(frame, produced);
        if (produced < count)
            warn(format(msg::kPixelsMissing, std::to_string(count - produced)));
        // The decoder may leave scratch values in the few bytes after its last string.
        std::fill_n(frame.pixels.begin() + static_cast<std::ptrdiff_t>(produced),
                    std::min<std::size_t>(count - produced, 16), fill);
        if (frame.interlaced() && frame.height > 1)
            deinterlace(frame.pixels, frame.width, frame.height);
        return more;
    }

    // Decodes the image data into the frame's pixels; false when the data ended.
    bool decodePixels(GifFrame& frame, std::size_t& produced) {
        int codeSize = src_.get();
        if (codeSize < 0)
            return false;
        if (codeSize > 11)
            throw Error(msg::kInvalidGifData);
        decoder_.start(codeSize, frame.pixels.data(), frame.pixels.size());
        bool more = true;
        for (;;) {
            int length = src_.get();
            if (length <= 0) {
                if (length < 0) {
                    warn(msg::kPrematureEndOfData);
                    more = false;
                } else if (!decoder_.finished()) {
                    warn(msg::kDecoderBitBufferUnderrun);
                }
                break;
            }
            std::size_t got = src_.ensure(static_cast<std::size_t>(length));
            bool done = decoder_.feed(src_.here(), got);
            src_.advance(got);
            if (got < static_cast<std::size_t>(length)) {
                warn(msg::kPrematureEndOfData);
                more = false;
                break;
            }
            if (done) {
                more = readSubBlocks(nullptr);
                break;
            }
        }
        produced = decoder_.produced();
        return more;
    }

    Source& src_;
    GifImage& image_;
    const GifDecodeOptions& options_;
    const bool scan_;
    const bool firstImageOnly_;
    GifLzwDecoder decoder_;
    std::int64_t totalPixels_ = 0;
    bool headerRead_ = false;
    bool refusedSize_ = false;
};

// What a scan of the descriptors found, and the error that stopped it, if one did.
struct Scan {
    std::uint16_t width = 0, height = 0;
    std::int64_t claimedPixels = 0;
    bool headerRead = false;
    bool refusedSize = false;
    std::exception_ptr error;
};

Scan scanDescriptors(Source& source, const ImageLimits& limits) {
    GifImage scratch;
    const GifDecodeOptions options{GifFrames::All, limits, {}};
    Reader reader(source, scratch, Reader::Pass::Scan, options);
    Scan scan;
    try {
        reader.read();
    } catch (const Error&) {
        scan.error = std::current_exception();
    }
    scan.width = scratch.header().width;
    scan.height = scratch.header().height;
    scan.claimedPixels = reader.claimedPixels();
    scan.headerRead = reader.headerRead();
    scan.refusedSize = reader.refusedSize();
    return scan;
}

// Throws "Image too large" when the frame descriptors together claim more pixels than one
// file may hold, before any frame is decoded: a few bytes can claim gigabytes. Any other
// defect is left to the decoding, which reports it in its place.
void checkClaimedPixels(Source& source, const ImageLimits& limits) {
    const Scan scan = scanDescriptors(source, limits);
    if (scan.error && scan.claimedPixels > limits.maxTotalPixels)
        std::rethrow_exception(scan.error);
}

} // namespace

GifExtent measureGif(std::string_view bytes, const ImageLimits& limits) {
    Source source(bytes);
    const Scan scan = scanDescriptors(source, limits);
    if (scan.error && (!scan.headerRead || scan.refusedSize))
        std::rethrow_exception(scan.error);
    return {scan.width, scan.height, scan.claimedPixels};
}

GifImage decodeGif(std::string_view bytes, const GifDecodeOptions& options) {
    Source scan(bytes);
    checkClaimedPixels(scan, options.limits);
    Source source(bytes);
    GifImage image;
    Reader(source, image, Reader::Pass::Decode, options).read();
    return image;
}

GifImage decodeGif(std::istream& in, const GifDecodeOptions& options) {
    const std::istream::pos_type start = in.tellg();
    const bool seekable = start != std::istream::pos_type(-1);
    const auto rewind = [&] {
        in.clear();
        if (seekable)
            in.seekg(start);
    };
    Source source(in);
    GifImage image;
    try {
        // A stream that cannot go back is bounded only frame by frame as it is decoded.
        if (seekable) {
            Source scan(in);
            checkClaimedPixels(scan, options.limits);
            rewind();
        }
        Reader(source, image, Reader::Pass::Decode, options).read();
    } catch (...) {
        rewind();
        throw;
    }
    // Leave the stream right after the bytes the image took.
    if (seekable) {
        in.clear();
        in.seekg(start + static_cast<std::streamoff>(source.consumed()));
    }
    return image;
}

GifImage loadGif(const std::string& path, const GifDecodeOptions& options) {
    return decodeGif(readWholeFile(path), options);
}

} // namespace kelmor
