#pragma once

// Many thumbnails at once, on a few worker threads.

#include "thumbnails/thumbnail_cache.h"

#include <filesystem>
#include <vector>

namespace kelmor {

// The workers a batch uses: one per hardware thread, at most 4. Each holds one decoded picture
// at a time, and all the thumbnails being made in the process share one memory budget, so a
// large picture waits for the others and one past the budget is refused.
int thumbnailWorkerCount();

// The thumbnails of the files, in their order, made or looked up by `workers` threads that each
// take the next file not yet taken. A file whose work fails otherwise (out of memory) is Failed
// with that reason.
std::vector<Thumbnail> makeThumbnails(const ThumbnailCache& cache,
                                      const std::vector<std::filesystem::path>& files,
                                      ThumbnailSize size, int workers = thumbnailWorkerCount());

} // namespace kelmor
