#include "thumbnails/shared_budget.h"

#include "base/error.h"
#include "base/messages.h"

#include <algorithm>

namespace kelmor {

SharedBudget::Share::~Share() {
    if (budget_)
        budget_->giveBack(bytes_);
}

SharedBudget::Share SharedBudget::take(std::int64_t bytes) {
    if (bytes > total_)
        throw Error(msg::kImageTooLarge);
    bytes = std::max<std::int64_t>(bytes, 0);
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [&] { return free_ >= bytes; });
    free_ -= bytes;
    return Share(*this, bytes);
}

void SharedBudget::giveBack(std::int64_t bytes) {
    {
        const std::lock_guard lock(mutex_);
        free_ += bytes;
    }
    freed_.notify_all();
}

} // namespace kelmor
