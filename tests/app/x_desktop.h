// What a test needs of an X desktop to drive a real program on it: child processes that end with
// the test, top-level windows found by title, their pictures, the window manager's close button,
// another program's clipboard and a file manager's drop. Include after GoogleTest: Xlib's macros
// (None, Bool) would break its headers.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace x_desktop {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Env = std::vector<std::pair<std::string, std::string>>;

inline std::optional<fs::path> find_program(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const fs::path p = fs::path(dir.empty() ? "." : dir) / name;
        if (access(p.c_str(), X_OK) == 0) return p;
    }
    return std::nullopt;
}

inline std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The processes the tests started (the program, the X server), whose waits for a processor the
// tests' waits allow for.
inline std::set<pid_t>& started_processes() {
    static std::set<pid_t> pids;
    return pids;
}

// How long each thread of the started processes has waited for a processor so far, in
// nanoseconds (the second field of the kernel's schedstat of each thread), by thread id.
inline std::vector<std::pair<pid_t, long long>> run_queue_waits() {
    std::vector<std::pair<pid_t, long long>> waits;
    for (const pid_t pid : started_processes()) {
        std::error_code ec;
        for (const auto& task : fs::directory_iterator(fs::path("/proc") / std::to_string(pid) / "task", ec)) {
            std::ifstream in(task.path() / "schedstat");
            long long on_cpu = 0, waiting = 0;
            if (in >> on_cpu >> waiting) waits.emplace_back(std::atoi(task.path().filename().c_str()), waiting);
        }
    }
    return waits;
}

// The time a started process was kept from running since `before` was read: the longest any one
// of its threads waited for a processor. A program that runs at idle priority on a busy machine
// gets little time; a test that waits for what it does waits that much longer.
inline std::chrono::milliseconds time_kept_waiting(const std::vector<std::pair<pid_t, long long>>& before) {
    long long longest = 0;
    for (const auto& [tid, now] : run_queue_waits()) {
        long long then = 0;
        for (const auto& [t, w] : before)
            if (t == tid) then = w;
        longest = std::max(longest, now - then);
    }
    return std::chrono::milliseconds(longest / 1'000'000);
}

// Asks `done` every `step` until it says yes or `limit` has passed, not counting the time the
// started processes waited for a processor meanwhile; its last answer.
inline bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds limit,
                       std::chrono::milliseconds step = 100ms) {
    const auto start = std::chrono::steady_clock::now();
    const auto waits_before = run_queue_waits();
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        // The waits for a processor are read only once the limit itself has passed.
        if (now >= start + limit && now >= start + limit + time_kept_waiting(waits_before)) return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}

// A child process that is ended (SIGTERM, then SIGKILL) when the test leaves it behind.
struct Child {
    pid_t pid = -1;
    std::optional<int> status;  // the wait status once it ended

    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { stop(); }
    bool running() {
        if (pid <= 0 || status) return false;
        int st = 0;
        if (waitpid(pid, &st, WNOHANG) == pid) {
            status = st;
            started_processes().erase(pid);
            return false;
        }
        return true;
    }
    // Waits for the end; the exit status, or -1 when it did not end in time or was killed.
    int wait_exit(std::chrono::milliseconds limit) {
        wait_until([this] { return !running(); }, limit, 20ms);
        if (running() || !status) return -1;
        return WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }
    void stop() {
        if (!running()) return;
        kill(pid, SIGTERM);
        if (wait_exit(3s) == -1 && running()) {
            kill(pid, SIGKILL);
            int st = 0;
            waitpid(pid, &st, 0);
            status = st;
            started_processes().erase(pid);
        }
    }
};

// Starts `argv` with `env` added to the environment (an empty value removes the variable) and
// its standard output and error in `log`. `keep_fd` stays open in the child; `cwd`, when given, is
// its working folder.
inline bool spawn(Child& c, const std::vector<std::string>& argv, const Env& env, const fs::path& log,
                  int keep_fd = -1, const fs::path& cwd = {}) {
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        for (const auto& [k, v] : env) {
            if (v.empty())
                unsetenv(k.c_str());
            else
                setenv(k.c_str(), v.c_str(), 1);
        }
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        const int devnull = open("/dev/null", O_RDONLY);
        if (devnull >= 0) dup2(devnull, 0);
        for (int fd = 3; fd < 256; ++fd)
            if (fd != keep_fd) close(fd);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    c.pid = pid;
    started_processes().insert(pid);
    return true;
}

