#include "imaging/jpeg.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/image_limits.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace kelmor {
namespace {

// libjpeg's default error_exit ends the process. This one formats libjpeg's
// message and jumps back into the guarded step, which turns it into an Error.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Stops a decode with our own message, the way libjpeg's fatal errors stop it. The caller holds
// no object with a destructor, which the jump would skip.
[[noreturn]] void stopDecoding(j_common_ptr info, const char* message) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::snprintf(manager->message, sizeof manager->message, "%s", message);
    std::longjmp(manager->jump, 1);
}

const char* tooManyScans() {
    static const std::string message =
        format(msg::kJpegTooManyScans, std::to_string(kMaxJpegScans));
    return message.c_str();
}

// Warnings (corrupt or truncated data) let the decode go on and print nothing.
void ignoreMessage(j_common_ptr) {}

// Counts the scans a multi-scan file makes libjpeg read. Each scan walks every block of its
// components even when it holds no data, so a small file of many empty scans would otherwise
// keep the decoder busy for minutes.
struct ScanCounter {
    jpeg_progress_mgr base;
    int scan = 0;
    std::int64_t blocks = 0;
};

void countScans(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    auto* counter = reinterpret_cast<ScanCounter*>(info->progress);
    if (info->input_scan_number == counter->scan)
        return;
    counter->scan = info->input_scan_number;
    if (counter->scan > kMaxJpegScans)
        stopDecoding(common, tooManyScans());
    for (int i = 0; i < info->comps_in_scan; ++i) {
        const jpeg_component_info& component = *info->cur_comp_info[i];
        counter->blocks += std::int64_t{component.width_in_blocks} * component.height_in_blocks;
    }
    if (counter->blocks > kMaxJpegScanBlocks)
        stopDecoding(common, msg::kJpegScansTooLarge);
}

// A libjpeg decompressor, destroyed when the object goes.
struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    ScanCounter scans{};

    Decompressor() {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = jumpBack;
        errors.base.output_message = ignoreMessage;
        scans.base.progress_monitor = countScans;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
};

// Runs `step` under libjpeg's error handling: a fatal error jumps back here and leaves as an
// Error with libjpeg's message. The step holds no object with a destructor, so leaving it by
// longjmp skips nothing.
template <class Step> void guarded(Decompressor& decompressor, Step step) {
    if (setjmp(decompressor.errors.jump))
        throw Error(decompressor.errors.message);
    step();
}

// Creates the decompressor and reads the header from the source `attach` sets up.
template <class Attach> void readHeader(Decompressor& decompressor, Attach attach) {
    guarded(decompressor, [&] {
        jpeg_create_decompress(&decompressor.info);
        attach(decompressor.info);
        jpeg_read_header(&decompressor.info, TRUE);
    });
}

// Adobe's CMYK files store inverted values; others store plain ones.
std::uint8_t cmykChannel(unsigned ink, unsigned black, bool inverted) {
    if (!inverted) {
        ink = 255 - ink;
        black = 255 - black;
    }
    return static_cast<std::uint8_t>((ink * black + 127) / 255);
}

// The memory libjpeg holds for the whole picture's coefficients: a file of several scans, a
// progressive one or one with its components in separate scans, is read whole before any row
// comes out. A single interleaved scan is decoded row by row and needs none.
std::int64_t coefficientBytes(const jpeg_decompress_struct& info) {
    if (!info.progressive_mode && info.comps_in_scan == info.num_components)
        return 0;
    const auto roundUp = [](std::int64_t value, std::int64_t step) {
        return (value + step - 1) / step * step;
    };
    std::int64_t bytes = 0;
    for (int i = 0; i < info.num_components; ++i) {
        const jpeg_component_info& component = info.comp_info[i];
        bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
                 roundUp(component.height_in_blocks, component.v_samp_factor) *
                 std::int64_t{sizeof(JBLOCK)};
    }
    return bytes;
}

