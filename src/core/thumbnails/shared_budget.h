#pragma once

// Memory that several threads share: each takes what its work needs before it starts and gives
// it back when done, so that together they never pass the budget.

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kelmor {

class SharedBudget {
public:
    explicit SharedBudget(std::int64_t bytes) : free_(bytes), total_(bytes) {}
    SharedBudget(const SharedBudget&) = delete;
    SharedBudget& operator=(const SharedBudget&) = delete;

    // What one piece of work holds, given back when it goes.
    class Share {
    public:
        Share(Share&& other) noexcept : budget_(other.budget_), bytes_(other.bytes_) {
            other.budget_ = nullptr;
        }
        Share(const Share&) = delete;
        Share& operator=(const Share&) = delete;
        Share& operator=(Share&&) = delete;
        ~Share();

    private:
        friend class SharedBudget;
        Share(SharedBudget& budget, std::int64_t bytes) : budget_(&budget), bytes_(bytes) {}
        SharedBudget* budget_;
        std::int64_t bytes_;
    };

    // Takes `bytes`, waiting while other work holds so much that they are not free. Throws
    // Error("Image too large") for more than the whole budget, which no waiting would free.
    Share take(std::int64_t bytes);

private:
    void giveBack(std::int64_t bytes);

    std::mutex mutex_;
    std::condition_variable freed_;
    std::int64_t free_;
    const std::int64_t total_;
};

} // namespace kelmor
