// Starts the real program on a virtual X server: its window appears with the dictionary's title
// and is captured to a PNG in the build folder; a second start refuses with its message box and
// exit status 1; closing the window ends the first with status 0. With the demonstration lexicon,
// a word typed into the entry box shows its entry, captured to a PNG as well; with SPELL_CHECKER
// set the text-checker window opens, a pasted text is checked in it (captured too), its find
// window replaces in its text and a click on a report line corrects it (both captured); in the
// human translator's checker a word filed from a popup is in its list after the end, and a sentence
// typed into the checker key by key while it checks arrives whole. Skipped
// when Xvfb is missing.
// GoogleTest before Xlib, whose macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "tests/app/png_writer.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::optional<fs::path> find_program(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const fs::path p = fs::path(dir.empty() ? "." : dir) / name;
        if (access(p.c_str(), X_OK) == 0) return p;
    }
    return std::nullopt;
}

// A child process that is ended (SIGTERM, then SIGKILL) when the test leaves it behind.
struct Child {
    pid_t pid = -1;
    std::optional<int> status;  // the wait status once it ended

    ~Child() { stop(); }
    bool running() {
        if (pid <= 0 || status) return false;
        int st = 0;
        if (waitpid(pid, &st, WNOHANG) == pid) {
            status = st;
            return false;
        }
        return true;
    }
    // Waits for the end; the exit status, or -1 when it did not end in time or was killed.
    int wait_exit(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20ms);
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
        }
    }
};

// Starts `argv` with `env` added to the environment (an empty value removes the variable) and
// its standard output and error in `log`. `keep_fd` stays open in the child; `cwd`, when given, is
// its working folder.
bool spawn(Child& c, const std::vector<std::string>& argv, const std::vector<std::pair<std::string, std::string>>& env,
           const fs::path& log, int keep_fd = -1, const fs::path& cwd = {}) {
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
    return true;
}

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string window_title(Display* d, Window w) {
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

// The viewable top-level window with this title, or 0.
Window find_window(Display* d, const std::string& title) {
    Window root_return = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    Window found = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root_return, &parent, &children, &n)) return 0;
    for (unsigned int i = 0; i < n && !found; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable && window_title(d, children[i]) == title)
            found = children[i];
    }
    if (children) XFree(children);
    return found;
}

Window wait_for_window(Display* d, const std::string& title, Child& owner, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end && owner.running()) {
        XSync(d, False);
        if (Window w = find_window(d, title)) return w;
        std::this_thread::sleep_for(50ms);
    }
    return 0;
}

int ignore_x_errors(Display*, XErrorEvent*) { return 0; }

// Waits until the window stops moving (the start-up places the text checker at the screen's
// top-left corner once it is shown; a click aimed at it before that lands elsewhere).
void wait_until_placed(Display* d, Window w) {
    const auto position = [&] {
        int x = 0, y = 0;
        Window child = 0;
        XSync(d, False);
        XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
        return std::pair{x, y};
    };
    auto last = position();
    auto still_since = std::chrono::steady_clock::now();
    const auto end = still_since + 5s;
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(50ms);
        const auto now = position();
        if (now != last) {
            last = now;
            still_since = std::chrono::steady_clock::now();
        } else if (std::chrono::steady_clock::now() - still_since >= 500ms) {
            return;
        }
    }
}

// The window's pixels as RGB.
std::vector<std::uint8_t> capture(Display* d, Window w, int& width, int& height) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a)) return {};
    width = a.width;
    height = a.height;
    XImage* img = XGetImage(d, w, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!img) return {};
    auto shift_of = [](unsigned long mask) {
        int s = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++s;
        }
        return s;
    };
    const int rs = shift_of(img->red_mask), gs = shift_of(img->green_mask), bs = shift_of(img->blue_mask);
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            rgb.push_back(static_cast<std::uint8_t>((p & img->red_mask) >> rs));
            rgb.push_back(static_cast<std::uint8_t>((p & img->green_mask) >> gs));
            rgb.push_back(static_cast<std::uint8_t>((p & img->blue_mask) >> bs));
        }
    XDestroyImage(img);
    return rgb;
}

