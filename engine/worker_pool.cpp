#include "engine/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Set on the helper threads and on background tasks: a job they make runs its calls in place.
thread_local bool t_off_main = false;

std::size_t default_helpers() {
    const unsigned n = std::thread::hardware_concurrency();
    return n > 1 ? n - 1 : 0;
}

// The helper threads, started when first needed and kept (idle, waiting) until the program ends.
class Pool {
public:
    ~Pool() {
        {
            std::lock_guard lock(m_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    std::size_t allowed() const { return allowed_; }
    void allow(std::size_t n) { allowed_ = n; }

    // Starts a job; returns its ticket (never 0).
    std::size_t start(std::size_t n, std::function<void(std::size_t)> body) {
        const std::size_t helpers = std::min(allowed_, n);
        std::unique_lock lock(m_);
        done_.wait(lock, [this] { return working_ == 0; });  // the job before, if one runs
        while (threads_.size() < helpers) {
            const std::size_t number = threads_.size();
            threads_.emplace_back([this, number] { serve(number); });
        }
        body_ = std::move(body);
        count_ = n;
        // Each helper takes a few questions at a time: fewer trips to the shared counter, and the
        // last ones still spread over every helper.
        grain_ = std::max<std::size_t>(1, n / (helpers * 8));
        next_.store(0, std::memory_order_relaxed);
        error_ = nullptr;
        taking_part_ = helpers;
        working_ = helpers;
        if (++ticket_ == 0) ++ticket_;
        const std::size_t ticket = ticket_;
        lock.unlock();
        wake_.notify_all();
        return ticket;
    }

    void wait(std::size_t ticket) {
        std::unique_lock lock(m_);
        done_.wait(lock, [&] { return ticket != ticket_ || working_ == 0; });
        if (ticket != ticket_) return;  // a later job started: this one had ended before it
        body_ = nullptr;
        if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    }

private:
    std::mutex m_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    std::size_t allowed_ = default_helpers();
    bool stop_ = false;
    // The job being run: a new ticket per job; each of the first taking_part_ helpers runs its
    // share once and counts itself off in working_.
    std::size_t ticket_ = 0;
    std::size_t taking_part_ = 0, working_ = 0;
    std::function<void(std::size_t)> body_;
    std::size_t count_ = 0, grain_ = 1;
    std::atomic<std::size_t> next_{0};
    std::exception_ptr error_;

    void serve(std::size_t number) {
        t_off_main = true;
        std::size_t seen = 0;
        std::unique_lock lock(m_);
        for (;;) {
            wake_.wait(lock, [&] { return stop_ || (ticket_ != seen && number < taking_part_); });
            if (stop_) return;
            seen = ticket_;
            const std::function<void(std::size_t)>& body = body_;
            const std::size_t n = count_, grain = grain_;
            lock.unlock();
            std::exception_ptr error;
            for (;;) {
                const std::size_t from = next_.fetch_add(grain, std::memory_order_relaxed);
                if (from >= n) break;
                const std::size_t to = std::min(n, from + grain);
                try {
                    for (std::size_t i = from; i < to; ++i) body(i);
                } catch (...) {
                    if (!error) error = std::current_exception();
                }
            }
            lock.lock();
            if (error && !error_) error_ = error;
            if (--working_ == 0) done_.notify_all();
        }
    }
};

Pool& pool() {
    static Pool p;
    return p;
}

}  // namespace

HelperJob::HelperJob(std::size_t n, std::function<void(std::size_t)> body) {
    if (n == 0) return;
    if (std::min(helper_threads(), n) == 0) {
        for (std::size_t i = 0; i < n; ++i) body(i);
        return;
    }
    ticket_ = pool().start(n, std::move(body));
}

HelperJob::~HelperJob() { end_quietly(); }

HelperJob::HelperJob(HelperJob&& other) noexcept : ticket_(std::exchange(other.ticket_, 0)) {}

HelperJob& HelperJob::operator=(HelperJob&& other) noexcept {
    if (this != &other) {
        end_quietly();
        ticket_ = std::exchange(other.ticket_, 0);
    }
    return *this;
}

void HelperJob::end_quietly() noexcept {
    try {
        wait();
    } catch (...) {
        // A call that failed is not asked again: the job's owner is letting it go.
    }
}

void HelperJob::wait() {
    if (!running()) return;
    pool().wait(std::exchange(ticket_, 0));
}

std::size_t helper_threads() { return t_off_main ? 0 : pool().allowed(); }

void set_helper_threads(std::size_t n) { pool().allow(n); }

struct BackgroundTask::State {
    std::thread thread;
    std::atomic<bool> done{false};
    std::exception_ptr error;
};

BackgroundTask::BackgroundTask(std::function<void()> work) : state_(std::make_unique<State>()) {
    if (helper_threads() == 0) {
        try {
            work();
        } catch (...) {
            state_->error = std::current_exception();
        }
        state_->done = true;
        return;
    }
    State* s = state_.get();
    s->thread = std::thread([s, work = std::move(work)] {
        t_off_main = true;
        try {
            work();
        } catch (...) {
            s->error = std::current_exception();
        }
        s->done.store(true, std::memory_order_release);
    });
}

BackgroundTask::~BackgroundTask() {
    if (state_->thread.joinable()) state_->thread.join();
}

bool BackgroundTask::done() const { return state_->done.load(std::memory_order_acquire); }

void BackgroundTask::join() {
    if (state_->thread.joinable()) state_->thread.join();
    if (state_->error) std::rethrow_exception(std::exchange(state_->error, nullptr));
}
