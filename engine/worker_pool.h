// engine/worker_pool.h - helper threads for pure, independent questions of a long job.
//
// The program is single-threaded: windows, panels, settings and lists belong to the main thread.
// A job that asks the same side-effect-free question of many words (the word lists' spelling
// answers) may hand those questions to helper threads. While they run, the main thread must not
// change anything they read (no message pump, no list or option change): it waits for them first.
// Nothing a helper runs may write shared state; each thread has its own spelling results.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

// Questions body(0) .. body(n - 1) running on the helper threads. Made on the main thread; it
// returns at once, and wait() (or the destructor) returns when every call has ended. Without
// helper threads (one processor, or none allowed), or when made on a helper or in a background
// task, the calls run at once on the calling thread, in order. One job runs at a time: starting
// another waits for the one running.
class HelperJob {
public:
    HelperJob() = default;
    HelperJob(std::size_t n, std::function<void(std::size_t)> body);
    ~HelperJob();
    HelperJob(HelperJob&& other) noexcept;
    HelperJob& operator=(HelperJob&& other) noexcept;
    HelperJob(const HelperJob&) = delete;
    HelperJob& operator=(const HelperJob&) = delete;

    // Waits for the end of every call; an exception thrown by a call is thrown here (once).
    void wait();
    // Whether calls may still be running.
    bool running() const { return ticket_ != 0; }

private:
    std::size_t ticket_ = 0;  // the pool's number of the job, 0 when none runs
    void end_quietly() noexcept;  // waits, an exception of a call dropped
};

// Helper threads the jobs made on this thread may use: 0 runs everything on the calling thread
// (always so on a helper or in a background task).
std::size_t helper_threads();

// Sets how many helper threads may be used (tests compare 0 with several); the default is one per
// processor beyond the main thread's. The threads already started stay idle beyond the number.
void set_helper_threads(std::size_t n);

// One piece of work on a thread of its own, beside the main thread, which must not change what it
// reads until it has ended (the main thread does not pump messages meanwhile). Without helper
// threads allowed it runs at once on the calling thread.
class BackgroundTask {
public:
    explicit BackgroundTask(std::function<void()> work);
    ~BackgroundTask();  // waits for its end (an exception it threw is dropped)
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // Whether it has ended (join does not wait then).
    bool done() const;
    // Waits for its end; an exception the work threw is thrown here (once).
    void join();

private:
    struct State;
    std::unique_ptr<State> state_;
};