inline int ignore_x_errors(Display*, XErrorEvent*) { return 0; }

inline std::string window_title(Display* d, Window w) {
    const Atom net_name = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, net_name, 0, 1024, False, utf8, &type, &format, &n, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), n);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(d, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

// The viewable top-level windows (a popup menu is one of its own).
inline std::set<Window> viewable_windows(Display* d) {
    std::set<Window> ws;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    XSync(d, False);
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) ws.insert(children[i]);
        }
        if (children) XFree(children);
    }
    return ws;
}

// The viewable top-level window with this title, or 0.
inline Window find_window(Display* d, const std::string& title) {
    for (Window w : viewable_windows(d))
        if (window_title(d, w) == title) return w;
    return 0;
}

// The window titled `title` once it shows, or 0 when `owner` ended or `limit` passed first.
inline Window wait_for_window(Display* d, const std::string& title, Child& owner, std::chrono::milliseconds limit) {
    Window w = 0;
    wait_until([&] { return !owner.running() || (w = find_window(d, title)) != 0; }, limit, 50ms);
    return w;
}

// The top-level windows shown since `before` was taken, once there is one or `limit` has passed.
inline std::set<Window> new_windows(Display* d, const std::set<Window>& before, std::chrono::milliseconds limit) {
    std::set<Window> shown;
    wait_until(
        [&] {
            for (Window w : viewable_windows(d))
                if (!before.count(w)) shown.insert(w);
            return !shown.empty();
        },
        limit, 50ms);
    return shown;
}

// The screen point of a point of the window.
inline std::pair<int, int> on_screen(Display* d, Window w, int x, int y) {
    int sx = 0, sy = 0;
    Window child = 0;
    XSync(d, False);
    XTranslateCoordinates(d, w, DefaultRootWindow(d), x, y, &sx, &sy, &child);
    return {sx, sy};
}

// Waits until the window stops moving (a program may place its window once it is shown; a click
// aimed at it before that lands elsewhere).
inline void wait_until_placed(Display* d, Window w) {
    auto last = on_screen(d, w, 0, 0);
    auto still_since = std::chrono::steady_clock::now();
    wait_until(
        [&] {
            const auto now = on_screen(d, w, 0, 0);
            if (now != last) {
                last = now;
                still_since = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - still_since >= 500ms;
        },
        5s, 50ms);
}

// A window's pixels as RGB, row by row from the top.
struct Picture {
    std::vector<std::uint8_t> rgb;
    int width = 0, height = 0;

    // The pixel at (x, y) as {r, g, b}, or nothing outside the picture.
    std::optional<std::array<int, 3>> at(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
        if (x < 0 || y < 0 || x >= width || y >= height || i + 2 >= rgb.size()) return std::nullopt;
        return std::array<int, 3>{rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};
using Colour = std::function<bool(int r, int g, int b)>;

inline Picture capture(Display* d, Window w) {
    Picture pic;
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a)) return pic;
    XImage* img = XGetImage(d, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), AllPlanes,
                            ZPixmap);
    if (!img) return pic;
    pic.width = a.width;
    pic.height = a.height;
    auto shift_of = [](unsigned long mask) {
        int s = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++s;
        }
        return s;
    };
    const int rs = shift_of(img->red_mask), gs = shift_of(img->green_mask), bs = shift_of(img->blue_mask);
    pic.rgb.reserve(static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height) * 3);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            pic.rgb.push_back(static_cast<std::uint8_t>((p & img->red_mask) >> rs));
            pic.rgb.push_back(static_cast<std::uint8_t>((p & img->green_mask) >> gs));
            pic.rgb.push_back(static_cast<std::uint8_t>((p & img->blue_mask) >> bs));
        }
    XDestroyImage(img);
    return pic;
}

