#pragma once

// The photos the thumbnail benchmarks work on: JPEG files of quality 90 showing smooth scenes
// under fine noise, 1 to 3 MB at 3000 x 2000 pixels, as a camera's are. Each index gives a
// different scene, the same on every run.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <jpeglib.h>
#include <vector>

namespace kelmor::bench {

inline constexpr int kPhotoCount = 60;
inline constexpr int kPhotoWidth = 3000;
inline constexpr int kPhotoHeight = 2000;

// Writes photo `index`: a few broad shapes of colour, a finer texture, and noise.
inline void writeTestPhoto(const std::filesystem::path& file, int index) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr)
        std::abort();
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = kPhotoWidth;
    info.image_height = kPhotoHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t{kPhotoWidth} * 3);
    std::uint32_t random = 2463534242u + static_cast<std::uint32_t>(index) * 7919u;
    const float phase = static_cast<float>(index) * 0.37f;
    while (info.next_scanline < info.image_height) {
        const float fy = static_cast<float>(info.next_scanline) / kPhotoHeight;
        for (int x = 0; x < kPhotoWidth; ++x) {
            const float fx = static_cast<float>(x) / kPhotoWidth;
            const float scene[3] = {128 + 90 * std::sin(fx * 4.1f + fy * 2.3f + phase),
                                    120 + 80 * std::sin(fy * 5.3f - fx * 1.7f + phase * 2),
                                    110 + 70 * std::cos((fx - 0.4f) * (fy - 0.6f) * 18.0f + phase) +
                                        20 * std::sin(fx * 160.0f) * std::sin(fy * 110.0f)};
            for (int c = 0; c < 3; ++c) {
                random ^= random << 13;
                random ^= random >> 17;
                random ^= random << 5;
                const float noise = static_cast<float>(random % 29) - 14.0f;
                row[std::size_t(x) * 3 + std::size_t(c)] =
                    static_cast<JSAMPLE>(std::clamp(scene[c] + noise, 0.0f, 255.0f));
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

} // namespace kelmor::bench
