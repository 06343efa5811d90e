#include "imaging/jpeg.h"

#include "base/error.h"
#include "imaging/image_limits.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
#include <string>
#include <vector>

namespace kelmor {
namespace {

// libjpeg's default error_exit ends the process. This one formats libjpeg's
// message and jumps back into decodeJpeg, which turns it into an Error.
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

// Warnings (corrupt or truncated data) let the decode go on and print nothing.
void ignoreMessage(j_common_ptr) {}

// Adobe's CMYK files store inverted values; others store plain ones.
std::uint8_t cmykChannel(unsigned ink, unsigned black, bool inverted) {
    if (!inverted) {
        ink = 255 - ink;
        black = 255 - black;
    }
    return static_cast<std::uint8_t>((ink * black + 127) / 255);
}

// The part of the decode that runs under libjpeg's error handling. It holds no
// object with a destructor, so leaving it by longjmp skips nothing.
void decodeInto(jpeg_decompress_struct& info, Bitmap& bitmap, std::vector<JSAMPLE>& row) {
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    checkImageSize(info.image_width, info.image_height);
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

} // namespace

Bitmap decodeJpeg(std::string_view bytes) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    Bitmap bitmap;
    std::vector<JSAMPLE> row;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.output_message = ignoreMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw Error(errors.message);
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxJpegDecoderMemory;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    try {
        decodeInto(info, bitmap, row);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    jpeg_destroy_decompress(&info);
    return bitmap;
}

} // namespace kelmor