inline size_t distinct_colours(const Picture& pic) {
    std::set<std::uint32_t> seen;
    for (size_t i = 0; i + 2 < pic.rgb.size() && seen.size() < 64; i += 3)
        seen.insert((std::uint32_t{pic.rgb[i]} << 16) | (std::uint32_t{pic.rgb[i + 1]} << 8) | pic.rgb[i + 2]);
    return seen.size();
}

// A part of a picture: fractions of its width and height.
struct Area {
    double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
};

// The pixels of a colour in a part of the picture.
inline size_t count_pixels(const Picture& pic, Area r, const Colour& is) {
    size_t n = 0;
    for (int y = static_cast<int>(pic.height * r.y0); y < static_cast<int>(pic.height * r.y1); ++y)
        for (int x = static_cast<int>(pic.width * r.x0); x < static_cast<int>(pic.width * r.x1); ++x)
            if (const auto p = pic.at(x, y); p && is((*p)[0], (*p)[1], (*p)[2])) ++n;
    return n;
}

// The middle of the longest run of pixels of a colour on one row of a part of the picture, {-1,
// -1} when none; `row` fixes the row when it is not -1.
struct Spot {
    int x = -1, y = -1;
};
inline Spot longest_run(const Picture& pic, Area r, const Colour& is, int row = -1) {
    Spot best;
    int best_len = 0;
    const int ya = row >= 0 ? row : static_cast<int>(pic.height * r.y0);
    const int yb = row >= 0 ? row + 1 : static_cast<int>(pic.height * r.y1);
    for (int y = ya; y < yb; ++y) {
        int run = 0;
        for (int x = static_cast<int>(pic.width * r.x0); x < static_cast<int>(pic.width * r.x1); ++x) {
            const auto p = pic.at(x, y);
            run = p && is((*p)[0], (*p)[1], (*p)[2]) ? run + 1 : 0;
            if (run > best_len) {
                best_len = run;
                best = Spot{x - run / 2, y};
            }
        }
    }
    return best;
}

// What the window manager's close button sends.
inline void send_close(Display* d, Window w) {
    XEvent e;
    std::memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
}

// Answers a selection request for `target` with `data`, refusing every other target.
inline void answer_selection(Display* d, const XSelectionRequestEvent& r, const std::vector<Atom>& targets,
                             const std::string& data) {
    XEvent reply;
    std::memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = r.requestor;
    reply.xselection.selection = r.selection;
    reply.xselection.target = r.target;
    reply.xselection.time = r.time;
    reply.xselection.property = r.property;
    const Atom list = XInternAtom(d, "TARGETS", False);
    bool offered = false;
    for (Atom t : targets) offered = offered || t == r.target;
    if (r.target == list) {
        std::vector<Atom> all{list};
        all.insert(all.end(), targets.begin(), targets.end());
        XChangeProperty(d, r.requestor, r.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(all.data()), static_cast<int>(all.size()));
    } else if (offered) {
        XChangeProperty(d, r.requestor, r.property, r.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    } else {
        reply.xselection.property = None;
    }
    XSendEvent(d, r.requestor, False, NoEventMask, &reply);
    XFlush(d);
}

// Owns the CLIPBOARD selection on its own connection and hands `text` (UTF-8) to whoever asks,
// until it is destroyed: what another program does after the user copied a text.
class ClipboardOwner {
public:
    ClipboardOwner(const std::string& display, std::string text) : text_(std::move(text)) {
        d_ = XOpenDisplay(display.c_str());
        if (!d_) return;
        w_ = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, 1, 1, 0, 0, 0);
        const Atom clipboard = XInternAtom(d_, "CLIPBOARD", False);
        XSetSelectionOwner(d_, clipboard, w_, CurrentTime);
        XSync(d_, False);
        owned_ = XGetSelectionOwner(d_, clipboard) == w_;
        thread_ = std::thread([this] { serve(); });
    }
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;
    ~ClipboardOwner() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (d_) XCloseDisplay(d_);
    }
    bool owned() const { return owned_; }

