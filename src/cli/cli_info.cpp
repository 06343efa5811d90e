// kelmor-cli info: what Kelmor reads from a picture file, with checksums of the
// decoded pixels, for comparing readers and checking files from scripts.
#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "cli_command.h"
#include "cli_files.h"
#include "imaging/bmp.h"
#include "imaging/gif_decode.h"
#include "imaging/jpeg.h"
#include "imaging/picture.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const kelmor::cli::Syntax kSyntax{
    .command = "info",
    .operands = "FILE",
    .minOperands = 1,
    .maxOperands = 1,
    .operandsNeeded = "one FILE is needed",
    .description =
        "      Reads a picture as Kelmor does (by its extension: .gif, .bmp, .jpg/.jpeg, .png,\n"
        "      .webp, .svg) and prints what it holds, one \"key: value\" line each. A GIF gives\n"
        "      its version, screen size, background index, aspect byte, global table size and\n"
        "      sort flag, a line per\n"
        "      frame (position, size, interlace, local table size, transparency and index, delay,\n"
        "      disposal, loop count where the frame has one; \"-\" without a graphic control\n"
        "      extension), the reader's warnings, then per frame the CRC-32 of its pixel indices\n"
        "      (rows from the top, interlaced frames de-interlaced) and of its active colour\n"
        "      table (red, green, blue per entry). A BMP gives its size, bits per pixel,\n"
        "      compression, palette size and the CRC-32 of its pixel rows (top row first,\n"
        "      without row padding); a JPEG its size and the CRC-32 of its decoded rows (blue,\n"
        "      green, red). A PNG, WebP or SVG gives its size, a WebP of several frames their\n"
        "      number, and the CRC-32 of its 8-bit RGBA rows as every reader gives them (top row\n"
        "      first; a WebP's first frame, an SVG's rendering at its own size). CRC-32 uses the\n"
        "      zlib polynomial, printed as 8 hexadecimal digits.\n"
        "      Exit status: 0 read, 1 unreadable file or usage error."};

// CRC-32 with the reflected polynomial 0xEDB88320 (zlib, PNG, gzip), eight bytes a step
// through eight tables: a decoded frame may hold 64 Mi pixels.
class Crc32 {
public:
    void add(const std::uint8_t* data, std::size_t size) {
        using Tables = std::array<std::array<std::uint32_t, 256>, 8>;
        static const Tables tables = [] {
            Tables t{};
            for (std::uint32_t i = 0; i < 256; ++i) {
                std::uint32_t c = i;
                for (int k = 0; k < 8; ++k)
                    c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
                t[0][i] = c;
            }
            for (std::size_t k = 1; k < t.size(); ++k)
                for (std::uint32_t i = 0; i < 256; ++i)
                    t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
            return t;
        }();
        for (; size >= 8; data += 8, size -= 8) {
            const std::uint32_t low =
                crc_ ^ (std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                        std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24);
            crc_ = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^
                   tables[5][(low >> 16) & 0xFF] ^ tables[4][low >> 24] ^ tables[3][data[4]] ^
                   tables[2][data[5]] ^ tables[1][data[6]] ^ tables[0][data[7]];
        }
        for (std::size_t i = 0; i < size; ++i)
            crc_ = tables[0][(crc_ ^ data[i]) & 0xFF] ^ (crc_ >> 8);
    }
    std::string hex() const {
        char text[9];
        std::snprintf(text, sizeof text, "%08x", crc_ ^ 0xFFFFFFFFu);
        return text;
    }

private:
    std::uint32_t crc_ = 0xFFFFFFFFu;
};

const char* yesNo(bool value) {
    return value ? "yes" : "no";
}

std::string crcOfRows(const kelmor::Bitmap& bitmap) {
    Crc32 crc;
    for (int y = 0; y < bitmap.height(); ++y)
        crc.add(bitmap.row(y), bitmap.rowBytes());
    return crc.hex();
}

void printGif(const std::string& bytes) {
    std::vector<std::string> warnings;
    kelmor::GifDecodeOptions options;
    options.warn = [&](const std::string& message) { warnings.push_back(message); };
    const kelmor::GifImage image = kelmor::decodeGif(bytes, options);
    const kelmor::GifHeader& header = image.header();
    std::cout << "format: GIF\n"
              << "version: " << header.version << '\n'
              << "screen: " << header.width << 'x' << header.height << '\n'
              << "background: " << int(header.backgroundColorIndex) << '\n'
              << "aspect: " << int(header.aspectRatio) << '\n'
              << "global-table: " << header.colorTable.size()
              << " sorted=" << yesNo(header.colorTable.sorted) << '\n'
              << "frames: " << image.frameCount() << '\n';
    for (int i = 0; i < image.frameCount(); ++i) {
        const kelmor::GifFrame& frame = image.frame(i);
        std::cout << "frame " << i << ':';
        if (frame.hasImage) {
            std::cout << " left=" << frame.left << " top=" << frame.top << " width=" << frame.width
                      << " height=" << frame.height << " interlaced=" << yesNo(frame.interlaced())
                      << " local-table=" << frame.localColorTable.size();
        } else {
            std::cout << " image=none";
        }
        if (const kelmor::GifGraphicControlExtension* control = frame.graphicControl()) {
            std::cout << " transparent=" << yesNo(control->transparent())
                      << " index=" << int(control->transparentColorIndex)
                      << " delay=" << control->delayTime << " disposal=" << control->disposal();
        } else {
            std::cout << " transparent=- index=- delay=- disposal=-";
        }
        for (const kelmor::GifExtension& extension : frame.extensions) {
            if (const auto* loop = std::get_if<kelmor::GifLoopExtension>(&extension))
                std::cout << " loop=" << loop->loopCount;
        }
        std::cout << '\n';
    }
    for (const std::string& warning : warnings)
        std::cout << "warning: " << warning << '\n';
    for (int i = 0; i < image.frameCount(); ++i) {
        const kelmor::GifFrame& frame = image.frame(i);
        if (!frame.hasImage)
            continue;
        Crc32 pixels;
        pixels.add(frame.pixels.data(), frame.pixels.size());
        Crc32 table;
        for (const kelmor::Rgb& c : image.activeColorTable(i).colors) {
            const std::uint8_t entry[3] = {c.r, c.g, c.b};
            table.add(entry, 3);
        }
        std::cout << "crc " << i << ": pixels=" << pixels.hex() << " table=" << table.hex() << '\n';
    }
}

