#include "base/user_folders.h"
#include "thumbnails/thumbnail_cache.h"

#include <glib.h>
#include <memory>

namespace kelmor {
namespace {

struct GFree {
    void operator()(void* memory) const { g_free(memory); }
};
using GString = std::unique_ptr<gchar, GFree>;

} // namespace

std::filesystem::path defaultThumbnailRoot() {
    return userBaseFolder("XDG_CACHE_HOME", ".cache") / "thumbnails";
}

std::string thumbnailUri(const std::filesystem::path& absolutePath) {
    const std::filesystem::path path = std::filesystem::absolute(absolutePath).lexically_normal();
    GError* error = nullptr;
    const GString uri(g_filename_to_uri(path.c_str(), nullptr, &error));
    if (uri)
        return uri.get();
    // Only a relative path is refused, and the path is absolute by now.
    g_error_free(error);
    return "file://" + path.string();
}

std::string thumbnailFileName(std::string_view uri) {
    const GString md5(
        g_compute_checksum_for_string(G_CHECKSUM_MD5, uri.data(), static_cast<gssize>(uri.size())));
    return std::string(md5.get()) + ".png";
}

} // namespace kelmor