private:
    void serve() {
        const std::vector<Atom> targets{XInternAtom(d_, "UTF8_STRING", False),
                                        XInternAtom(d_, "text/plain;charset=utf-8", False)};
        while (!stop_) {
            while (XPending(d_)) {
                XEvent e;
                XNextEvent(d_, &e);
                if (e.type == SelectionRequest) answer_selection(d_, e.xselectionrequest, targets, text_);
            }
            std::this_thread::sleep_for(10ms);
        }
    }

    std::string text_;
    Display* d_ = nullptr;
    Window w_ = 0;
    bool owned_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The CLIPBOARD's text as UTF-8 ("" when nobody has one; a program that owns it may be slow to hand
// it over on a busy machine).
inline std::string clipboard_text(Display* d) {
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom prop = XInternAtom(d, "JUX_TEST_CLIP", False);
    XConvertSelection(d, XInternAtom(d, "CLIPBOARD", False), XInternAtom(d, "UTF8_STRING", False), prop, w,
                      CurrentTime);
    XFlush(d);
    std::string text;
    XEvent e;
    if (wait_until([&] { return XCheckTypedWindowEvent(d, w, SelectionNotify, &e); }, 60s, 20ms) &&
        e.xselection.property != None) {
        Atom type = None;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, w, prop, 0, 1 << 20, True, AnyPropertyType, &type, &format, &n, &after, &data) ==
                Success &&
            data) {
            text.assign(reinterpret_cast<char*>(data), n);
            XFree(data);
        }
    }
    XDestroyWindow(d, w);
    return text;
}

// Drops `file` at the screen point (x, y) on the top-level window `target`, as a file manager does:
// the XDND exchange (version 5) on a connection of its own, handing over the file's address when
// the target asks for it. True when the target took the drop and said it has finished with it.
inline bool drop_file(const std::string& display, Window target, int x, int y, const fs::path& file) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return false;
    const Window source = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const auto atom = [d](const char* name) { return XInternAtom(d, name, False); };
    const Atom enter = atom("XdndEnter"), position = atom("XdndPosition"), status = atom("XdndStatus"),
               drop = atom("XdndDrop"), finished = atom("XdndFinished"), leave = atom("XdndLeave"),
               selection = atom("XdndSelection"), copy = atom("XdndActionCopy"), uri_list = atom("text/uri-list");
    XSetSelectionOwner(d, selection, source, CurrentTime);
    const auto send = [&](Atom type, long l1, long l2, long l3, long l4) {
        XEvent e;
        std::memset(&e, 0, sizeof e);
        e.xclient.type = ClientMessage;
        e.xclient.window = target;
        e.xclient.message_type = type;
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(source);
        e.xclient.data.l[1] = l1;
        e.xclient.data.l[2] = l2;
        e.xclient.data.l[3] = l3;
        e.xclient.data.l[4] = l4;
        XSendEvent(d, target, False, NoEventMask, &e);
        XFlush(d);
    };
    const std::string uris = "file://" + file.string() + "\r\n";
    // Waits for the target's message `type`, handing over the address whenever it is asked for.
    const auto answer = [&](Atom type, std::chrono::seconds limit, long& flags) {
        return wait_until(
            [&] {
                while (XPending(d)) {
                    XEvent e;
                    XNextEvent(d, &e);
                    if (e.type == ClientMessage && e.xclient.message_type == type) {
                        flags = e.xclient.data.l[1];
                        return true;
                    }
                    if (e.type == SelectionRequest) answer_selection(d, e.xselectionrequest, {uri_list}, uris);
                }
                return false;
            },
            limit, 10ms);
    };
    send(enter, 5L << 24, static_cast<long>(uri_list), 0, 0);
    send(position, 0, (static_cast<long>(x) << 16) | y, CurrentTime, static_cast<long>(copy));
    long flags = 0;
    // A person lets go within a second or two: a target that has not taken the drag by then refuses it.
    bool done = answer(status, 2s, flags) && (flags & 1);
    if (done) {
        send(drop, 0, CurrentTime, 0, 0);
        done = answer(finished, 60s, flags);
    } else {
        send(leave, 0, 0, 0, 0);
    }
    XDestroyWindow(d, source);
    XCloseDisplay(d);
    return done;
}

}  // namespace x_desktop