size_t distinct_colours(const std::vector<std::uint8_t>& rgb) {
    std::set<std::uint32_t> seen;
    for (size_t i = 0; i + 2 < rgb.size() && seen.size() < 64; i += 3)
        seen.insert((std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
    return seen.size();
}

// What the window manager's close button sends.
void send_close(Display* d, Window w) {
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

class XvfbStart : public ::testing::Test {
protected:
    void SetUp() override {
        // The clipboard owner of the checker's case serves from a thread of its own.
        static const Status threads = XInitThreads();
        (void)threads;
        xvfb_path_ = find_program("Xvfb");
        if (!xvfb_path_) GTEST_SKIP() << "Xvfb is not installed";
        dir_ = temp_.path();
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        ASSERT_TRUE(spawn(xvfb_, {xvfb_path_->string(), "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                  "1024x768x24", "-nolisten", "tcp", "-noreset"},
                          {}, dir_ / "xvfb.log", fds[1]));
        close(fds[1]);
        // Xvfb writes the display number it took once it is ready.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < end && number.find('\n') == std::string::npos) {
            if (poll(&p, 1, 200) > 0) {
                char buf[32];
                const ssize_t n = read(fds[0], buf, sizeof buf);
                if (n <= 0) break;
                number.append(buf, static_cast<size_t>(n));
            }
        }
        close(fds[0]);
        ASSERT_NE(number.find('\n'), std::string::npos) << "Xvfb did not start: " << read_file(dir_ / "xvfb.log");
        display_name_ = ":" + number.substr(0, number.find('\n'));
        XSetErrorHandler(ignore_x_errors);
        display_ = XOpenDisplay(display_name_.c_str());
        ASSERT_NE(display_, nullptr);
        fs::create_directories(dir_ / "runtime");
        fs::permissions(dir_ / "runtime", fs::perms::owner_all);
    }

    void TearDown() override {
        first_.stop();
        second_.stop();
        if (display_) XCloseDisplay(display_);
        xvfb_.stop();
    }

    bool start_jux(Child& c, const std::string& log, const fs::path& start_folder = {},
                   const std::vector<std::pair<std::string, std::string>>& more_env = {}) {
        // Under the sanitizers, leaks of the desktop libraries Qt loads are not the program's.
        std::string lsan = "suppressions=" JUX_LSAN_SUPPRESSIONS;
        if (const char* outer = std::getenv("LSAN_OPTIONS"); outer && *outer) lsan = std::string(outer) + ":" + lsan;
        std::vector<std::pair<std::string, std::string>> env{{"DISPLAY", display_name_},
                                                             {"WAYLAND_DISPLAY", ""},
                                                             {"QT_QPA_PLATFORM", "xcb"},
                                                             {"XDG_RUNTIME_DIR", (dir_ / "runtime").string()},
                                                             {"LSAN_OPTIONS", lsan}};
        env.insert(env.end(), more_env.begin(), more_env.end());
        return spawn(c, {JUX_EXE}, env, dir_ / log, -1, start_folder);
    }

    // Starts the plain spell checker (no clipboard watch) on the demonstration lexicon in a folder
    // of its own, logging to `<name>.log`; its window, or 0 when none came up.
    Window start_checker(const std::string& name) {
        const fs::path start = demo_start_folder(name);
        std::ofstream(start / "settings.txt") << "SPELL_CHECKER 1\r\nTRANSLATE_CLIPBOARD 0\r\n";
        if (!start_jux(first_, name + ".log", start)) return 0;
        return wait_for_window(display_, "JUX Spell Checker 1.0", first_, 30s);
    }

    // A start folder `name` with the demonstration lexicon as its data folder.
    fs::path demo_start_folder(const std::string& name) {
        const fs::path start = dir_ / name;
        fs::create_directories(start);
        fs::copy(JUX_DEMO_DIR, start / "alt", fs::copy_options::recursive);
        return start;
    }

    // The desktop's opener for the program: a script that notes each thing it is asked to open as a
    // line of the file `opened`. The environment that puts it first on the program's PATH.
    std::vector<std::pair<std::string, std::string>> noting_opener(const fs::path& opened) {
        const fs::path bin = dir_ / "bin";
        fs::create_directories(bin);
        std::ofstream(bin / "xdg-open") << "#!/bin/sh\necho \"$@\" >> '" << opened.string() << "'\n";
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        const char* path = std::getenv("PATH");
        return {{"PATH", bin.string() + ":" + (path ? path : "/usr/bin:/bin")}};
    }

    // The user pastes `text` into the checker's right panel, goes back to its start and presses
    // Ctrl+F (again while keys pressed during the paste's check are lost): the find window, or 0.
    Window open_find_over(const fs::path& xdo, Window checker, const std::string& text);

    // xdotool and the checker started and placed on the screen: the test is skipped without
    // xdotool and fails without a checker (the caller returns when either happened).
    void start_placed_checker(const std::string& name, fs::path& xdo, Window& checker) {
        const auto found = find_program("xdotool");
        if (!found) GTEST_SKIP() << "xdotool is not installed";
        xdo = *found;
        checker = start_checker(name);
        ASSERT_NE(checker, 0u) << read_file(dir_ / (name + ".log"));
        wait_until_placed(display_, checker);
    }

    // Closes the program's window `w` as its close box does; the program must end with status 0.
    void close_and_expect_end(Window w, const std::string& log) {
        send_close(display_, w);
        EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / log);
    }

    std::optional<fs::path> xvfb_path_;
    jux_test::TempFolder temp_{"xvfb"};  // removed after the programs below have ended
    fs::path dir_;
    Child xvfb_, first_, second_;
    std::string display_name_;
    Display* display_ = nullptr;
};

}  // namespace

TEST_F(XvfbStart, WindowAppearsSecondStartIsRefusedAndCloseEndsTheProgram) {
    // A start folder with a lexicon (a folder without one is told in an "Oops!" box of its own).
    const fs::path start = dir_ / "start";
    fs::create_directories(start);
    fs::copy(JUX_DEMO_DIR, start / "alt", fs::copy_options::recursive);
    ASSERT_TRUE(start_jux(first_, "first.log", start));
    const Window main_window = wait_for_window(display_, "JUX Dictionary 1.0", first_, 30s);
    ASSERT_NE(main_window, 0u) << "no window titled \"JUX Dictionary 1.0\"; the program said: "
                               << read_file(dir_ / "first.log");
    EXPECT_EQ(window_title(display_, main_window), "JUX Dictionary 1.0");

    // The screenshot, once the panels are painted (more than one colour in the window).
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    const auto end = std::chrono::steady_clock::now() + 10s;
    do {
        std::this_thread::sleep_for(100ms);
        rgb = capture(display_, main_window, width, height);
    } while (distinct_colours(rgb) < 2 && std::chrono::steady_clock::now() < end);
    EXPECT_GE(distinct_colours(rgb), 2u) << "the window shows nothing";
    EXPECT_GT(width, 200);
    EXPECT_GT(height, 150);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-start.png";
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    EXPECT_GT(fs::file_size(shot), 1000u);

    // A second start finds the first one running: "Oops!" box, answered with Return, status 1.
    ASSERT_TRUE(start_jux(second_, "second.log", start));
    const Window oops = wait_for_window(display_, "Oops!", second_, 30s);
    ASSERT_NE(oops, 0u) << "no \"Oops!\" box; the second start said: " << read_file(dir_ / "second.log");
    if (auto xdotool = find_program("xdotool")) {
        XSetInputFocus(display_, oops, RevertToParent, CurrentTime);
        XSync(display_, False);
        Child key;
        spawn(key, {xdotool->string(), "key", "--clearmodifiers", "Return"}, {{"DISPLAY", display_name_}},
              dir_ / "xdotool.log");
        key.wait_exit(10s);
    }
    if (second_.wait_exit(5s) == -1 && second_.running()) send_close(display_, oops);  // no xdotool: its close box
    EXPECT_EQ(second_.wait_exit(10s), 1) << read_file(dir_ / "second.log");
    EXPECT_NE(find_window(display_, "JUX Dictionary 1.0"), 0u) << "the first instance must keep running";

    // The close box of the main window ends the program normally.
    send_close(display_, main_window);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "first.log");
}

namespace {

// Pixels of about RGB(170, 0, 255), the colour of an entry's headword, in a part of the picture
// (fractions of its width and height).
size_t headword_pixels(const std::vector<std::uint8_t>& rgb, int width, int height, double x0, double x1, double y0,
                       double y1) {
    size_t n = 0;
    for (int y = static_cast<int>(height * y0); y < static_cast<int>(height * y1); ++y)
        for (int x = static_cast<int>(width * x0); x < static_cast<int>(width * x1); ++x) {
            const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
            if (i + 2 >= rgb.size()) continue;
            if (rgb[i] >= 140 && rgb[i] <= 200 && rgb[i + 1] <= 60 && rgb[i + 2] >= 200) ++n;
        }
    return n;
}

}  // namespace

