#pragma once

// What the thumbnail tests share: a cache in a fresh folder, and pictures between Qt and the
// RGBA pixel form.

#include "imaging/rgba_image.h"
#include "support/temp_folder.h"
#include "thumbnails/thumbnail_cache.h"

#include <QImage>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace kelmor::test {

inline RgbaImage fromQt(const QImage& qt) {
    const QImage image = qt.convertToFormat(QImage::Format_RGBA8888);
    RgbaImage rgba = RgbaImage::blank(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(rgba.row(y), image.constScanLine(y), std::size_t(image.width()) * 4);
    return rgba;
}

inline unsigned modeOf(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A cache under the test's folder, and a folder of pictures beside it.
class ThumbnailTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        std::filesystem::create_directory(path("pics"));
        cache_ = ThumbnailCache(folder_ / "cache" / "thumbnails");
    }
    std::string picture(const std::string& name) const { return path("pics/" + name); }
    std::filesystem::path cachePath(const std::string& file, const char* size = "normal") const {
        return cache_.root() / size / thumbnailFileName(thumbnailUri(file));
    }

    ThumbnailCache cache_{"/"};
};

} // namespace kelmor::test
