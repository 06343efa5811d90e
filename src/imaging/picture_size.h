#pragma once

// The pixel size a picture file's header gives, read without decoding the picture.

#include <cstdint>
#include <optional>
#include <string>

namespace kelmor {

struct PictureSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The size a GIF (its logical screen), BMP or JPEG file announces, chosen by the file's
// extension as a load chooses its reader; nothing when the file cannot be opened, has another
// extension or its header cannot be made sense of (the load then reports why). Only the header
// is read: a JPEG's segments before its frame header are skipped, not read.
std::optional<PictureSize> readPictureSize(const std::string& path);

} // namespace kelmor