TEST_F(XvfbStart, AWordTypedIntoTheEntryBoxShowsItsEntry) {
    const auto xdotool = find_program("xdotool");
    if (!xdotool) GTEST_SKIP() << "xdotool is not installed";
    const fs::path start = dir_ / "start";
    fs::create_directories(start);
    fs::copy(JUX_DEMO_DIR, start / "alt", fs::copy_options::recursive);
    ASSERT_TRUE(start_jux(first_, "lookup.log", start));
    const Window main_window = wait_for_window(display_, "JUX Dictionary 1.0", first_, 30s);
    ASSERT_NE(main_window, 0u) << read_file(dir_ / "lookup.log");

    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb = capture(display_, main_window, width, height);
    ASSERT_GT(width, 200);
    EXPECT_EQ(headword_pixels(rgb, width, height, 0.35, 1.0, 0.08, 0.6), 0u);  // nothing shown yet

    // The entry box has the focus from the start; the word is typed key by key.
    XSetInputFocus(display_, main_window, RevertToParent, CurrentTime);
    XSync(display_, False);
    Child typing;
    spawn(typing, {xdotool->string(), "type", "--delay", "60", "apple"}, {{"DISPLAY", display_name_}},
          dir_ / "type.log");
    EXPECT_EQ(typing.wait_exit(20s), 0) << read_file(dir_ / "type.log");

    // The entry panel (right of the dictionary, under the entry box) shows the headword in its colour.
    size_t shown = 0;
    const auto end = std::chrono::steady_clock::now() + 15s;
    do {
        std::this_thread::sleep_for(100ms);
        rgb = capture(display_, main_window, width, height);
        shown = headword_pixels(rgb, width, height, 0.35, 1.0, 0.08, 0.6);
    } while (shown < 20 && std::chrono::steady_clock::now() < end);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-lookup.png";
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    EXPECT_GE(shown, 20u) << "the entry panel shows no headword; see " << shot;

    // Closing the program writes the look-up shown to the search log: the word was found.
    send_close(display_, main_window);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "lookup.log");
    EXPECT_EQ(read_file(start / "alt" / "searchlog.txt"), "//RECENT SEARCHES:\r\n\r\napple\r\n");
}

namespace {

// Owns the CLIPBOARD selection on its own connection and hands `text` (UTF-8) to whoever asks,
// until it is destroyed: what another program does after the user copied a text.
class ClipboardOwner {
public:
    ClipboardOwner(const std::string& display, std::string text) : text_(std::move(text)) {
        d_ = XOpenDisplay(display.c_str());
        if (!d_) return;
        w_ = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, 1, 1, 0, 0, 0);
        clipboard_ = XInternAtom(d_, "CLIPBOARD", False);
        XSetSelectionOwner(d_, clipboard_, w_, CurrentTime);
        XSync(d_, False);
        owned_ = XGetSelectionOwner(d_, clipboard_) == w_;
        thread_ = std::thread([this] { serve(); });
    }
    ~ClipboardOwner() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (d_) XCloseDisplay(d_);
    }
    bool owned() const { return owned_; }

private:
    void serve() {
        const Atom targets = XInternAtom(d_, "TARGETS", False);
        const Atom utf8 = XInternAtom(d_, "UTF8_STRING", False);
        const Atom plain_utf8 = XInternAtom(d_, "text/plain;charset=utf-8", False);
        while (!stop_) {
            while (XPending(d_)) {
                XEvent e;
                XNextEvent(d_, &e);
                if (e.type != SelectionRequest) continue;
                const XSelectionRequestEvent& r = e.xselectionrequest;
                XEvent reply;
                std::memset(&reply, 0, sizeof reply);
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = r.requestor;
                reply.xselection.selection = r.selection;
                reply.xselection.target = r.target;
                reply.xselection.time = r.time;
                reply.xselection.property = r.property;
                if (r.target == targets) {
                    const Atom offered[] = {targets, utf8, plain_utf8};
                    XChangeProperty(d_, r.requestor, r.property, XA_ATOM, 32, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(offered), 3);
                } else if (r.target == utf8 || r.target == plain_utf8) {
                    XChangeProperty(d_, r.requestor, r.property, r.target, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(text_.data()), static_cast<int>(text_.size()));
                } else {
                    reply.xselection.property = None;
                }
                XSendEvent(d_, r.requestor, False, NoEventMask, &reply);
                XFlush(d_);
            }
            std::this_thread::sleep_for(10ms);
        }
    }

    std::string text_;
    Display* d_ = nullptr;
    Window w_ = 0;
    Atom clipboard_ = 0;
    bool owned_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The CLIPBOARD's text as UTF-8 ("" when nobody hands one over within the time).
std::string clipboard_text(Display* d) {
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const Atom prop = XInternAtom(d, "JUX_TEST_CLIP", False);
    XConvertSelection(d, clipboard, utf8, prop, w, CurrentTime);
    XFlush(d);
    std::string text;
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < end) {
        XEvent e;
        if (XCheckTypedWindowEvent(d, w, SelectionNotify, &e)) {
            if (e.xselection.property != None) {
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
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    XDestroyWindow(d, w);
    return text;
}

// Pixels of a strong red, pink or magenta (the colours of unknown words) in a part of the picture.
size_t misspelling_pixels(const std::vector<std::uint8_t>& rgb, int width, int height, double x0, double x1, double y0,
                          double y1) {
    size_t n = 0;
    for (int y = static_cast<int>(height * y0); y < static_cast<int>(height * y1); ++y)
        for (int x = static_cast<int>(width * x0); x < static_cast<int>(width * x1); ++x) {
            const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
            if (i + 2 < rgb.size() && rgb[i] >= 180 && rgb[i + 1] <= 100) ++n;
        }
    return n;
}

void xdotool(const fs::path& exe, const std::string& display, const std::vector<std::string>& args, const fs::path& log) {
    Child c;
    std::vector<std::string> argv{exe.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    spawn(c, argv, {{"DISPLAY", display}}, log);
    c.wait_exit(20s);
}

}  // namespace

TEST_F(XvfbStart, TheSpellCheckerEditionOpensTheCheckerAndAPastedTextIsChecked) {
    const auto xdo = find_program("xdotool");
    if (!xdo) GTEST_SKIP() << "xdotool is not installed";
    const fs::path start = dir_ / "checker";
    fs::create_directories(start);
    fs::copy(JUX_DEMO_DIR, start / "alt", fs::copy_options::recursive);
    // The checker is the program's face; the clipboard watch stays out of the test's copies; the
    // unknown English words are listed one per line as they are found.
    std::ofstream(start / "settings.txt") << "SPELL_CHECKER 1\r\nTRANSLATE_CLIPBOARD 0\r\nENGLIST_UNGROUPED 1\r\n";
    ASSERT_TRUE(start_jux(first_, "checker.log", start));
    const Window checker = wait_for_window(display_, "JUX Spell Checker 1.0", first_, 30s);
    ASSERT_NE(checker, 0u) << "no window titled \"JUX Spell Checker 1.0\"; the program said: "
                           << read_file(dir_ / "checker.log");
    wait_until_placed(display_, checker);

    // Another program copies a text with a misspelt English and a misspelt Bulgarian word; the
    // user clicks into the right panel and pastes it.
    ClipboardOwner owner(display_name_, "The good dog. Housse\nАз имам автобусс");
    ASSERT_TRUE(owner.owned());
    const std::string win = std::to_string(checker);
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, "650", "250", "click", "1"}, dir_ / "xdo1.log");
    xdotool(*xdo, display_name_, {"key", "--clearmodifiers", "ctrl+v"}, dir_ / "xdo2.log");

    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    size_t left_marks = 0, right_marks = 0;
    const auto end = std::chrono::steady_clock::now() + 15s;
    do {
        std::this_thread::sleep_for(150ms);
        rgb = capture(display_, checker, width, height);
        left_marks = misspelling_pixels(rgb, width, height, 0.02, 0.40, 0.08, 0.95);
        right_marks = misspelling_pixels(rgb, width, height, 0.42, 1.0, 0.08, 0.95);
    } while ((left_marks < 20 || right_marks < 20) && std::chrono::steady_clock::now() < end);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-checker.png";
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    EXPECT_GE(left_marks, 20u) << "the left panel shows no coloured line; see " << shot;
    EXPECT_GE(right_marks, 20u) << "the text shows no coloured misspelling; see " << shot;

    // The left panel's text, copied by the user.
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, "150", "300", "click", "1"}, dir_ / "xdo3.log");
    xdotool(*xdo, display_name_, {"key", "--clearmodifiers", "ctrl+a", "ctrl+c"}, dir_ / "xdo4.log");
    std::this_thread::sleep_for(300ms);
    const std::string left = clipboard_text(display_);
    EXPECT_EQ(left.rfind("7 words found (37 characters)", 0), 0u) << left;
    EXPECT_NE(left.find("Housse -> House"), std::string::npos) << left;
    EXPECT_EQ(left.find("good ->"), std::string::npos) << left;

    // Closing the checker ends the program (its main window is hidden).
    send_close(display_, checker);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "checker.log");
}

