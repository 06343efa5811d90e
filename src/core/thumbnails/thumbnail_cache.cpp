#include "thumbnails/thumbnail_cache.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/product.h"
#include "base/read_file.h"
#include "base/shown_value.h"
#include "imaging/image_limits.h"
#include "imaging/picture.h"
#include "imaging/png.h"
#include "imaging/svg_renderer_process.h"
#include "thumbnails/box_scale.h"
#include "thumbnails/shared_budget.h"
#include "thumbnails/thumbnail_maker.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUriKey = "Thumb::URI";
constexpr const char* kMTimeKey = "Thumb::MTime";
constexpr const char* kSizeKey = "Thumb::Size";
// The standard keeps whole seconds; two saves within one second differ only in these.
constexpr const char* kNanosecondsKey = "X-Kelmor::MTime-NSec";
// A cache file larger than this, or of more pixels, is no thumbnail: the largest sizes other
// programs write are 1024 pixels a side.
constexpr std::size_t kMaxCacheFileBytes = std::size_t{16} << 20;
constexpr ImageLimits kCacheFileLimits{std::int64_t{2048} * 2048, std::int64_t{2048} * 2048};

// The memory every thumbnail being made in the process shares, whichever thread makes it: a
// large picture waits until the others are done, and one past the budget is refused.
// Never destroyed: the program may end while a thumbnail is being made.
SharedBudget& workerBudget() {
    static SharedBudget* const budget = new SharedBudget(kMemoryBudgetBytes);
    return *budget;
}

// What identifies the version of a file a thumbnail was made from.
struct FileState {
    std::int64_t seconds = 0; // modification time, whole seconds
    long nanoseconds = 0;
    std::int64_t size = 0;
    friend bool operator==(const FileState&, const FileState&) = default;
};

std::optional<FileState> regularFileState(const fs::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileState{info.st_mtim.tv_sec, info.st_mtim.tv_nsec, info.st_size};
}

const std::string* textOf(const std::vector<PngText>& text, std::string_view keyword) {
    for (const PngText& chunk : text) {
        if (chunk.keyword == keyword)
            return &chunk.text;
    }
    return nullptr;
}

bool holds(const std::vector<PngText>& text, std::string_view keyword, const std::string& value) {
    const std::string* found = textOf(text, keyword);
    return found && *found == value;
}

// Whether a cache file's text names this URI at this modification time, and, where it records
// them (other programs may not), this size and these nanoseconds.
bool describes(const std::vector<PngText>& text, const std::string& uri, const FileState& state) {
    const auto matchesIfPresent = [&text](std::string_view keyword, std::int64_t value) {
        return !textOf(text, keyword) || holds(text, keyword, std::to_string(value));
    };
    return holds(text, kUriKey, uri) && holds(text, kMTimeKey, std::to_string(state.seconds)) &&
           matchesIfPresent(kSizeKey, state.size) &&
           matchesIfPresent(kNanosecondsKey, state.nanoseconds);
}

