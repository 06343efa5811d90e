// kelmor-cli thumbnail, run as the built program with its own cache folder: the paths it prints
// are those the core's cache gives, the damaged file's reason goes to stderr, --large picks the
// other size.
#include "base/read_file.h"
#include "imaging/jpeg.h"
#include "imaging/tool_pictures.h"
#include "support/temp_folder.h"
#include "thumbnails/thumbnail_cache.h"

#include <filesystem>
#include <sys/wait.h>

namespace kelmor {
namespace {

const std::string kCorpora = KELMOR_TEST_DATA "/corpora/";

class CliThumbnail : public test::TempFolderTest {
protected:
    // Runs kelmor-cli thumbnail with XDG_CACHE_HOME in the test's folder; the exit status,
    // stdout and stderr.
    std::tuple<int, std::string, std::string> thumbnail(const std::string& arguments) const {
        const std::string command = "XDG_CACHE_HOME='" + path("cache") + "' " + KELMOR_CLI +
                                    " thumbnail " + arguments + " >'" + path("out.txt") + "' 2>'" +
                                    path("err.txt") + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readWholeFile(path("out.txt")),
                readWholeFile(path("err.txt"))};
    }
};

TEST_F(CliThumbnail, PrintsEachThumbnailOrFailureEntryInArgumentOrder) {
    const std::string good = kCorpora + "raster-misc/libjpeg-turbo/testorig.jpg";
    const std::string damaged =
        kCorpora + "raster-misc/golang/video-001.progressive.truncated.jpeg";
    const std::string invalid = kCorpora + "raster-misc/blink/invalid.jpg";
    const ThumbnailCache cache(folder_ / "cache" / "thumbnails");
    const std::string readerMessage = test::errorOf([&] { decodeJpeg(readWholeFile(invalid)); });

    const auto [status, out, err] = thumbnail("'" + good + "' '" + invalid + "' '" + damaged + "'");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, invalid + ": " + readerMessage + "\n");
    const Thumbnail goodThumbnail = cache.thumbnail(good, ThumbnailSize::Normal);
    const Thumbnail failed = cache.thumbnail(invalid, ThumbnailSize::Normal);
    const Thumbnail truncated = cache.thumbnail(damaged, ThumbnailSize::Normal);
    EXPECT_EQ(goodThumbnail.origin, Thumbnail::Origin::Cache);
    EXPECT_EQ(failed.origin, Thumbnail::Origin::Failed);
    // A cut file decodes as far as it goes, as the viewers show it.
    EXPECT_EQ(truncated.origin, Thumbnail::Origin::Cache);
    EXPECT_EQ(out, goodThumbnail.file.string() + "\n" + failed.file.string() + "\n" +
                       truncated.file.string() + "\n");

    const auto [largeStatus, largeOut, largeErr] = thumbnail("--large '" + good + "'");
    EXPECT_EQ(largeStatus, 0);
    EXPECT_EQ(largeErr, "");
    const Thumbnail large = cache.thumbnail(good, ThumbnailSize::Large);
    EXPECT_EQ(large.origin, Thumbnail::Origin::Cache);
    EXPECT_EQ(large.file.parent_path().filename(), "large");
    EXPECT_EQ(large.image.width, 227); // smaller than 256: kept at its size
    EXPECT_EQ(largeOut, large.file.string() + "\n");
}

} // namespace
} // namespace kelmor