TEST_F(XvfbStart, ASentenceTypedIntoTheCheckerWhileItChecksArrivesWhole) {
    const auto xdo = find_program("xdotool");
    if (!xdo) GTEST_SKIP() << "xdotool is not installed";
    const Window checker = start_checker("typing");
    ASSERT_NE(checker, 0u) << read_file(dir_ / "typing.log");
    std::this_thread::sleep_for(1s);  // the start-up places the window once it is shown

    // Every key checks the whole text again; keys typed while a check works must all arrive, in
    // their order.
    const std::string sentence =
        "The quick brown fox jumps over the lazy dog and the old teacher walks to the river every morning";
    const std::string win = std::to_string(checker);
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, "650", "250", "click", "1"}, dir_ / "xdo1.log");
    xdotool(*xdo, display_name_, {"type", "--delay", "40", sentence}, dir_ / "xdo2.log");
    std::string typed;
    const auto end = std::chrono::steady_clock::now() + 10s;
    do {
        std::this_thread::sleep_for(500ms);
        xdotool(*xdo, display_name_, {"key", "--clearmodifiers", "ctrl+a", "ctrl+c"}, dir_ / "xdo3.log");
        std::this_thread::sleep_for(200ms);
        typed = clipboard_text(display_);
    } while (typed != sentence && std::chrono::steady_clock::now() < end);
    EXPECT_EQ(typed, sentence);

    send_close(display_, checker);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "typing.log");
}

TEST_F(XvfbStart, AWordFiledFromAPopupOfTheCheckerIsInItsListAfterTheProgramEnds) {
    const auto xdo = find_program("xdotool");
    if (!xdo) GTEST_SKIP() << "xdotool is not installed";
    const fs::path start = dir_ / "filing";
    fs::create_directories(start);
    fs::copy(JUX_DEMO_DIR, start / "alt", fs::copy_options::recursive);
    // The human translator's checker shows the filing buttons; the result goes to the status line.
    std::ofstream(start / "settings.txt")
        << "SPELL_CHECKER 1\r\nENGLISH_TRANSLATION 1\r\nTRANSLATE_CLIPBOARD 0\r\nSHOW_MESSAGES 0\r\n";
    ASSERT_TRUE(start_jux(first_, "filing.log", start));
    const Window checker = wait_for_window(display_, "JUX Human Translator 1.0", first_, 30s);
    ASSERT_NE(checker, 0u) << read_file(dir_ / "filing.log");
    wait_until_placed(display_, checker);
    const auto shown = [this] {
        std::set<Window> ws;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int n = 0;
        XSync(display_, False);
        if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &n)) {
            for (unsigned int i = 0; i < n; ++i) {
                XWindowAttributes a;
                if (XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable) ws.insert(children[i]);
            }
            if (children) XFree(children);
        }
        return ws;
    };

    // The Bulgarian side comes from the clipboard; the English word is typed and selected.
    ClipboardOwner owner(display_name_, "зебра");
    ASSERT_TRUE(owner.owned());
    const std::string win = std::to_string(checker);
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, "650", "250", "click", "1"}, dir_ / "xdo1.log");
    xdotool(*xdo, display_name_, {"type", "--delay", "60", "zebra"}, dir_ / "xdo2.log");
    // The word selected; "n-v" (dialog units 429, 25, 18 x 12 in the 8-point font, under the menu
    // bar) opens the noun popup, whose first item, "c11", is clicked.
    xdotool(*xdo, display_name_, {"key", "--clearmodifiers", "ctrl+a"}, dir_ / "xdo3.log");
    const std::set<Window> before = shown();
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, "657", "72", "click", "1"}, dir_ / "xdo4.log");
    std::set<Window> popup;
    const auto popup_end = std::chrono::steady_clock::now() + 10s;
    while (popup.empty() && std::chrono::steady_clock::now() < popup_end) {
        std::this_thread::sleep_for(50ms);
        popup = shown();
        for (Window w : before) popup.erase(w);
    }
    ASSERT_EQ(popup.size(), 1u) << "no popup opened";
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(display_, *popup.begin(), &a));
    std::this_thread::sleep_for(300ms);
    xdotool(*xdo, display_name_, {"mousemove", std::to_string(a.x + 25), std::to_string(a.y + 12), "click", "1"},
            dir_ / "xdo5.log");
    const std::string filed = "zebra \xE7\xE5\xE1\xF0\xE0\r\n";  // "зебра" in CP1251
    const fs::path list = start / "alt" / "c" / "c_c11.txt";
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (read_file(list).find(filed) == std::string::npos && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(100ms);

    // Closing the checker ends the program; the list file keeps the word.
    send_close(display_, checker);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "filing.log");
    EXPECT_NE(read_file(list).find(filed), std::string::npos);
}

Window XvfbStart::open_find_over(const fs::path& xdo, Window checker, const std::string& text) {
    {
        ClipboardOwner owner(display_name_, text);
        if (!owner.owned()) return 0;
        xdotool(xdo, display_name_, {"mousemove", "--window", std::to_string(checker), "650", "250", "click", "1"},
                dir_ / "xdo1.log");
        xdotool(xdo, display_name_, {"key", "--clearmodifiers", "ctrl+v"}, dir_ / "xdo2.log");
        std::this_thread::sleep_for(500ms);
    }
    Window find = 0;
    for (int attempt = 0; attempt < 10 && !find; ++attempt) {
        xdotool(xdo, display_name_, {"key", "--clearmodifiers", "ctrl+Home", "ctrl+f"}, dir_ / "xdo3.log");
        find = wait_for_window(display_, "Търсене", first_, 3s);
    }
    return find;
}