// Whether `file` lies inside `folder`, both absolute and normal.
bool isInside(const fs::path& file, const fs::path& folder) {
    const fs::path relative = file.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

// Creates each missing folder down to `folder`, with mode 0700.
bool makeFolders(const fs::path& folder) {
    fs::path at;
    for (const fs::path& part : folder) {
        at /= part;
        if (::mkdir(at.c_str(), 0700) == 0)
            ::chmod(at.c_str(), 0700); // whatever the umask left
        else if (errno != EEXIST)
            return false;
    }
    return fs::is_directory(folder);
}

// Writes the file under a temporary name in its own folder, mode 0600, and renames it into
// place, so that a reader sees the old file or the whole new one. The name is unique to this
// write, whoever else writes the same thumbnail at the same time.
bool writeAtomically(const fs::path& target, std::string_view bytes) {
    if (hasControlCharacter(target.native()) || !makeFolders(target.parent_path()))
        return false;
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = ::fchmod(fd, 0600) == 0 && writeAllBytes(fd, bytes);
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

// The text every cache file of ours holds.
std::vector<PngText> identity(const std::string& uri, const FileState& state) {
    return {{kUriKey, uri},
            {kMTimeKey, std::to_string(state.seconds)},
            {kSizeKey, std::to_string(state.size)},
            {kNanosecondsKey, std::to_string(state.nanoseconds)},
            {"Software", std::string(product::kName) + ' ' + product::kVersion}};
}

// Whether a cache file's text names this very version of the file: a failure entry, or a
// thumbnail whose pixels are not wanted.
bool describesFile(const fs::path& entry, const std::string& uri, const FileState& state) {
    try {
        return describes(readPngText(readWholeFile(entry.string(), kMaxCacheFileBytes)), uri,
                         state);
    } catch (const Error&) {
        return false;
    }
}

// Whether the cache holds a thumbnail that matches the file; its pixels, fitted into the edge
// should another program have made it larger, go into `image` unless that is null.
bool cachedThumbnail(const fs::path& file, const std::string& uri, const FileState& state, int edge,
                     RgbaImage* image) {
    if (image == nullptr)
        return describesFile(file, uri, state);
    try {
        const std::string bytes = readWholeFile(file.string(), kMaxCacheFileBytes);
        std::vector<PngText> text;
        const RgbaImage found = decodePng(bytes, kCacheFileLimits, &text);
        if (!describes(text, uri, state) || found.empty())
            return false;
        const PictureSize size = fittedSize(found.width, found.height, edge);
        *image = boxScale(found, static_cast<int>(size.width), static_cast<int>(size.height));
        return true;
    } catch (const Error&) {
        return false;
    }
}

// Why a file gets no thumbnail at all, nothing when it may get one: a file of the cache itself
// (under the cache folder, by its name or after its links are followed), or of no picture type
// with a thumbnailer.
std::optional<std::string> skipReason(const fs::path& path, const fs::path& cacheRoot) {
    std::error_code ignored;
    const fs::path root = fs::weakly_canonical(cacheRoot, ignored);
    if (isInside(path, cacheRoot) || isInside(fs::weakly_canonical(path, ignored), root))
        return std::string(msg::kThumbnailOfCache);
    const PictureCodec* codec = pictureCodec(pictureFormatOf(path.string()));
    if (!codec || !codec->decodeReduced)
        return kelmor::format(msg::kUnknownPictureExtension, fileExtension(path.string()));
    return std::nullopt;
}

// Decodes the file's bytes fitted into the edge, within the workers' shared budget: the result
// is Made, or Failed with the reader's message. False when the SVG renderer is missing: the
// installation's fault, not the file's, which gets no failure entry.
bool decodeThumbnail(Thumbnail& result, ThumbnailPixels& pixels, std::string_view bytes,
                     const fs::path& path, int edge) {
    const PictureFormat format = pictureFormatOf(path.string());
    try {
        const SharedBudget::Share share =
            workerBudget().take(thumbnailDecodeBytes(format, bytes, path.string(), edge));
        pixels = makeThumbnailPixels(format, bytes, path.string(), edge);
        result.origin = Thumbnail::Origin::Made;
        result.image = std::move(pixels.image);
    } catch (const SvgRendererMissing& error) {
        result.failure = error.what();
        return false;
    } catch (const Error& error) {
        result.failure = error.what();
    }
    return true;
}

// Writes what the decode gave into the cache: the thumbnail with the file's identity and its
// size, or a failure entry.
void record(Thumbnail& result, const ThumbnailPixels& pixels, std::vector<PngText> text,
            const fs::path& made, const fs::path& failure) {
    if (result.origin == Thumbnail::Origin::Failed) {
        if (writeAtomically(failure, encodePngFast(RgbaImage::blank(1, 1), text)))
            result.file = failure;
        return;
    }
    text.push_back({"Thumb::Image::Width", std::to_string(pixels.original.width)});
    text.push_back({"Thumb::Image::Height", std::to_string(pixels.original.height)});
    if (writeAtomically(made, encodePngFast(result.image, text))) {
        result.file = made;
        ::unlink(failure.c_str()); // an entry of an older version that failed, if any
    }
}

} // namespace

ThumbnailCache::ThumbnailCache(std::filesystem::path root)
    : root_(fs::absolute(root).lexically_normal()) {}

Thumbnail ThumbnailCache::thumbnail(const std::filesystem::path& file, ThumbnailSize size) const {
    return lookUp(file, size, Pixels::Kept);
}

Thumbnail ThumbnailCache::store(const std::filesystem::path& file, ThumbnailSize size) const {
    return lookUp(file, size, Pixels::Dropped);
}

Thumbnail ThumbnailCache::lookUp(const std::filesystem::path& file, ThumbnailSize size,
                                 Pixels pixels) const {
    Thumbnail result;
    const fs::path path = fs::absolute(file).lexically_normal();
    if (std::optional<std::string> reason = skipReason(path, root_)) {
        result.origin = Thumbnail::Origin::Skipped;
        result.failure = std::move(*reason);
        return result;
    }
    const std::optional<FileState> before = regularFileState(path);
    if (!before) {
        result.failure = kelmor::format(msg::kCannotOpenFile, path.string());
        return result;
    }
    const std::string uri = thumbnailUri(path);
    const std::string name = thumbnailFileName(uri);
    const int edge = thumbnailEdge(size);
    const fs::path made = root_ / (size == ThumbnailSize::Large ? "large" : "normal") / name;
    if (cachedThumbnail(made, uri, *before, edge,
                        pixels == Pixels::Kept ? &result.image : nullptr)) {
        result.origin = Thumbnail::Origin::Cache;
        result.file = made;
        return result;
    }
    const fs::path failure = root_ / "fail" / (std::string("kelmor-") + product::kVersion) / name;
    if (describesFile(failure, uri, *before)) {
        result.failure = msg::kThumbnailFailedBefore;
        result.file = failure;
        return result;
    }
    // A file that cannot be opened or read (its mode, an I/O error) gets no failure entry: it
    // may be readable tomorrow without changing.
    std::string bytes;
    try {
        bytes = readWholeFile(path.string());
    } catch (const Error& error) {
        result.failure = error.what();
        return result;
    }
    ThumbnailPixels decoded;
    // A file that changed or went while it was read gets no entry: it would describe neither
    // version.
    if (decodeThumbnail(result, decoded, bytes, path, edge) && regularFileState(path) == before)
        record(result, decoded, identity(uri, *before), made, failure);
    if (pixels == Pixels::Dropped)
        result.image = RgbaImage();
    return result;
}

} // namespace kelmor
