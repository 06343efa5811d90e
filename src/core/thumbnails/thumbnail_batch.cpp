#include "thumbnails/thumbnail_batch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

namespace kelmor {

int thumbnailWorkerCount() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

std::vector<Thumbnail> makeThumbnails(const ThumbnailCache& cache,
                                      const std::vector<std::filesystem::path>& files,
                                      ThumbnailSize size, int workers) {
    std::vector<Thumbnail> thumbnails(files.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            // The cache reports what it can as a failure; what is left (no memory) must not
            // end the program from a worker thread.
            try {
                thumbnails[i] = cache.thumbnail(files[i], size);
            } catch (const std::exception& error) {
                thumbnails[i].failure = error.what();
            }
        }
    };
    const std::size_t count =
        std::min<std::size_t>(std::max(workers, 1), std::max<std::size_t>(files.size(), 1));
    std::vector<std::jthread> threads;
    for (std::size_t i = 1; i < count; ++i)
        threads.emplace_back(work);
    work();
    threads.clear(); // joins every worker
    return thumbnails;
}

} // namespace kelmor