TEST_F(XvfbStart, TheCheckersFindWindowReplacesInItsText) {
    fs::path xdo;
    Window checker = 0;
    start_placed_checker("find", xdo, checker);
    if (IsSkipped() || HasFatalFailure()) return;
    const std::string win = std::to_string(checker);
    const Window find = open_find_over(xdo, checker, "the cat and the cat");
    ASSERT_NE(find, 0u) << "no find window; the program said: " << read_file(dir_ / "find.log");

    // The find field has the focus; the replace field and "Replace all" are clicked (the
    // template's places: 1.5 pixels a dialog unit across, 1.625 down, in the 8-point font).
    const std::string fw = std::to_string(find);
    xdotool(xdo, display_name_, {"type", "--delay", "40", "cat"}, dir_ / "xdo4.log");
    xdotool(xdo, display_name_, {"mousemove", "--window", fw, "190", "122", "click", "1"}, dir_ / "xdo5.log");
    xdotool(xdo, display_name_, {"type", "--delay", "40", "dog"}, dir_ / "xdo6.log");
    xdotool(xdo, display_name_, {"mousemove", "--window", fw, "343", "107", "click", "1"}, dir_ / "xdo7.log");
    std::this_thread::sleep_for(500ms);
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb = capture(display_, find, width, height);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-find-replace.png";
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    rgb = capture(display_, checker, width, height);
    ASSERT_TRUE(write_png(fs::path(JUX_SHOT_DIR) / "jux-find-replace-checker.png", width, height, rgb));

    // The checker's text, copied by the user (again while a busy program lost the keys).
    std::string copied;
    for (int attempt = 0; attempt < 5 && copied.empty(); ++attempt) {
        xdotool(xdo, display_name_, {"mousemove", "--window", win, "650", "250", "click", "1"}, dir_ / "xdo8.log");
        xdotool(xdo, display_name_, {"key", "--clearmodifiers", "ctrl+a", "ctrl+c"}, dir_ / "xdo9.log");
        std::this_thread::sleep_for(300ms);
        copied = clipboard_text(display_);
    }
    EXPECT_EQ(copied, "the dog and the dog") << "see " << shot;

    send_close(display_, checker);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "find.log");
}

namespace {

// The middle of the longest run of pixels matching `is` on one row of a part of the picture
// (x0..x1, y0..y1 as fractions), -1 when none; `row` fixes the row when it is not -1.
struct Spot {
    int x = -1, y = -1;
};
template <class Is>
Spot longest_run(const std::vector<std::uint8_t>& rgb, int width, int height, double x0, double x1, double y0,
                 double y1, Is is, int row = -1) {
    Spot best;
    int best_len = 0;
    const int ya = row >= 0 ? row : static_cast<int>(height * y0), yb = row >= 0 ? row + 1 : static_cast<int>(height * y1);
    for (int y = ya; y < yb; ++y) {
        int run = 0;
        for (int x = static_cast<int>(width * x0); x < static_cast<int>(width * x1); ++x) {
            const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
            run = i + 2 < rgb.size() && is(rgb[i], rgb[i + 1], rgb[i + 2]) ? run + 1 : 0;
            if (run > best_len) {
                best_len = run;
                best = Spot{x - run / 2, y};
            }
        }
    }
    return best;
}

}  // namespace

TEST_F(XvfbStart, AClickOnAReportLineAndItsSuggestionCorrectsTheTextInGreen) {
    fs::path xdo;
    Window checker = 0;
    start_placed_checker("correction", xdo, checker);
    if (IsSkipped() || HasFatalFailure()) return;

    ClipboardOwner owner(display_name_, "Аз имам автобусс");
    ASSERT_TRUE(owner.owned());
    const std::string win = std::to_string(checker);
    xdotool(xdo, display_name_, {"mousemove", "--window", win, "650", "250", "click", "1"}, dir_ / "xdo1.log");
    xdotool(xdo, display_name_, {"key", "--clearmodifiers", "ctrl+v"}, dir_ / "xdo2.log");

    // The unknown word's line in the left panel: its word in red, its suggestions in green.
    const auto red = [](int r, int g, int b) { return r >= 200 && g <= 60 && b <= 90; };
    const auto list_green = [](int r, int g, int b) { return r <= 60 && g >= 100 && g <= 150 && b <= 60; };
    const auto corrected_green = [](int r, int g, int b) { return r <= 60 && g >= 150 && g <= 190 && b <= 60; };
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    Spot word, suggestion;
    const auto end = std::chrono::steady_clock::now() + 15s;
    do {
        std::this_thread::sleep_for(150ms);
        rgb = capture(display_, checker, width, height);
        word = longest_run(rgb, width, height, 0.01, 0.40, 0.08, 0.95, red);
        if (word.y >= 0) suggestion = longest_run(rgb, width, height, 0.01, 0.40, 0, 0, list_green, word.y);
    } while ((word.y < 0 || suggestion.x < 0) && std::chrono::steady_clock::now() < end);
    ASSERT_GE(suggestion.x, 0) << "no report line with a suggestion";

    // The word finds the misspelling, the suggestion replaces it.
    xdotool(xdo, display_name_, {"mousemove", "--window", win, std::to_string(word.x), std::to_string(word.y), "click", "1"},
            dir_ / "xdo3.log");
    std::this_thread::sleep_for(300ms);
    xdotool(xdo, display_name_,
            {"mousemove", "--window", win, std::to_string(suggestion.x), std::to_string(suggestion.y), "click", "1"},
            dir_ / "xdo4.log");
    Spot green;
    const auto end2 = std::chrono::steady_clock::now() + 10s;
    do {
        std::this_thread::sleep_for(150ms);
        rgb = capture(display_, checker, width, height);
        green = longest_run(rgb, width, height, 0.42, 1.0, 0.08, 0.95, corrected_green);
    } while (green.x < 0 && std::chrono::steady_clock::now() < end2);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-correction.png";
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    EXPECT_GE(green.x, 0) << "the text panel shows no corrected word in green; see " << shot;

    send_close(display_, checker);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "correction.log");
}

namespace {

// Drops `file` at the screen point (x, y) on the top-level window `target`, as a file manager does:
// the XDND exchange (version 5) on a connection of its own, handing over the file's address when
// the target asks for it. True when the target took the drop and said it has finished with it.
bool drop_file(const std::string& display, Window target, int x, int y, const fs::path& file) {
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
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            while (XPending(d)) {
                XEvent e;
                XNextEvent(d, &e);
                if (e.type == ClientMessage && e.xclient.message_type == type) {
                    flags = e.xclient.data.l[1];
                    return true;
                }
                if (e.type != SelectionRequest) continue;
                const XSelectionRequestEvent& r = e.xselectionrequest;
                XEvent reply;
                std::memset(&reply, 0, sizeof reply);
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = r.requestor;
                reply.xselection.selection = r.selection;
                reply.xselection.target = r.target;
                reply.xselection.time = r.time;
                reply.xselection.property = r.target == uri_list ? r.property : None;
                if (r.target == uri_list)
                    XChangeProperty(d, r.requestor, r.property, uri_list, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(uris.data()), static_cast<int>(uris.size()));
                XSendEvent(d, r.requestor, False, NoEventMask, &reply);
                XFlush(d);
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
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

// The screen point of a point of the window.
std::pair<int, int> on_screen(Display* d, Window w, int x, int y) {
    int sx = 0, sy = 0;
    Window child = 0;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), x, y, &sx, &sy, &child);
    return {sx, sy};
}

}  // namespace