// Refuses a picture past the limits' size, or whose decode would pass their memory, before
// libjpeg allocates its buffers, and lets libjpeg take what is left beside the picture.
void checkDecodeMemory(jpeg_decompress_struct& info, const ImageLimits& limits) {
    if (!withinImageLimits(info.image_width, info.image_height, limits.maxImagePixels))
        throw Error(msg::kImageTooLarge);
    const std::int64_t picture = static_cast<std::int64_t>(Bitmap::checkedStride(
                                     info.output_width, info.output_height, 24)) *
                                 info.output_height;
    checkMemory(limits, picture + coefficientBytes(info) + kJpegWorkingBytes,
                std::int64_t{info.output_width} * info.output_height);
    info.mem->max_memory_to_use = static_cast<long>(limits.maxBytes - picture);
}

// The decode after the header, under libjpeg's error handling (see guarded).
void decodeInto(jpeg_decompress_struct& info, Bitmap& bitmap, std::vector<JSAMPLE>& row) {
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    jpeg_start_decompress(&info);
    bitmap = Bitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height), 24);
    row.resize(static_cast<std::size_t>(info.output_width) * 4);
    const bool inverted = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        std::uint8_t* target = bitmap.row(static_cast<int>(info.output_scanline));
        JSAMPROW rows[1] = {cmyk ? row.data() : target};
        jpeg_read_scanlines(&info, rows, 1);
        if (!cmyk)
            continue;
        for (JDIMENSION x = 0; x < info.output_width; ++x) {
            const JSAMPLE* p = &row[x * 4];
            target[x * 3] = cmykChannel(p[2], p[3], inverted);
            target[x * 3 + 1] = cmykChannel(p[1], p[3], inverted);
            target[x * 3 + 2] = cmykChannel(p[0], p[3], inverted);
        }
    }
    jpeg_finish_decompress(&info);
}

// Sets the smallest scale whose longer side reaches `minLongSide`, and the output size.
void chooseScale(jpeg_decompress_struct& info, int minLongSide) {
    info.scale_num = 1;
    for (unsigned denominator : {8u, 4u, 2u, 1u}) {
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        if (std::max(info.output_width, info.output_height) >= JDIMENSION(minLongSide))
            return;
    }
}

// The decode of decodeJpeg, at the smallest scale that keeps `minLongSide` pixels.
Bitmap decodeScaled(std::string_view bytes, int minLongSide, PictureSize* fullSize,
                    const ImageLimits& limits) {
    Decompressor decompressor;
    jpeg_decompress_struct& info = decompressor.info;
    readHeader(decompressor, [&](jpeg_decompress_struct& source) {
        jpeg_mem_src(&source, reinterpret_cast<const unsigned char*>(bytes.data()),
                     static_cast<unsigned long>(bytes.size()));
    });
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    guarded(decompressor, [&] { chooseScale(info, minLongSide); });
    checkDecodeMemory(info, limits);
    if (fullSize != nullptr)
        *fullSize = {info.image_width, info.image_height};
    info.progress = &decompressor.scans.base;
    Bitmap bitmap;
    std::vector<JSAMPLE> row;
    guarded(decompressor, [&] { decodeInto(info, bitmap, row); });
    return bitmap;
}

} // namespace

ImageLimits jpegDecodeLimits() {
    ImageLimits limits;
    limits.maxBytes = kMaxJpegDecodeBytes;
    return limits;
}

Bitmap decodeJpeg(std::string_view bytes, const ImageLimits& limits) {
    return decodeScaled(bytes, std::numeric_limits<int>::max(), nullptr, limits);
}

ReducedJpeg decodeJpegReduced(std::string_view bytes, int minLongSide, const ImageLimits& limits) {
    ReducedJpeg reduced;
    reduced.bitmap = decodeScaled(bytes, minLongSide, &reduced.fullSize, limits);
    return reduced;
}

PictureSize readJpegSize(const std::string& path) {
    FileDescriptor file = openRegularFile(path);
    std::FILE* stream = ::fdopen(file.get(), "rb");
    if (stream == nullptr)
        throw Error(format(msg::kCannotOpenFile, path));
    file.release();
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(stream, std::fclose);
    Decompressor decompressor;
    readHeader(decompressor,
               [&](jpeg_decompress_struct& source) { jpeg_stdio_src(&source, stream); });
    return {decompressor.info.image_width, decompressor.info.image_height};
}

} // namespace kelmor
