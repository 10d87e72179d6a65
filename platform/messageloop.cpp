// Posted messages, the quit request, the message loop, the time-bounded pump and the clock.
//
// A posted message waits in one queue until the backend's loop or pump delivers it; a message
// for a window destroyed meanwhile is dropped. PostQuitMessage leaves a request that ends the
// running loop (or the next one started) once the messages posted before it are delivered; the
// loop that ends consumes it. A message posted with PL_PostWhenIdle waits besides until no job
// pumps messages and no modal dialog runs: only a loop that is not nested in a job delivers it.
#include "platform/backend.h"
#include "platform/window.h"
#include "platform/window_core.h"

std::deque<std::pair<HWND, Msg>> g_posted;
std::deque<std::pair<HWND, Msg>> g_posted_when_idle;
bool g_quit_requested = false;
int g_quit_code = 0;
HACCEL g_loop_accel{};
HWND g_loop_accel_target{};
int g_modal_depth = 0;
int g_pump_depth = 0;

void core_reset_loop() {
    g_posted.clear();
    g_posted_when_idle.clear();
    g_quit_requested = false;
    g_quit_code = 0;
    g_loop_accel = {};
    g_loop_accel_target = {};
    g_modal_depth = 0;
    g_pump_depth = 0;
}

bool PostMessageW(HWND w, Msg m) {
    if (!IsWindow(w)) return false;
    g_posted.emplace_back(w, std::move(m));
    return true;
}

bool PL_PostWhenIdle(HWND w, Msg m) {
    if (!IsWindow(w)) return false;
    g_posted_when_idle.emplace_back(w, std::move(m));
    return true;
}

namespace {

bool idle() { return g_pump_depth == 0 && g_modal_depth == 0; }

// Only what was waiting when the round began: a procedure that posts again from its handler
// cannot keep one round going for ever.
void deliver(std::deque<std::pair<HWND, Msg>>& queue) {
    std::size_t n = queue.size();
    for (std::size_t i = 0; i < n && !queue.empty(); ++i) {
        auto [w, m] = std::move(queue.front());
        queue.pop_front();
        if (IsWindow(w)) SendMessageW(w, m);
    }
}

}  // namespace

bool platform_has_posted() { return !g_posted.empty() || (idle() && !g_posted_when_idle.empty()); }

void platform_deliver_posted() {
    deliver(g_posted);
    if (idle()) deliver(g_posted_when_idle);
}

void PostQuitMessage(int code) {
    g_quit_requested = true;
    g_quit_code = code;
    platform_backend().quit(code);
}

bool platform_quit_requested() { return g_quit_requested; }
int platform_quit_code() { return g_quit_code; }

int PL_RunMessageLoop(HACCEL accel, HWND accel_target) {
    HACCEL outer_accel = g_loop_accel;
    HWND outer_target = g_loop_accel_target;
    g_loop_accel = accel;
    g_loop_accel_target = accel_target;
    int code = platform_backend().run_loop();
    g_quit_requested = false;
    g_loop_accel = outer_accel;
    g_loop_accel_target = outer_target;
    return code;
}

HACCEL platform_loop_accelerators() { return g_loop_accel; }
HWND platform_loop_accelerator_target() { return g_loop_accel_target; }

void PL_PumpMessages(std::int64_t max_us) {
    ++g_pump_depth;
    platform_backend().pump(max_us);
    --g_pump_depth;
}

std::int64_t PL_NowMicroseconds() { return platform_backend().now_us(); }

void PL_SleepMilliseconds(int ms) {
    if (ms > 0) platform_backend().sleep_ms(ms);
}