// The "N" button of the translator's checker opens the printed dictionary's page of the word last
// clicked in the report: the page list in alt/nov names the image, and the desktop's opener (a
// stand-in here that notes what it was given) gets it.
TEST_F(XvfbStart, TheNButtonOpensThePageImageOfTheWordClickedInTheReport) {
    const auto xdo = find_program("xdotool");
    if (!xdo) GTEST_SKIP() << "xdotool is not installed";
    const fs::path start = demo_start_folder("nov");
    fs::create_directories(start / "alt" / "nov");
    std::ofstream(start / "alt" / "nov" / "pages.txt", std::ios::binary) << "\xE0 p1.png\r\n";  // "а" in CP1251
    ASSERT_TRUE(write_png(start / "alt" / "nov" / "p1.png", 1, 1, {255, 255, 255}));
    const fs::path opened = dir_ / "opened.txt";
    std::ofstream(start / "settings.txt")
        << "SPELL_CHECKER 1\r\nENGLISH_TRANSLATION 1\r\nTRANSLATE_CLIPBOARD 0\r\nSHOW_MESSAGES 0\r\n";
    ASSERT_TRUE(start_jux(first_, "nov.log", start, noting_opener(opened)));
    const Window checker = wait_for_window(display_, "JUX Human Translator 1.0", first_, 30s);
    ASSERT_NE(checker, 0u) << read_file(dir_ / "nov.log");
    wait_until_placed(display_, checker);

    ClipboardOwner owner(display_name_, "Аз имам автобусс");
    ASSERT_TRUE(owner.owned());
    const std::string win = std::to_string(checker);
    // "Paste" (dialog units 559, 25, 25 x 12) puts the clipboard's text in and checks it (the
    // translation modes check no edit as it is made).
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, "857", "72", "click", "1"}, dir_ / "xdo1.log");

    // The misspelt word's line in the report, its word in red; a click on it takes the word.
    const auto red = [](int r, int g, int b) { return r >= 200 && g <= 60 && b <= 90; };
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    Spot word;
    const auto end = std::chrono::steady_clock::now() + 15s;
    do {
        std::this_thread::sleep_for(150ms);
        rgb = capture(display_, checker, width, height);
        word = longest_run(rgb, width, height, 0.03, 0.40, 0.08, 0.95, red);
    } while (word.y < 0 && std::chrono::steady_clock::now() < end);
    ASSERT_GE(word.y, 0) << "no red word in the report";
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, std::to_string(word.x), std::to_string(word.y), "click", "1"},
            dir_ / "xdo3.log");
    std::this_thread::sleep_for(300ms);
    // "N" (dialog units 1, 282, 14 x 13: left of the report, under the menu bar).
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, "12", "490", "click", "1"}, dir_ / "xdo4.log");
    const auto end2 = std::chrono::steady_clock::now() + 10s;
    while (read_file(opened).empty() && std::chrono::steady_clock::now() < end2) std::this_thread::sleep_for(100ms);
    rgb = capture(display_, checker, width, height);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-nov.png";
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    EXPECT_NE(read_file(opened).find((start / "alt" / "nov" / "p1.png").string()), std::string::npos)
        << "the opener got \"" << read_file(opened) << "\"; see " << shot;

    close_and_expect_end(checker, "nov.log");
}

// A file dropped on the text while a long pasted text is being checked is loaded once that check
// has ended (the window then bears its path) and is checked in its turn; the text pasted by Ctrl+V
// or by the "Paste" button (dialog units 559, 25, 25 x 12).
class XvfbDrop : public XvfbStart, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(Paste, XvfbDrop, ::testing::Values(false, true),
                         [](const auto& b) { return b.param ? "Button" : "CtrlV"; });