void printBmp(const std::string& bytes) {
    kelmor::BmpFileInfo info;
    const kelmor::Bitmap bitmap = kelmor::readBmp(bytes, &info);
    static const char* const names[] = {"BI_RGB",  "BI_RLE8", "BI_RLE4",          "BI_BITFIELDS",
                                        "BI_JPEG", "BI_PNG",  "BI_ALPHABITFIELDS"};
    std::cout << "format: BMP\n"
              << "size: " << bitmap.width() << 'x' << bitmap.height() << '\n'
              << "bits-per-pixel: " << bitmap.bitsPerPixel();
    if (info.bitsPerPixel != bitmap.bitsPerPixel())
        std::cout << " (file: " << info.bitsPerPixel << ')';
    std::cout << '\n' << "compression: " << info.compression;
    if (info.compression < std::size(names))
        std::cout << " (" << names[info.compression] << ')';
    std::cout << '\n'
              << "palette: " << bitmap.palette.size() << '\n'
              << "crc: pixels=" << crcOfRows(bitmap) << '\n';
}

void printJpeg(const std::string& bytes) {
    const kelmor::Bitmap bitmap = kelmor::decodeJpeg(bytes);
    std::cout << "format: JPEG\n"
              << "size: " << bitmap.width() << 'x' << bitmap.height() << '\n'
              << "crc: pixels=" << crcOfRows(bitmap) << '\n';
}

void printRgba(const char* format, const kelmor::RgbaImage& image, int frames) {
    std::cout << "format: " << format << '\n'
              << "size: " << image.width << 'x' << image.height << '\n';
    if (frames > 1)
        std::cout << "frames: " << frames << '\n';
    Crc32 crc;
    crc.add(image.pixels.data(), image.pixels.size());
    std::cout << "crc: pixels=" << crc.hex() << '\n';
}

// The formats whose own headers are printed; any other format of RGBA pixels gives its size,
// its frame count and the CRC-32 of its first frame.
struct HeaderPrinter {
    kelmor::PictureFormat format;
    void (*print)(const std::string& bytes);
};
constexpr HeaderPrinter kHeaderPrinters[] = {
    {kelmor::PictureFormat::Gif, printGif},
    {kelmor::PictureFormat::Bitmap, printBmp},
    {kelmor::PictureFormat::Jpeg, printJpeg},
};

const HeaderPrinter* headerPrinterOf(kelmor::PictureFormat format) {
    for (const HeaderPrinter& printer : kHeaderPrinters) {
        if (printer.format == format)
            return &printer;
    }
    return nullptr;
}

// Whether kelmor-cli reads the format at all.
bool printable(kelmor::PictureFormat format) {
    const kelmor::PictureCodec* codec = kelmor::pictureCodec(format);
    return headerPrinterOf(format) != nullptr || (codec && codec->rgbaPixels());
}

void printPicture(kelmor::PictureFormat format, const std::string& bytes, const std::string& path) {
    if (const HeaderPrinter* printer = headerPrinterOf(format))
        return printer->print(bytes);
    const kelmor::PictureCodec* codec = kelmor::pictureCodec(format);
    if (!codec || !codec->rgbaPixels())
        throw kelmor::Error(
            kelmor::format(kelmor::msg::kUnknownPictureExtension, kelmor::fileExtension(path)));
    // Only the first frame is decoded; the count comes from the headers.
    printRgba(codec->name, codec->decodeFirstFrame(bytes, path, {}),
              codec->frameCount ? codec->frameCount(bytes) : 1);
}

int runInfo(const kelmor::cli::Arguments& arguments) {
    const std::string& path = arguments.operands()[0];
    const kelmor::PictureFormat format = kelmor::pictureFormatOf(path);
    kelmor::cli::labelErrors(path, [&] {
        // A kind without a reader here is refused before the file is read.
        if (!printable(format))
            printPicture(format, {}, path);
        else
            printPicture(format, kelmor::readWholeFile(path), path);
    });
    return 0;
}

const kelmor::cli::Registration registration(kSyntax, runInfo);

} // namespace
