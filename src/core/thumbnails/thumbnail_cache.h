#pragma once

// Thumbnails as the desktop's file managers and picture viewers share them: the per-user cache
// of the freedesktop Thumbnail Managing Standard 0.9. A thumbnail made here is reused by the
// file manager and the reverse. Every call works on its own files, so several threads may use
// one cache at once.

#include "imaging/rgba_image.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kelmor {

// The cache's two sizes: "normal" thumbnails fit 128 x 128 pixels, "large" ones 256 x 256.
enum class ThumbnailSize { Normal, Large };
constexpr int thumbnailEdge(ThumbnailSize size) {
    return size == ThumbnailSize::Large ? 256 : 128;
}

// $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails when that variable is unset or relative.
std::filesystem::path defaultThumbnailRoot();

// The URI a file's thumbnail is known by: "file://" and the absolute path, percent-encoded as
// the desktop's file managers encode it (spaces, non-ASCII bytes and reserved characters).
std::string thumbnailUri(const std::filesystem::path& absolutePath);
// The cache file name of that URI: its MD5 in lower-case hex, then ".png".
std::string thumbnailFileName(std::string_view uri);

struct Thumbnail {
    enum class Origin {
        Cache,  // a valid thumbnail already in the cache, whoever made it, shown as it is
        Made,   // made now from the picture
        Failed, // the picture cannot be read, or it is past the pixel limits
        Skipped // the file lies inside the cache itself, or is not a picture kind we read
    };
    Origin origin = Origin::Failed;
    RgbaImage image; // the thumbnail's pixels: at most thumbnailEdge() on each side; empty
                     // unless Cache or Made
    // The cache file reused or written: the thumbnail, or the failure entry when Failed. Empty
    // when nothing could be written (an unwritable cache), or when the file changed or
    // vanished while it was read.
    std::filesystem::path file;
    // Why there is no thumbnail, when Failed or Skipped: the reader's message, or the
    // kThumbnailFailedBefore / kThumbnailOfCache / unknown-extension text of messages.h.
    std::string failure;
};

class ThumbnailCache {
public:
    explicit ThumbnailCache(std::filesystem::path root = defaultThumbnailRoot());

    // The thumbnail of a picture file (made absolute first). A cached thumbnail or failure entry
    // holds while Thumb::MTime matches the file and, where the entry records them, Thumb::Size
    // and X-Kelmor::MTime-NSec (the modification time's nanoseconds) match too. Never throws
    // for the picture or the cache: a picture read whole that cannot be decoded gives Failed
    // with a failure entry; one that cannot be opened or read gives Failed without one; an
    // unwritable cache still gives the pixels.
    Thumbnail thumbnail(const std::filesystem::path& file, ThumbnailSize size) const;
    // The same for filling the cache ahead of showing: the thumbnail or failure entry is made
    // and written as above, but its pixels are not handed back (the image is always empty),
    // and a valid cached thumbnail is only recognised by its text, its pixels left undecoded.
    Thumbnail store(const std::filesystem::path& file, ThumbnailSize size) const;

    const std::filesystem::path& root() const { return root_; }

private:
    enum class Pixels { Kept, Dropped };
    Thumbnail lookUp(const std::filesystem::path& file, ThumbnailSize size, Pixels pixels) const;

    std::filesystem::path root_;
};

} // namespace kelmor