TEST_P(XvfbDrop, AFileDroppedWhileTheTextIsCheckedIsLoadedAfterTheCheck) {
    fs::path xdo;
    Window checker = 0;
    start_placed_checker("drop", xdo, checker);
    if (IsSkipped() || HasFatalFailure()) return;
    const fs::path file = dir_ / "dropped.txt";
    std::ofstream(file) << "The dog Housse\n";

    // Many lines of known and unknown words: a check of a second or more.
    std::string long_text;
    for (int i = 0; i < 40000; ++i) {
        long_text += "The good dog walks to the river ";
        for (int n = i; n > 0; n /= 26) long_text += static_cast<char>('a' + n % 26);
        long_text += "ght.\n";
    }
    ClipboardOwner owner(display_name_, long_text);
    ASSERT_TRUE(owner.owned());
    const std::string win = std::to_string(checker);
    xdotool(xdo, display_name_, {"mousemove", "--window", win, "650", "250", "click", "1"}, dir_ / "xdo1.log");
    xdotool(xdo, display_name_,
            GetParam() ? std::vector<std::string>{"mousemove", "--window", win, "857", "72", "click", "1"}
                       : std::vector<std::string>{"key", "--clearmodifiers", "ctrl+v"},
            dir_ / "xdo2.log");
    // The check is going while the status line shows its progress, a line far longer than "Done!".
    const auto checking = [&] {
        int w = 0, h = 0;
        const std::vector<std::uint8_t> rgb = capture(display_, checker, w, h);
        size_t dark = 0;
        for (int row = h - 20; row < h - 4; ++row)
            for (int col = 120; col < 300 && col < w; ++col) {
                const size_t i = (static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(col)) * 3;
                if (i + 2 < rgb.size() && rgb[i] < 100 && rgb[i + 1] < 100 && rgb[i + 2] < 100) ++dark;
            }
        return dark > 20;
    };
    bool going = false;
    const auto wait_end = std::chrono::steady_clock::now() + 30s;
    while (!(going = checking()) && std::chrono::steady_clock::now() < wait_end) std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(going) << "the pasted text is not being checked";
    const auto [x, y] = on_screen(display_, checker, 650, 250);
    ASSERT_TRUE(drop_file(display_name_, checker, x, y, file)) << "the drop was refused";

    const std::string title = " " + file.string();
    const auto end = std::chrono::steady_clock::now() + 60s;
    while (window_title(display_, checker) != title && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(100ms);
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb = capture(display_, checker, width, height);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / (GetParam() ? "jux-drop-during-paste.png" : "jux-drop-during-check.png");
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    EXPECT_EQ(window_title(display_, checker), title) << "the dropped file was not loaded; see " << shot;

    // The text is the file's now.
    std::string copied;
    for (int attempt = 0; attempt < 5 && copied.rfind("The dog Housse", 0) != 0; ++attempt) {
        xdotool(xdo, display_name_, {"mousemove", "--window", win, "650", "250", "click", "1"}, dir_ / "xdo3.log");
        xdotool(xdo, display_name_, {"key", "--clearmodifiers", "ctrl+a", "ctrl+c"}, dir_ / "xdo4.log");
        std::this_thread::sleep_for(300ms);
        copied = clipboard_text(display_);
    }
    EXPECT_EQ(copied.rfind("The dog Housse", 0), 0u) << copied.substr(0, 80);
    EXPECT_LT(copied.size(), 20u);

    close_and_expect_end(checker, "drop.log");
}

TEST_F(XvfbStart, APastedBulgarianTextGetsTheProofReadersReportAndMarks) {
    fs::path xdo;
    Window checker = 0;
    start_placed_checker("proof", xdo, checker);
    if (IsSkipped() || HasFatalFailure()) return;

    // Every word is known, so whatever is coloured comes from the proof-reader: a dash glued to the
    // word before it and a comma, blank and dot.
    ClipboardOwner owner(display_name_, "Той каза— не, . Добре.");
    ASSERT_TRUE(owner.owned());
    const std::string win = std::to_string(checker);
    xdotool(xdo, display_name_, {"mousemove", "--window", win, "650", "250", "click", "1"}, dir_ / "xdo1.log");
    xdotool(xdo, display_name_, {"key", "--clearmodifiers", "ctrl+v"}, dir_ / "xdo2.log");

    // Titles and the header magenta, finding contexts red, suggestions green in the left panel; the
    // marks red in the text.
    const auto magenta = [](int r, int g, int b) { return r >= 200 && g <= 70 && b >= 200; };
    const auto red = [](int r, int g, int b) { return r >= 200 && g <= 70 && b <= 90; };
    const auto green = [](int r, int g, int b) { return r <= 60 && g >= 100 && g <= 150 && b <= 60; };
    const auto count = [](const std::vector<std::uint8_t>& rgb, int width, int height, double x0, double x1, auto is) {
        size_t n = 0;
        for (int y = static_cast<int>(height * 0.08); y < static_cast<int>(height * 0.95); ++y)
            for (int x = static_cast<int>(width * x0); x < static_cast<int>(width * x1); ++x) {
                const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
                if (i + 2 < rgb.size() && is(rgb[i], rgb[i + 1], rgb[i + 2])) ++n;
            }
        return n;
    };
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    size_t titles = 0, contexts = 0, suggestions = 0, marks = 0;
    const auto end = std::chrono::steady_clock::now() + 15s;
    do {
        std::this_thread::sleep_for(150ms);
        rgb = capture(display_, checker, width, height);
        titles = count(rgb, width, height, 0.01, 0.40, magenta);
        contexts = count(rgb, width, height, 0.01, 0.40, red);
        suggestions = count(rgb, width, height, 0.01, 0.40, green);
        marks = count(rgb, width, height, 0.42, 1.0, red);
    } while ((titles < 50 || contexts < 20 || suggestions < 20 || marks < 10) && std::chrono::steady_clock::now() < end);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-proof.png";
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    EXPECT_GE(titles, 50u) << "no magenta header or titles in the left panel; see " << shot;
    EXPECT_GE(contexts, 20u) << "no red finding in the left panel; see " << shot;
    EXPECT_GE(suggestions, 20u) << "no green suggestion in the left panel; see " << shot;
    EXPECT_GE(marks, 10u) << "no red mark in the text; see " << shot;

    // The left panel's text, copied by the user: the header, then the findings.
    xdotool(xdo, display_name_, {"mousemove", "--window", win, "150", "300", "click", "1"}, dir_ / "xdo3.log");
    xdotool(xdo, display_name_, {"key", "--clearmodifiers", "ctrl+a", "ctrl+c"}, dir_ / "xdo4.log");
    std::this_thread::sleep_for(300ms);
    const std::string left = clipboard_text(display_);
    const size_t header = left.find("ПУНКТУАЦИОННИ И ДРУГИ ГРЕШКИ:");
    ASSERT_NE(header, std::string::npos) << left;
    EXPECT_GT(left.find(", . -> , (comma)"), header) << left;
    EXPECT_GT(left.find("слепено с предната дума m-тире"), header) << left;
    EXPECT_GT(left.find("каза—  -> каза —"), header) << left;

    send_close(display_, checker);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "proof.log");
}

