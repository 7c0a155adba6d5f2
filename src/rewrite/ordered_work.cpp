#include "rewrite/ordered_work.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace faultward {
namespace {

void runHere(int count, const std::function<void(int, int)>& work,
             const std::function<void(int)>& started, const std::function<void(int)>& finished) {
    for (int item = 0; item < count; ++item) {
        started(item);
        work(0, item);
        finished(item);
    }
}

// What the threads and the calling thread share.
class Board {
public:
    explicit Board(int count) : done_(static_cast<std::size_t>(count)), errors_(done_.size()) {}

    // The next item to work on, or -1 when there is none or the work stops.
    int take(int count) {
        if (stop_.load(std::memory_order_relaxed))
            return -1;
        const int item = next_.fetch_add(1, std::memory_order_relaxed);
        return item < count ? item : -1;
    }
    void markDone(int item, std::exception_ptr error) {
        {
            std::lock_guard lock(mutex_);
            done_[static_cast<std::size_t>(item)] = 1;
            errors_[static_cast<std::size_t>(item)] = std::move(error);
        }
        doneOne_.notify_all();
    }
    // Waits for the item; its exception, if it threw one.
    std::exception_ptr waitFor(int item) {
        std::unique_lock lock(mutex_);
        doneOne_.wait(lock, [&] { return done_[static_cast<std::size_t>(item)] != 0; });
        return errors_[static_cast<std::size_t>(item)];
    }
    void stop() { stop_.store(true, std::memory_order_relaxed); }

private:
    std::mutex mutex_;
    std::condition_variable doneOne_;
    std::vector<char> done_;
    std::vector<std::exception_ptr> errors_;
    std::atomic<int> next_{0};
    std::atomic<bool> stop_{false};
};

// Stops and joins the threads however the calling thread leaves: the work
// refers to the caller's objects. A thread finishes the item it has taken,
// which never waits on an item after it, so the join cannot hang.
class Threads {
public:
    explicit Threads(Board& board) : board_(board) {}
    ~Threads() {
        board_.stop();
        for (std::thread& thread : threads_)
            thread.join();
    }
    Threads(const Threads&) = delete;
    Threads& operator=(const Threads&) = delete;

    template <typename Loop> void start(int workers, Loop loop) {
        for (int thread = 0; thread < workers; ++thread) {
            try {
                threads_.emplace_back(loop, thread);
            } catch (const std::system_error&) {
                break; // fewer threads than asked for still do all the work
            }
        }
    }
    bool empty() const { return threads_.empty(); }

private:
    Board& board_;
    std::vector<std::thread> threads_;
};

} // namespace

void runInOrder(int count, int workers, const std::function<void(int, int)>& work,
                const std::function<void(int)>& started, const std::function<void(int)>& finished) {
    if (workers <= 1 || count <= 1) {
        runHere(count, work, started, finished);
        return;
    }
    Board board(count);
    Threads threads(board);
    threads.start(std::min(workers, count), [&](int thread) {
        for (int item = board.take(count); item >= 0; item = board.take(count)) {
            std::exception_ptr error;
            try {
                work(thread, item);
            } catch (...) {
                error = std::current_exception();
            }
            board.markDone(item, std::move(error));
        }
    });
    if (threads.empty()) {
        runHere(count, work, started, finished);
        return;
    }
    for (int item = 0; item < count; ++item) {
        started(item);
        if (const std::exception_ptr error = board.waitFor(item))
            std::rethrow_exception(error);
        finished(item);
    }
}

} // namespace faultward
