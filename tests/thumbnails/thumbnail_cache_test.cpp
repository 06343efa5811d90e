// The cache as the desktop shares it, checked with Qt: file names, the text of a written
// thumbnail, thumbnails other programs wrote, failure entries, and what is never written.

#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/jpeg.h"
#include "imaging/tool_pictures.h"
#include "support/scoped_environment.h"
#include "thumbnail_test_support.h"

#include <QCryptographicHash>
#include <QImage>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelmor {
namespace {

namespace fs = std::filesystem;

struct NamedUri {
    const char* path;
    const char* uri;
};

class ThumbnailName : public ::testing::TestWithParam<NamedUri> {};

TEST_P(ThumbnailName, IsTheMd5OfThePercentEncodedUri) {
    const std::string uri = thumbnailUri(GetParam().path);
    EXPECT_EQ(uri, GetParam().uri);
    const QByteArray md5 =
        QCryptographicHash::hash(QByteArray(GetParam().uri), QCryptographicHash::Md5).toHex();
    EXPECT_EQ(thumbnailFileName(uri), md5.toStdString() + ".png");
}

INSTANTIATE_TEST_SUITE_P(
    Uris, ThumbnailName,
    ::testing::Values(NamedUri{"/home/anna/My Pictures/sun set.png",
                               "file:///home/anna/My%20Pictures/sun%20set.png"},
                      NamedUri{"/srv/Bilder/Ärger über Öl.jpg",
                               "file:///srv/Bilder/%C3%84rger%20%C3%BCber%20%C3%96l.jpg"},
                      NamedUri{"/tmp/./50% #1?[x].gif", "file:///tmp/50%25%20%231%3F%5Bx%5D.gif"}));

class ThumbnailCacheTest : public test::ThumbnailTest {
protected:
    // A 600 x 400 photo-like JPEG written by Qt.
    std::string photo(const std::string& name, QRgb tint = qRgb(200, 120, 40)) const {
        QImage image(600, 400, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(
                    x, y,
                    qRgb((qRed(tint) + x / 5) % 256, (qGreen(tint) + y / 4) % 256, qBlue(tint)));
        EXPECT_TRUE(image.save(QString::fromStdString(picture(name)), "JPEG", 90));
        return picture(name);
    }
    static std::int64_t mtimeOf(const std::string& file) {
        struct stat info {};
        ::stat(file.c_str(), &info);
        return info.st_mtim.tv_sec;
    }
    // A text chunk of a PNG file, as Qt reads it.
    static std::string textOf(const fs::path& file, const char* key) {
        return QImage(QString::fromStdString(file.string()))
            .text(QString::fromLatin1(key))
            .toStdString();
    }
    static void touchLater(const std::string& file) {
        fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(2));
    }
};

TEST_F(ThumbnailCacheTest, WritesTheStandardTextPrivatelyAtBothSizes) {
    const std::string file = photo("sun set ü.jpg");
    for (const auto& [size, folder, width, height] :
         {std::tuple{ThumbnailSize::Normal, "normal", 128, 85},
          std::tuple{ThumbnailSize::Large, "large", 256, 171}}) {
        SCOPED_TRACE(folder);
        const Thumbnail made = cache_.thumbnail(file, size);
        ASSERT_EQ(made.origin, Thumbnail::Origin::Made) << made.failure;
        EXPECT_EQ(made.file, cachePath(file, folder));
        const QImage written(QString::fromStdString(made.file.string()));
        EXPECT_EQ(written.size(), QSize(width, height));
        EXPECT_EQ(test::fromQt(written), made.image);
        const std::pair<const char*, std::string> keys[] = {
            {"Thumb::URI", thumbnailUri(file)},
            {"Thumb::MTime", std::to_string(mtimeOf(file))},
            {"Thumb::Size", std::to_string(fs::file_size(file))},
            {"Thumb::Image::Width", "600"},
            {"Thumb::Image::Height", "400"},
            {"Software", "Kelmor 1.0"}};
        for (const auto& [key, value] : keys)
            EXPECT_EQ(textOf(made.file, key), value) << key;
        EXPECT_EQ(test::modeOf(made.file), 0600u);
        EXPECT_EQ(test::modeOf(made.file.parent_path()), 0700u);
    }
    EXPECT_EQ(test::modeOf(cache_.root()), 0700u);
    EXPECT_EQ(test::modeOf(cache_.root().parent_path()), 0700u);
    // Nothing but the two thumbnails: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(cache_.root()), {}), 4);
}

// A thumbnail another program wrote is shown as it is while its URI and MTime match the file,
// and made anew once they do not.
TEST_F(ThumbnailCacheTest, ReusesAValidForeignThumbnailAndRemakesAStaleOne) {
    const std::string file = photo("shared.jpg", qRgb(0, 0, 255));
    for (const bool valid : {true, false}) {
        SCOPED_TRACE(valid ? "valid" : "stale");
        QImage foreign(100, 50, QImage::Format_RGB32);
        foreign.fill(qRgb(255, 0, 0));
        foreign.setText(QStringLiteral("Thumb::URI"), QString::fromStdString(thumbnailUri(file)));
        foreign.setText(QStringLiteral("Thumb::MTime"),
                        QString::number(mtimeOf(file) - (valid ? 0 : 1)));
        fs::create_directories(cachePath(file).parent_path());
        ASSERT_TRUE(foreign.save(QString::fromStdString(cachePath(file).string()), "PNG"));
        const std::string before = readWholeFile(cachePath(file).string());
        // Filling the cache ahead hands back no pixels, and keeps or remakes the file the same.
        const Thumbnail stored = cache_.store(file, ThumbnailSize::Normal);
        EXPECT_EQ(stored.origin, valid ? Thumbnail::Origin::Cache : Thumbnail::Origin::Made);
        EXPECT_TRUE(stored.image.empty());
        EXPECT_EQ(readWholeFile(cachePath(file).string()) == before, valid);
        if (!valid) {
            ASSERT_TRUE(foreign.save(QString::fromStdString(cachePath(file).string()), "PNG"));
        }

        const Thumbnail thumbnail = cache_.thumbnail(file, ThumbnailSize::Normal);
        EXPECT_EQ(thumbnail.file, cachePath(file));
        const std::string after = readWholeFile(cachePath(file).string());
        if (valid) {
            EXPECT_EQ(thumbnail.origin, Thumbnail::Origin::Cache);
            EXPECT_EQ(thumbnail.image, test::fromQt(foreign));
            EXPECT_EQ(after, before);
        } else {
            EXPECT_EQ(thumbnail.origin, Thumbnail::Origin::Made);
            EXPECT_EQ(thumbnail.image.width, 128);
            EXPECT_NE(after, before);
            EXPECT_EQ(textOf(cachePath(file), "Thumb::MTime"), std::to_string(mtimeOf(file)));
        }
    }
}

struct Unreadable {
    const char* name;
    const char* corpusFile;
    const char* message; // without one, the JPEG reader's own
};

class FailureEntry : public ThumbnailCacheTest, public ::testing::WithParamInterface<Unreadable> {};

// A file that cannot be read gets a failure entry with the reader's own message, is not tried
// again while it stays as it is, and gets its thumbnail once it changes.
TEST_P(FailureEntry, HoldsUntilTheFileChanges) {
    const std::string bytes =
        readWholeFile(std::string(KELMOR_TEST_DATA "/corpora/") + GetParam().corpusFile);
    const std::string file = writeFile("pics/" + std::string(GetParam().name), bytes);
    const std::string readerMessage = GetParam().message
                                          ? GetParam().message
                                          : test::errorOf([&] { decodeJpegReduced(bytes, 128); });
    const fs::path entry =
        cache_.root() / "fail" / "kelmor-1.0" / thumbnailFileName(thumbnailUri(file));

    const Thumbnail first = cache_.thumbnail(file, ThumbnailSize::Normal);
    EXPECT_EQ(first.origin, Thumbnail::Origin::Failed);
    EXPECT_EQ(first.failure, readerMessage);
    EXPECT_EQ(first.file, entry);
    EXPECT_EQ(QImage(QString::fromStdString(entry.string())).size(), QSize(1, 1));
    EXPECT_EQ(textOf(entry, "Thumb::URI"), thumbnailUri(file));
    EXPECT_EQ(textOf(entry, "Thumb::MTime"), std::to_string(mtimeOf(file)));
    EXPECT_EQ(test::modeOf(entry), 0600u);
    EXPECT_EQ(test::modeOf(entry.parent_path()), 0700u);
    EXPECT_EQ(test::modeOf(entry.parent_path().parent_path()), 0700u);

    const Thumbnail again = cache_.thumbnail(file, ThumbnailSize::Normal);
    EXPECT_EQ(again.origin, Thumbnail::Origin::Failed);
    EXPECT_EQ(again.failure, msg::kThumbnailFailedBefore);
    EXPECT_EQ(again.file, entry);
    EXPECT_FALSE(fs::exists(cachePath(file)));

    const bool gif = std::string(GetParam().name).ends_with(".gif");
    writeFile("pics/" + std::string(GetParam().name),
              readWholeFile(KELMOR_TEST_DATA "/corpora/" +
                            std::string(gif ? "blink-images-resources/boston.gif"
                                            : "raster-misc/libjpeg-turbo/testorig.jpg")));
    touchLater(file);
    EXPECT_EQ(cache_.thumbnail(file, ThumbnailSize::Normal).origin, Thumbnail::Origin::Made);
    EXPECT_FALSE(fs::exists(entry));
}

INSTANTIATE_TEST_SUITE_P(
    Files, FailureEntry,
    ::testing::Values(
        Unreadable{"damaged.jpg", "raster-misc/blink/invalid.jpg", nullptr},
        Unreadable{"huge.jpg", "raster-misc/blink/large-size-image-crash.jpeg", nullptr},
        Unreadable{"none.gif", "wuffs-testdata/no-frames.gif", msg::kPictureHasNoImage}),
    [](const auto& tested) { return std::string(tested.param.name, 4); });

// Two versions of one file, saved within the same second: the second must not be taken for the
// first, whatever the first gave.
enum class FirstVersion { Picture, Damaged, Unreadable };

struct SameSecond {
    const char* name;
    FirstVersion first;
};

class ThumbnailFreshness : public ThumbnailCacheTest,
                           public ::testing::WithParamInterface<SameSecond> {
protected:
    // A 24-bit BMP of one colour: every such file has the same size.
    std::string bmp(QRgb colour) const {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        const std::string file = picture("scratch.bmp");
        EXPECT_TRUE(image.save(QString::fromStdString(file), "BMP"));
        return readWholeFile(file);
    }
    static void setModified(const std::string& file, long nanoseconds) {
        const timespec at{1704067200, nanoseconds}; // 2024-01-01 00:00:00 UTC
        const timespec times[2] = {at, at};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
};

TEST_P(ThumbnailFreshness, TellsAVersionSavedInTheSameSecond) {
    const std::string red = bmp(qRgb(255, 0, 0));
    const std::string blue = bmp(qRgb(0, 0, 255));
    std::string damaged = red;
    damaged[28] = 7; // no such bit count
    ASSERT_EQ(damaged.size(), blue.size());
    const std::string file = picture("f.bmp");
    const fs::path entry =
        cache_.root() / "fail" / "kelmor-1.0" / thumbnailFileName(thumbnailUri(file));
    // Root reads a file of any mode: a link to this process's memory, which no read gets past
    // its first page, stands for the unreadable file there.
    const bool root = ::geteuid() == 0;
    const FirstVersion first = GetParam().first;
    if (first == FirstVersion::Unreadable && root)
        fs::create_symlink("/proc/self/mem", file);
    else
        writeFile("pics/f.bmp", first == FirstVersion::Damaged ? damaged : red);
    if (first == FirstVersion::Unreadable && !root)
        fs::permissions(file, fs::perms::none);
    setModified(file, 100'000'000);

    const Thumbnail before = cache_.thumbnail(file, ThumbnailSize::Normal);
    EXPECT_EQ(before.origin,
              first == FirstVersion::Picture ? Thumbnail::Origin::Made : Thumbnail::Origin::Failed);
    EXPECT_EQ(fs::exists(entry), first == FirstVersion::Damaged);

    if (first == FirstVersion::Unreadable && !root) {
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(cache_.thumbnail(file, ThumbnailSize::Normal).image.pixels.at(0), 255);
    }
    fs::remove(file);
    writeFile("pics/f.bmp", blue);
    setModified(file, 900'000'000);
    const Thumbnail after = cache_.thumbnail(file, ThumbnailSize::Normal);
    ASSERT_EQ(after.origin, Thumbnail::Origin::Made) << after.failure;
    EXPECT_EQ(after.image.pixels.at(0), 0);
    EXPECT_EQ(after.image.pixels.at(2), 255);
    EXPECT_EQ(textOf(after.file, "X-Kelmor::MTime-NSec"), "900000000");
    EXPECT_FALSE(fs::exists(entry));
}

INSTANTIATE_TEST_SUITE_P(Versions, ThumbnailFreshness,
                         ::testing::Values(SameSecond{"Edited", FirstVersion::Picture},
                                           SameSecond{"Repaired", FirstVersion::Damaged},
                                           SameSecond{"Unreadable", FirstVersion::Unreadable}),
                         [](const auto& tested) { return std::string(tested.param.name); });

// An SVG that crashes librsvg ends the renderer process, and the file gets its failure entry;
// without a renderer to start, the file is not to blame and gets none.
TEST_F(ThumbnailCacheTest, ACrashingSvgGetsAFailureEntryAMissingRendererNone) {
    const std::string file =
        writeFile("pics/crash.svg", readWholeFile(KELMOR_TEST_DATA "/svg/crashing-font.svg"));
    const fs::path entry =
        cache_.root() / "fail" / "kelmor-1.0" / thumbnailFileName(thumbnailUri(file));
    {
        const test::ScopedEnvironment missing("KELMOR_SVG_RENDERER", path("none"));
        const Thumbnail unmade = cache_.thumbnail(file, ThumbnailSize::Normal);
        EXPECT_EQ(unmade.origin, Thumbnail::Origin::Failed);
        EXPECT_EQ(unmade.failure, format(msg::kSvgRendererMissing, path("none")));
        EXPECT_TRUE(unmade.file.empty());
        EXPECT_FALSE(fs::exists(entry));
    }
    const Thumbnail crashed = cache_.thumbnail(file, ThumbnailSize::Normal);
    EXPECT_EQ(crashed.origin, Thumbnail::Origin::Failed);
    EXPECT_EQ(crashed.failure, format(msg::kSvgNotValid, file));
    EXPECT_EQ(crashed.file, entry);
    EXPECT_TRUE(fs::exists(entry));
}

TEST_F(ThumbnailCacheTest, NeverWritesIntoTheCacheForItsOwnFilesNorWhenItCannot) {
    const std::string file = photo("a.jpg");
    const Thumbnail made = cache_.thumbnail(file, ThumbnailSize::Normal);
    for (const fs::path& inside : {made.file, cache_.root() / "normal/.." / "x.png"}) {
        const Thumbnail skipped = cache_.thumbnail(inside, ThumbnailSize::Normal);
        EXPECT_EQ(skipped.origin, Thumbnail::Origin::Skipped);
        EXPECT_EQ(skipped.failure, msg::kThumbnailOfCache);
    }
    // A file that is not there gets no entry either.
    const Thumbnail missing = cache_.thumbnail(picture("gone.jpg"), ThumbnailSize::Normal);
    EXPECT_EQ(missing.origin, Thumbnail::Origin::Failed);
    EXPECT_TRUE(missing.file.empty());
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(cache_.root()), {}), 2);

    // A cache root below a plain file cannot be made: the pixels come without a file.
    const ThumbnailCache unwritable(fs::path(file) / "thumbnails");
    const Thumbnail inMemory = unwritable.thumbnail(file, ThumbnailSize::Normal);
    EXPECT_EQ(inMemory.origin, Thumbnail::Origin::Made);
    EXPECT_EQ(inMemory.image, made.image);
    EXPECT_TRUE(inMemory.file.empty());
}

} // namespace
} // namespace kelmor