TEST_F(XvfbStart, TheCheckersHelpMenuOpensItsPageInTheBrowser) {
    const auto xdo = find_program("xdotool");
    if (!xdo) GTEST_SKIP() << "xdotool is not installed";
    // The start folder as run.sh makes it: the lexicon and the help pages beside it.
    const fs::path start = demo_start_folder("help");
    const fs::path pages = fs::path(JUX_DEMO_DIR).parent_path().parent_path() / "resources" / "help";
    for (const auto& page : fs::directory_iterator(pages)) fs::copy_file(page.path(), start / page.path().filename());
    std::ofstream(start / "settings.txt") << "SPELL_CHECKER 1\r\nTRANSLATE_CLIPBOARD 0\r\n";
    // The desktop's opener is a script that notes what it was asked to open.
    const fs::path opened = dir_ / "opened.txt";
    ASSERT_TRUE(start_jux(first_, "help.log", start, noting_opener(opened)));
    const Window checker = wait_for_window(display_, "JUX Spell Checker 1.0", first_, 30s);
    ASSERT_NE(checker, 0u) << read_file(dir_ / "help.log");
    wait_until_placed(display_, checker);

    // "Файл" clicked on the menu bar, Left goes round to the last menu, "Помощ", which opens with its
    // first item active; Down reaches the second, "Помощ".
    const std::string win = std::to_string(checker);
    xdotool(*xdo, display_name_, {"mousemove", "--window", win, "15", "10", "click", "1"}, dir_ / "xdo1.log");
    std::this_thread::sleep_for(500ms);
    xdotool(*xdo, display_name_, {"key", "Left", "Down"}, dir_ / "xdo2.log");
    std::this_thread::sleep_for(500ms);
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = capture(display_, DefaultRootWindow(display_), width, height);
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-help-menu.png";
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    xdotool(*xdo, display_name_, {"key", "Return"}, dir_ / "xdo3.log");

    const std::string page = "file://" + (start / "help_spellchecker.html").string();
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (read_file(opened).find(page) == std::string::npos && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(100ms);
    EXPECT_EQ(read_file(opened), page + "\n") << "see " << shot << "; the program said: " << read_file(dir_ / "help.log");
    EXPECT_EQ(find_window(display_, "Oops!"), 0u);

    send_close(display_, checker);
    EXPECT_EQ(first_.wait_exit(15s), 0) << read_file(dir_ / "help.log");
}


namespace {

// The viewable top-level windows (a popup menu is one of its own).
std::set<Window> viewable_windows(Display* d) {
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

// The panels of a picture of the checker, {left, top, right, bottom} of their frame lines (grey
// 184, seven pixels in a line at least, unlike a letter): found across a row through the panels,
// then down a column through each.
std::vector<std::array<int, 4>> panels_in(const std::vector<std::uint8_t>& rgb, int width, int height) {
    const auto line = [&](int x, int y, int dx, int dy) {
        for (int k = -3; k <= 3; ++k) {
            const int px = x + k * dx, py = y + k * dy;
            const size_t i = (static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)) * 3;
            if (px < 0 || py < 0 || px >= width || py >= height || rgb[i] != 184 || rgb[i + 1] != 184) return false;
        }
        return true;
    };
    std::vector<std::array<int, 4>> boxes;
    std::vector<int> xs, ys;
    for (int x = 0; x < width; ++x)
        if (line(x, height * 45 / 100, 0, 1)) xs.push_back(x);
    for (size_t i = 0; i + 1 < xs.size(); i += 2, ys.clear()) {
        for (int y = 0; y < height; ++y)
            if (line((xs[i] + xs[i + 1]) / 2, y, 1, 0)) ys.push_back(y);
        for (size_t j = 0; j + 1 < ys.size(); j += 2) boxes.push_back({xs[i], ys[j], xs[i + 1], ys[j + 1]});
    }
    return boxes;
}

}  // namespace

// Right clicks three pixels inside every edge of the checker's three panels open a menu at the
// cursor; on the window's surface three pixels outside them, none, unless the boundary the click
// moves (the surface is the panels' splitter) brings a panel under the cursor. A picture of the
// menu open at each panel's bottom edge goes to the build folder.
TEST_F(XvfbStart, RightClicksNearEveryPanelEdgeOpenThatPanelsMenuOnly) {
    fs::path xdo;
    Window checker = 0;
    start_placed_checker("right_clicks", xdo, checker);
    if (IsSkipped() || HasFatalFailure()) return;
    int width = 0, height = 0, menus = 0;
    std::vector<std::uint8_t> rgb;
    const auto panels = [&] {
        rgb = capture(display_, checker, width, height);
        return panels_in(rgb, width, height);
    };
    for (size_t p = 0; p < 3; ++p)
        for (int at = 0; at < 8; ++at) {  // the edges' middles: top, bottom, left, right; inside, then outside
            const std::vector<std::array<int, 4>> now = panels();
            ASSERT_EQ(now.size(), 3u) << "the checker does not show its three panels";
            const auto [l, t, r, b] = now[p];
            const int side = at / 2, by = at % 2 ? -3 : 3;
            const int x = side == 2 ? l + by : side == 3 ? r - by : (l + r) / 2;
            const int y = side == 0 ? t + by : side == 1 ? b - by : (t + b) / 2;
            const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
            if (by < 0 && rgb[i] != 239) continue;  // not the window's bare surface: a neighbour or a button
            const std::string where = "panel " + std::to_string(p) + " at " + std::to_string(x) + "," + std::to_string(y);
            const std::set<Window> before = viewable_windows(display_);
            xdotool(xdo, display_name_, {"mousemove", "--window", std::to_string(checker), std::to_string(x),
                                          std::to_string(y), "click", "3"}, dir_ / "xdo1.log");
            Window menu = 0;
            for (auto end = std::chrono::steady_clock::now() + 2s; !menu && std::chrono::steady_clock::now() < end;)
                for (Window w : viewable_windows(display_)) menu = before.count(w) ? menu : w;
            if (menu) {
                ++menus;
                XWindowAttributes a;
                ASSERT_TRUE(XGetWindowAttributes(display_, menu, &a));
                // At the cursor: its top or bottom edge there (up where the screen has no room
                // below), the cursor over its width (it moves left at the screen's edge).
                const auto [sx, sy] = on_screen(display_, checker, x, y);
                EXPECT_TRUE(sx >= a.x - 2 && sx <= a.x + a.width + 2) << where;
                EXPECT_TRUE(std::abs(a.y - sy) <= 2 || std::abs(a.y + a.height - sy) <= 2) << where;
                int rw = 0, rh = 0;
                if (at == 2) write_png(fs::path(JUX_SHOT_DIR) / ("jux-right-click-" + std::to_string(p) + ".png"), rw, rh,
                                       capture(display_, DefaultRootWindow(display_), rw, rh));
                xdotool(xdo, display_name_, {"key", "Escape"}, dir_ / "xdo2.log");
                for (auto end = std::chrono::steady_clock::now() + 3s;
                     viewable_windows(display_).count(menu) && std::chrono::steady_clock::now() < end;)
                    std::this_thread::sleep_for(50ms);
            }
            // The menu is the one of the panel under the cursor once the click is done, if any.
            bool on_panel = false;
            for (const auto& [pl, pt, pr, pb] : panels()) on_panel = on_panel || (x > pl && x < pr && y > pt && y < pb);
            EXPECT_EQ(menu != 0, on_panel) << where;
        }
    EXPECT_GE(menus, 12);
    close_and_expect_end(checker, "right_clicks.log");
}

// Enter in "Find what" is Find Next (the default button), not a line break in the search text: the
// word on the first line is found and selected, so that "Replace" (dialog units 208, 39) replaces it.
TEST_F(XvfbStart, EnterInFindWhatFindsTheWordOnTheFirstLine) {
    fs::path xdo;
    Window checker = 0;
    start_placed_checker("enter", xdo, checker);
    if (IsSkipped() || HasFatalFailure()) return;
    const Window find = open_find_over(xdo, checker, "the cat and the cat");
    ASSERT_NE(find, 0u) << "no find window; the program said: " << read_file(dir_ / "enter.log");
    const std::string fw = std::to_string(find);
    xdotool(xdo, display_name_, {"type", "--delay", "40", "cat"}, dir_ / "xdo4.log");
    xdotool(xdo, display_name_, {"key", "Return"}, dir_ / "xdo5.log");
    xdotool(xdo, display_name_, {"mousemove", "--window", fw, "190", "122", "click", "1", "type", "dog"}, dir_ / "xdo6.log");
    xdotool(xdo, display_name_, {"mousemove", "--window", fw, "343", "75", "click", "1"}, dir_ / "xdo7.log");
    std::this_thread::sleep_for(500ms);
    int width = 0, height = 0;
    const fs::path shot = fs::path(JUX_SHOT_DIR) / "jux-find-enter.png";
    std::vector<std::uint8_t> rgb = capture(display_, find, width, height);
    ASSERT_TRUE(write_png(shot, width, height, rgb));
    std::string copied;
    for (int attempt = 0; attempt < 5 && copied.empty(); ++attempt) {
        xdotool(xdo, display_name_, {"mousemove", "--window", std::to_string(checker), "650", "250", "click", "1", "key",
                                      "--clearmodifiers", "ctrl+a", "ctrl+c"}, dir_ / "xdo8.log");
        std::this_thread::sleep_for(300ms);
        copied = clipboard_text(display_);
    }
    EXPECT_EQ(copied, "the dog and the cat") << "see " << shot;
    close_and_expect_end(checker, "enter.log");
}
