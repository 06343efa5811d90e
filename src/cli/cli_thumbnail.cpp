// kelmor-cli thumbnail: makes or refreshes the desktop's shared thumbnails of pictures, as the
// Thumbnail View makes them, and prints where each one is.
#include "base/messages.h"
#include "cli_command.h"
#include "cli_files.h"
#include "thumbnails/thumbnail_batch.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

const kelmor::cli::Syntax kSyntax{
    .command = "thumbnail",
    .options = {{"--large", "", "fits the thumbnails into 256 x 256 pixels"}},
    .operands = "[--] FILE...",
    .minOperands = 1,
    .maxOperands = kelmor::cli::kAnyNumber,
    .operandsNeeded = "a FILE is needed",
    .description =
        "      Makes the thumbnail of each picture in the desktop's shared thumbnail cache\n"
        "      ($XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails), fitted into 128 x 128 pixels\n"
        "      (256 x 256 with --large), unless a valid one is there already; a picture that\n"
        "      cannot be read gets a failure entry, and is not tried again until it changes. The\n"
        "      files are read on up to 4 threads. Prints one line per FILE, in order: the\n"
        "      thumbnail's path, the failure entry's path, or - when there is neither.\n"
        "      Exit status: 0 when every FILE has a thumbnail in the cache, 1 otherwise, with\n"
        "      \"FILE: reason\" on standard error for each one that has none."};

int runThumbnail(const kelmor::cli::Arguments& arguments) {
    const kelmor::ThumbnailSize size =
        arguments.has("--large") ? kelmor::ThumbnailSize::Large : kelmor::ThumbnailSize::Normal;
    const std::vector<std::filesystem::path> files(arguments.operands().begin(),
                                                   arguments.operands().end());
    const kelmor::ThumbnailCache cache;
    const std::vector<kelmor::Thumbnail> thumbnails = kelmor::makeThumbnails(cache, files, size);
    int status = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const kelmor::Thumbnail& thumbnail = thumbnails[i];
        std::cout << (thumbnail.file.empty() ? "-" : thumbnail.file.string()) << '\n';
        const bool shown = thumbnail.origin == kelmor::Thumbnail::Origin::Cache ||
                           thumbnail.origin == kelmor::Thumbnail::Origin::Made;
        if (shown && !thumbnail.file.empty())
            continue;
        status = 1;
        // Made without a file: the cache could not take it.
        const std::string reason =
            shown ? kelmor::format(kelmor::msg::kCannotCreateFile, cache.root().string())
                  : thumbnail.failure;
        std::cerr << kelmor::cli::labelled(files[i].string(), reason) << '\n';
    }
    return status;
}

const kelmor::cli::Registration registration(kSyntax, runThumbnail);

} // namespace
