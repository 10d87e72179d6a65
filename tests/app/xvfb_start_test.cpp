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

#include <poll.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "tests/app/png_writer.h"
#include "tests/app/x_desktop.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace x_desktop;

namespace {

const std::string kDictionary = "JUX Dictionary 1.0";
const std::string kSpellChecker = "JUX Spell Checker 1.0";
const std::string kTranslator = "JUX Human Translator 1.0";
// The checker as the program's face, the clipboard watch out of the test's copies.
const std::string kPlainChecker = "SPELL_CHECKER 1\r\nTRANSLATE_CLIPBOARD 0\r\n";
// The human translator's checker: the filing buttons shown, their results on the status line.
const std::string kTranslatorChecker =
    "SPELL_CHECKER 1\r\nENGLISH_TRANSLATION 1\r\nTRANSLATE_CLIPBOARD 0\r\nSHOW_MESSAGES 0\r\n";

// Points of the checker's window the user clicks: into the text panel, into the report panel, and
// the translator's "Paste" button (dialog units 559, 25, 25 x 12).
constexpr int kTextX = 650, kTextY = 250, kReportX = 150, kReportY = 300, kPasteX = 857, kPasteY = 72;

// How a test starts the program: in the start folder `name` (the demonstration lexicon as its
// data folder, `settings` as its settings file when not empty), logging to `<name>.log`, until
// its window titled `title` shows.
struct Start {
    std::string name;
    std::string settings = kPlainChecker;
    std::string title = kSpellChecker;
    Env env = {};
};

// Colours of the program's texts.
bool headword(int r, int g, int b) { return r >= 140 && r <= 200 && g <= 60 && b >= 200; }  // about RGB(170, 0, 255)
bool unknown_word(int r, int g, int) { return r >= 180 && g <= 100; }                   // strong red, pink, magenta
bool report_green(int r, int g, int b) { return r <= 60 && g >= 100 && g <= 150 && b <= 60; }  // a suggestion
bool word_red(int r, int g, int b) { return r >= 200 && g <= 60 && b <= 90; }  // a misspelt word in the report
const Area kReport{0.01, 0.40, 0.08, 0.95}, kText{0.42, 1.0, 0.08, 0.95};

// Whether the checker's status line (its bottom rows) shows a long line: the progress or the
// statistics of a check that has not ended ("Done!" and the "1" of an idle window are short).
bool check_going(const Picture& pic) {
    size_t dark = 0;
    for (int row = pic.height - 20; row < pic.height - 4; ++row)
        for (int col = 120; col < 300; ++col)
            if (const auto p = pic.at(col, row); p && (*p)[0] < 100 && (*p)[1] < 100 && (*p)[2] < 100) ++dark;
    return dark > 20;
}

class XvfbStart : public ::testing::Test {
protected:
    void SetUp() override {
        // The clipboard owner serves from a thread of its own.
        static const Status threads = XInitThreads();
        (void)threads;
        const auto xvfb = find_program("Xvfb");
        if (!xvfb) GTEST_SKIP() << "Xvfb is not installed";
        xdo_ = find_program("xdotool");
        dir_ = temp_.path();
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        ASSERT_TRUE(spawn(xvfb_, {xvfb->string(), "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                                  "-nolisten", "tcp", "-noreset"},
                          {}, dir_ / "xvfb.log", fds[1]));
        close(fds[1]);
        // Xvfb writes the display number it took once it is ready.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        wait_until(
            [&] {
                char buf[32];
                if (poll(&p, 1, 200) <= 0) return false;
                const ssize_t n = read(fds[0], buf, sizeof buf);
                if (n <= 0) return true;  // the pipe closed: Xvfb ended
                number.append(buf, static_cast<size_t>(n));
                return number.find('\n') != std::string::npos;
            },
            20s, 0ms);
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
        clipboard_.reset();
        first_.stop();
        second_.stop();
        if (display_) XCloseDisplay(display_);
        xvfb_.stop();
    }

    // The start folder `name` with the demonstration lexicon as its data folder, made once.
    fs::path folder(const std::string& name) {
        const fs::path start = dir_ / name;
        if (!fs::exists(start / "alt")) {
            fs::create_directories(start);
            fs::copy(JUX_DEMO_DIR, start / "alt", fs::copy_options::recursive);
        }
        return start;
    }

    bool launch(Child& c, const fs::path& start, const std::string& log, const Env& more_env = {}) {
        // Under the sanitizers, leaks of the desktop libraries Qt loads are not the program's.
        std::string lsan = "suppressions=" JUX_LSAN_SUPPRESSIONS;
        if (const char* outer = std::getenv("LSAN_OPTIONS"); outer && *outer) lsan = std::string(outer) + ":" + lsan;
        Env env{{"DISPLAY", display_name_},
                {"WAYLAND_DISPLAY", ""},
                {"QT_QPA_PLATFORM", "xcb"},
                {"XDG_RUNTIME_DIR", (dir_ / "runtime").string()},
                {"LSAN_OPTIONS", lsan}};
        env.insert(env.end(), more_env.begin(), more_env.end());
        return spawn(c, {JUX_EXE}, env, dir_ / log, -1, start);
    }

    // The program started as `s` says, its window (`win_`) shown and placed on the screen (the
    // start-up may move it once it is shown; a click aimed at it before that lands elsewhere).
    // The test fails when no window came; the caller returns unless ready().
    void start(const Start& s) {
        start_ = folder(s.name);
        log_ = s.name + ".log";
        if (!s.settings.empty()) std::ofstream(start_ / "settings.txt") << s.settings;
        ASSERT_TRUE(launch(first_, start_, log_, s.env));
        win_ = wait_for_window(display_, s.title, first_, 30s);
        ASSERT_NE(win_, 0u) << "no window titled \"" << s.title << "\"; the program said: " << said();
        wait_until_placed(display_, win_);
        // And painted: the program's windows are light, a window not painted yet is black.
        const auto light = [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; };
        const Picture pic = watch(win_, [&](const Picture& p) { return count_pixels(p, {}, light) * 2 > p.rgb.size() / 3; });
        ASSERT_GT(count_pixels(pic, {}, light) * 2, pic.rgb.size() / 3) << "the window is not painted";
    }
    // As start(), for a test whose user works through xdotool: skipped without it.
    void start_driven(const Start& s) {
        if (!xdo_) GTEST_SKIP() << "xdotool is not installed";
        start(s);
    }
    static bool ready() { return !IsSkipped() && !HasFatalFailure(); }
    std::string said() const { return read_file(dir_ / log_); }

    // xdotool run with `args`, its output in a log of its own; it must succeed.
    void xdo(std::vector<std::string> args) {
        const fs::path log = dir_ / ("xdotool-" + std::to_string(++xdo_runs_) + ".log");
        args.insert(args.begin(), xdo_->string());
        Child c;
        EXPECT_TRUE(spawn(c, args, {{"DISPLAY", display_name_}}, log));
        EXPECT_EQ(c.wait_exit(20s), 0) << args[1] << " " << args[2] << ": " << read_file(log);
    }
    // A click at the point (x, y) of the window `w` (the program's when 0).
    void click(int x, int y, Window w = 0, int button = 1) {
        xdo({"mousemove", "--window", std::to_string(w ? w : win_), std::to_string(x), std::to_string(y), "click",
             std::to_string(button)});
    }
    void click_screen(int x, int y) { xdo({"mousemove", std::to_string(x), std::to_string(y), "click", "1"}); }
    void key(std::initializer_list<std::string> keys) {
        std::vector<std::string> args{"key", "--clearmodifiers"};
        args.insert(args.end(), keys.begin(), keys.end());
        xdo(args);
    }
    // `text` typed key by key.
    void type(const std::string& text, int delay_ms = 40) { xdo({"type", "--delay", std::to_string(delay_ms), text}); }
    void focus(Window w) {
        XSetInputFocus(display_, w, RevertToParent, CurrentTime);
        XSync(display_, False);
    }
    // A click at (x, y) of the program's window, once the window has the keyboard that the click
    // gives it: keys sent before the program has taken the focus would reach the window that had it.
    void click_to_type(int x, int y) {
        click(x, y);
        wait_for_focus(win_);
    }
    void wait_for_focus(Window w) {
        EXPECT_TRUE(wait_until(
            [&] {
                Window f = 0;
                int revert = 0;
                XGetInputFocus(display_, &f, &revert);
                return f == w;
            },
            60s, 20ms))
            << "the window did not get the keyboard";
    }

    // Another program copies `text`: it is on the clipboard until the test ends or copies again.
    void offer(const std::string& text) {
        clipboard_.reset();
        clipboard_.emplace(display_name_, text);
        EXPECT_TRUE(clipboard_->owned());
    }
    // Another program copies `text`; the user clicks into the checker's text and pastes it. Returns
    // once the text panel shows the text.
    void paste(const std::string& text) {
        const Area panel{0.42, 1.0, 0.15, 0.9};  // inside the text panel, below the buttons
        const auto dark = [](int r, int g, int b) { return r < 100 && g < 100 && b < 100; };
        const size_t before = count_pixels(capture(display_, win_), panel, dark);
        offer(text);
        click_to_type(kTextX, kTextY);
        key({"ctrl+v"});
        const Picture pic = watch(win_, [&](const Picture& p) { return count_pixels(p, panel, dark) >= before + 20; }, 180s);
        EXPECT_GE(count_pixels(pic, panel, dark), before + 20) << "the pasted text does not show";
    }
    // The text of the panel at (x, y) as the user copies it (a click, Ctrl+A, Ctrl+C), asked for
    // until `done` takes it; copied again after a while in vain, `tries` times at most (keys typed
    // while a busy program checks may be taken before its panel shows what they copy).
    std::string copy_text(
        int x, int y, const std::function<bool(const std::string&)>& done = [](const std::string& t) { return !t.empty(); },
        int tries = 5) {
        clipboard_.reset();  // only the program's copy answers
        std::string text;
        for (int i = 0; i < tries && (i == 0 || !done(text)); ++i) {
            click_to_type(x, y);
            key({"ctrl+a", "ctrl+c"});
            wait_until([&] { return done(text = clipboard_text(display_)); }, 15s, 100ms);
        }
        return text;
    }

    // Pictures of the window `w` until `shows` takes one or `limit` has passed: the last.
    Picture watch(Window w, const std::function<bool(const Picture&)>& shows, std::chrono::milliseconds limit = 60s) {
        Picture pic;
        wait_until(
            [&] {
                pic = capture(display_, w);
                return shows(pic);
            },
            limit, 150ms);
        return pic;
    }
    // `pic` written to the build folder as `name`: its path, for the checks' messages.
    static fs::path shoot(const Picture& pic, const std::string& name) {
        const fs::path shot = fs::path(JUX_SHOT_DIR) / name;
        EXPECT_TRUE(write_png(shot, pic.width, pic.height, pic.rgb)) << shot;
        return shot;
    }

    // The desktop's opener for the program: a script that notes each thing it is asked to open as a
    // line of the file `opened`. The environment that puts it first on the program's PATH.
    Env noting_opener(const fs::path& opened) {
        const fs::path bin = dir_ / "bin";
        fs::create_directories(bin);
        std::ofstream(bin / "xdg-open") << "#!/bin/sh\necho \"$@\" >> '" << opened.string() << "'\n";
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        const char* path = std::getenv("PATH");
        return {{"PATH", bin.string() + ":" + (path ? path : "/usr/bin:/bin")}};
    }

    // The user pastes `text` into the checker's text, goes back to its start and presses Ctrl+F
    // (again while keys pressed during the paste's check are lost): the find window, or 0.
    Window open_find_over(const std::string& text) {
        paste(text);
        clipboard_.reset();
        // Once its check has ended: the run puts back the caret it found when it pumps.
        EXPECT_TRUE(wait_until([&] { return !check_going(capture(display_, win_)); }, 60s, 50ms));
        Window find = 0;
        for (int attempt = 0; attempt < 10 && !find; ++attempt) {
            key({"ctrl+Home", "ctrl+f"});
            find = wait_for_window(display_, "Търсене", first_, 10s);
        }
        if (find) wait_for_focus(find);  // what the user types next goes to its "Find what"
        return find;
    }

    // Closes the program's window as its close box does; the program must end with status 0.
    void close_and_expect_end() {
        send_close(display_, win_);
        EXPECT_EQ(first_.wait_exit(15s), 0) << said();
    }

    jux_test::TempFolder temp_{"xvfb"};  // removed after the programs below have ended
    fs::path dir_, start_;
    std::string log_;
    std::optional<fs::path> xdo_;
    int xdo_runs_ = 0;
    Child xvfb_, first_, second_;
    std::string display_name_;
    Display* display_ = nullptr;
    Window win_ = 0;
    std::optional<ClipboardOwner> clipboard_;
};


// The panels of a picture of the checker, {left, top, right, bottom} of their frame lines (grey
// 184, seven pixels in a line at least, unlike a letter): found across a row through the panels,
// then down a column through each.
std::vector<std::array<int, 4>> panels_in(const Picture& pic) {
    const auto line = [&](int x, int y, int dx, int dy) {
        for (int k = -3; k <= 3; ++k) {
            const auto p = pic.at(x + k * dx, y + k * dy);
            if (!p || (*p)[0] != 184 || (*p)[1] != 184) return false;
        }
        return true;
    };
    std::vector<std::array<int, 4>> boxes;
    std::vector<int> xs, ys;
    for (int x = 0; x < pic.width; ++x)
        if (line(x, pic.height * 45 / 100, 0, 1)) xs.push_back(x);
    for (size_t i = 0; i + 1 < xs.size(); i += 2, ys.clear()) {
        for (int y = 0; y < pic.height; ++y)
            if (line((xs[i] + xs[i + 1]) / 2, y, 1, 0)) ys.push_back(y);
        for (size_t j = 0; j + 1 < ys.size(); j += 2) boxes.push_back({xs[i], ys[j], xs[i + 1], ys[j + 1]});
    }
    return boxes;
}

}  // namespace

TEST_F(XvfbStart, WindowAppearsSecondStartIsRefusedAndCloseEndsTheProgram) {
    // A start folder with a lexicon (a folder without one is told in an "Oops!" box of its own).
    start({.name = "first", .settings = "", .title = kDictionary});
    if (!ready()) return;
    EXPECT_EQ(window_title(display_, win_), kDictionary);

    // The screenshot, once the panels are painted (more than one colour in the window).
    const Picture pic = watch(win_, [](const Picture& p) { return distinct_colours(p) >= 2; }, 10s);
    EXPECT_GE(distinct_colours(pic), 2u) << "the window shows nothing";
    EXPECT_GT(pic.width, 200);
    EXPECT_GT(pic.height, 150);
    const fs::path shot = shoot(pic, "jux-start.png");
    EXPECT_GT(fs::file_size(shot), 1000u);

    // A second start finds the first one running: "Oops!" box, answered with Return, status 1.
    ASSERT_TRUE(launch(second_, start_, "second.log"));
    const Window oops = wait_for_window(display_, "Oops!", second_, 30s);
    ASSERT_NE(oops, 0u) << "no \"Oops!\" box; the second start said: " << read_file(dir_ / "second.log");
    if (xdo_) {
        focus(oops);
        key({"Return"});
    }
    if (second_.wait_exit(5s) == -1 && second_.running()) send_close(display_, oops);  // no xdotool: its close box
    EXPECT_EQ(second_.wait_exit(10s), 1) << read_file(dir_ / "second.log");
    EXPECT_NE(find_window(display_, kDictionary), 0u) << "the first instance must keep running";

    // The close box of the main window ends the program normally.
    close_and_expect_end();
}

TEST_F(XvfbStart, AWordTypedIntoTheEntryBoxShowsItsEntry) {
    start_driven({.name = "lookup", .settings = "", .title = kDictionary});
    if (!ready()) return;
    // The entry panel: right of the dictionary, under the entry box.
    const Area entry{0.35, 1.0, 0.08, 0.6};
    const Picture before = capture(display_, win_);
    ASSERT_GT(before.width, 200);
    EXPECT_EQ(count_pixels(before, entry, headword), 0u);  // nothing shown yet

    // The entry box has the focus from the start; the word is typed key by key.
    focus(win_);
    type("apple", 60);
    const Picture pic = watch(win_, [&](const Picture& p) { return count_pixels(p, entry, headword) >= 20; });
    const fs::path shot = shoot(pic, "jux-lookup.png");
    EXPECT_GE(count_pixels(pic, entry, headword), 20u) << "the entry panel shows no headword; see " << shot;

    // Closing the program writes the look-up shown to the search log: the word was found.
    close_and_expect_end();
    EXPECT_EQ(read_file(start_ / "alt" / "searchlog.txt"), "//RECENT SEARCHES:\r\n\r\napple\r\n");
}

TEST_F(XvfbStart, TheSpellCheckerEditionOpensTheCheckerAndAPastedTextIsChecked) {
    // The unknown English words are listed one per line as they are found.
    start_driven({.name = "checker", .settings = kPlainChecker + "ENGLIST_UNGROUPED 1\r\n"});
    if (!ready()) return;

    // Another program copies a text with a misspelt English and a misspelt Bulgarian word; the
    // user pastes it.
    paste("The good dog. Housse\nАз имам автобусс");
    const Area report{0.02, 0.40, 0.08, 0.95};
    const Picture pic = watch(win_, [&](const Picture& p) {
        return count_pixels(p, report, unknown_word) >= 20 && count_pixels(p, kText, unknown_word) >= 20;
    });
    const fs::path shot = shoot(pic, "jux-checker.png");
    EXPECT_GE(count_pixels(pic, report, unknown_word), 20u) << "the left panel shows no coloured line; see " << shot;
    EXPECT_GE(count_pixels(pic, kText, unknown_word), 20u) << "the text shows no coloured misspelling; see " << shot;

    // The left panel's text, copied by the user.
    const std::string left = copy_text(kReportX, kReportY);
    EXPECT_EQ(left.rfind("7 words found (37 characters)", 0), 0u) << left;
    EXPECT_NE(left.find("Housse -> House"), std::string::npos) << left;
    EXPECT_EQ(left.find("good ->"), std::string::npos) << left;

    // Closing the checker ends the program (its main window is hidden).
    close_and_expect_end();
}

TEST_F(XvfbStart, ASentenceTypedIntoTheCheckerWhileItChecksArrivesWhole) {
    start_driven({.name = "typing"});
    if (!ready()) return;

    // Every key checks the whole text again; keys typed while a check works must all arrive, in
    // their order.
    const std::string sentence =
        "The quick brown fox jumps over the lazy dog and the old teacher walks to the river every morning";
    click_to_type(kTextX, kTextY);
    type(sentence);
    EXPECT_EQ(copy_text(kTextX, kTextY, [&](const std::string& t) { return t == sentence; }, 15), sentence);
    close_and_expect_end();
}

TEST_F(XvfbStart, AWordFiledFromAPopupOfTheCheckerIsInItsListAfterTheProgramEnds) {
    start_driven({.name = "filing", .settings = kTranslatorChecker, .title = kTranslator});
    if (!ready()) return;

    // The Bulgarian side comes from the clipboard; the English word is typed and selected.
    offer("зебра");
    click_to_type(kTextX, kTextY);
    type("zebra", 60);
    key({"ctrl+a"});
    // "n-v" (dialog units 429, 25, 18 x 12 in the 8-point font, under the menu bar) opens the noun
    // popup, whose first item, "c11", is clicked.
    const std::set<Window> before = viewable_windows(display_);
    click(657, 72);
    const std::set<Window> popup = new_windows(display_, before, 60s);
    ASSERT_EQ(popup.size(), 1u) << "no popup opened";
    wait_until_placed(display_, *popup.begin());
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(display_, *popup.begin(), &a));
    click_screen(a.x + 25, a.y + 12);
    const std::string filed = "zebra \xE7\xE5\xE1\xF0\xE0\r\n";  // "зебра" in CP1251
    const fs::path list = start_ / "alt" / "c" / "c_c11.txt";
    wait_until([&] { return read_file(list).find(filed) != std::string::npos; }, 60s);

    // Closing the checker ends the program; the list file keeps the word.
    close_and_expect_end();
    EXPECT_NE(read_file(list).find(filed), std::string::npos);
}

// Find window and Enter: the find field has the focus; the replace field and the buttons are
// clicked (the template's places: 1.5 pixels a dialog unit across, 1.625 down, in the 8-point font).
struct FindCase {
    const char* name;
    std::vector<std::vector<std::string>> after_what;  // xdotool runs once "cat" is typed
    int button_y;                                      // "Replace all" 107, "Replace" 75
    const char* shot;
    const char* expected;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }

class XvfbFind : public XvfbStart, public ::testing::WithParamInterface<FindCase> {};
INSTANTIATE_TEST_SUITE_P(
    Find, XvfbFind,
    ::testing::Values(
        // "Replace all" replaces every match.
        FindCase{"ReplaceAll", {}, 107, "jux-find-replace.png", "the dog and the dog"},
        // Enter in "Find what" is Find Next (the default button), not a line break in the search
        // text: the word on the first line is found and selected, so that "Replace" replaces it.
        FindCase{"EnterThenReplace", {{"key", "--clearmodifiers", "Return"}}, 75, "jux-find-enter.png",
                 "the dog and the cat"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(XvfbFind, TheCheckersFindWindowReplacesInItsText) {
    start_driven({.name = "find"});
    if (!ready()) return;
    const Window find = open_find_over("the cat and the cat");
    ASSERT_NE(find, 0u) << "no find window; the program said: " << said();
    type("cat");
    for (const auto& run : GetParam().after_what) xdo(run);
    click(190, 122, find);
    type("dog");
    click(343, GetParam().button_y, find);

    // The checker's text, copied by the user once it reads as expected; then the pictures.
    const std::string copied =
        copy_text(kTextX, kTextY, [&](const std::string& t) { return t == GetParam().expected; });
    const fs::path shot = shoot(capture(display_, find), GetParam().shot);
    if (GetParam().button_y == 107) shoot(capture(display_, win_), "jux-find-replace-checker.png");
    EXPECT_EQ(copied, GetParam().expected) << "see " << shot;
    close_and_expect_end();
}

// The find window by the keyboard alone: from "Find what", two Tabs reach "Match whole word",
// which shows that it has the focus; Space then ticks it.
TEST_F(XvfbStart, TabMarksTheFindWindowsCheckBoxAndSpaceTicksIt) {
    start_driven({.name = "find_tabs"});
    if (!ready()) return;
    const Window find = open_find_over("the cat and the cat");
    ASSERT_NE(find, 0u) << "no find window; the program said: " << said();
    // The row of "Match whole word" (48, 97; 139 x 10 dialog units), with a margin.
    const auto row = [](const Picture& p) {
        std::vector<std::array<int, 3>> px;
        for (int y = 155; y < 180; ++y)
            for (int x = 60; x < 290; ++x) px.push_back(p.at(x, y).value_or(std::array<int, 3>{}));
        return px;
    };
    const auto before = row(capture(display_, find));
    key({"Tab", "Tab"});
    const Picture marked = watch(find, [&](const Picture& p) { return row(p) != before; });
    const fs::path shot = shoot(marked, "jux-find-tab-focus.png");
    ASSERT_TRUE(row(marked) != before) << "no focus mark; see " << shot;
    key({"space"});
    const Picture ticked = watch(find, [&](const Picture& p) { return row(p) != row(marked); });
    EXPECT_TRUE(row(ticked) != row(marked)) << "not ticked; see " << shoot(ticked, "jux-find-tab-tick.png");
    close_and_expect_end();
}

TEST_F(XvfbStart, AClickOnAReportLineAndItsSuggestionCorrectsTheTextInGreen) {
    start_driven({.name = "correction"});
    if (!ready()) return;
    paste("Аз имам автобусс");

    // The unknown word's line in the left panel: its word in red, its suggestions in green.
    Spot word, suggestion;
    // Once the check has ended: a click on the report while it runs corrects nothing.
    watch(win_, [&](const Picture& p) {
        word = longest_run(p, kReport, word_red);
        suggestion = word.y >= 0 ? longest_run(p, kReport, report_green, word.y) : Spot{};
        return suggestion.x >= 0 && !check_going(p);
    });
    ASSERT_GE(suggestion.x, 0) << "no report line with a suggestion";

    // The word finds the misspelling, the suggestion replaces it (the program handles the two
    // clicks in their order). Clicks while the program checks the text again take nothing: they
    // are made again until the text shows the correction, three times at most.
    const auto corrected_green = [](int r, int g, int b) { return r <= 60 && g >= 150 && g <= 190 && b <= 60; };
    const auto corrected = [&](const Picture& p) { return longest_run(p, kText, corrected_green).x >= 0; };
    Picture pic;
    for (int attempt = 0; attempt < 3 && !corrected(pic); ++attempt) {
        click(word.x, word.y);
        click(suggestion.x, suggestion.y);
        pic = watch(win_, corrected, 30s);
    }
    const fs::path shot = shoot(pic, "jux-correction.png");
    EXPECT_TRUE(corrected(pic)) << "the text panel shows no corrected word in green; see " << shot;
    close_and_expect_end();
}

// The "N" button of the translator's checker opens the printed dictionary's page of the word last
// clicked in the report: the page list in alt/nov names the image, and the desktop's opener (a
// stand-in here that notes what it was given) gets it.
TEST_F(XvfbStart, TheNButtonOpensThePageImageOfTheWordClickedInTheReport) {
    const fs::path pages = folder("nov") / "alt" / "nov";
    fs::create_directories(pages);
    std::ofstream(pages / "pages.txt", std::ios::binary) << "\xE0 p1.png\r\n";  // "а" in CP1251
    ASSERT_TRUE(write_png(pages / "p1.png", 1, 1, {255, 255, 255}));
    const fs::path opened = dir_ / "opened.txt";
    start_driven({.name = "nov", .settings = kTranslatorChecker, .title = kTranslator, .env = noting_opener(opened)});
    if (!ready()) return;

    // "Paste" puts the clipboard's text in and checks it (the translation modes check no edit as
    // it is made).
    offer("Аз имам автобусс");
    click(kPasteX, kPasteY);

    // The misspelt word's line in the report, its word in red; a click on it takes the word.
    Spot word;
    watch(win_, [&](const Picture& p) {
        return (word = longest_run(p, {0.03, 0.40, 0.08, 0.95}, word_red)).y >= 0 && !check_going(p);
    });
    ASSERT_GE(word.y, 0) << "no red word in the report";
    // "N" (dialog units 1, 282, 14 x 13: left of the report, under the menu bar), after the word;
    // both again while the opener got nothing (clicks while the program checks take nothing).
    for (int attempt = 0; attempt < 3 && read_file(opened).empty(); ++attempt) {
        click(word.x, word.y);
        click(12, 490);
        wait_until([&] { return !read_file(opened).empty(); }, 30s);
    }
    const fs::path shot = shoot(capture(display_, win_), "jux-nov.png");
    EXPECT_NE(read_file(opened).find((pages / "p1.png").string()), std::string::npos)
        << "the opener got \"" << read_file(opened) << "\"; see " << shot;
    close_and_expect_end();
}

// A file dropped on the text while a long pasted text is being checked is loaded once that check
// has ended (the window then bears its path) and is checked in its turn; the text pasted by Ctrl+V
// or by the "Paste" button.
class XvfbDrop : public XvfbStart, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(Paste, XvfbDrop, ::testing::Values(false, true),
                         [](const auto& b) { return b.param ? "Button" : "CtrlV"; });

TEST_P(XvfbDrop, AFileDroppedWhileTheTextIsCheckedIsLoadedAfterTheCheck) {
    start_driven({.name = "drop"});
    if (!ready()) return;
    const fs::path file = dir_ / "dropped.txt";
    std::ofstream(file) << "The dog Housse\n";

    // Many lines of known and unknown words: a check of a second or more.
    std::string long_text;
    for (int i = 0; i < 40000; ++i) {
        long_text += "The good dog walks to the river ";
        for (int n = i; n > 0; n /= 26) long_text += static_cast<char>('a' + n % 26);
        long_text += "ght.\n";
    }
    offer(long_text);
    click_to_type(kTextX, kTextY);
    if (GetParam())
        click(kPasteX, kPasteY);
    else
        key({"ctrl+v"});
    // The check is going while the status line shows its progress, a line far longer than "Done!".
    // The program runs at idle priority: on a busy machine it may take minutes to take in the paste.
    const auto checking = [&] { return check_going(capture(display_, win_)); };
    ASSERT_TRUE(wait_until(checking, 180s, 10ms)) << "the pasted text is not being checked";
    const auto [x, y] = on_screen(display_, win_, kTextX, kTextY);
    ASSERT_TRUE(drop_file(display_name_, win_, x, y, file)) << "the drop was refused";

    const std::string title = " " + file.string();
    wait_until([&] { return window_title(display_, win_) == title; }, 180s);  // after the long check
    const fs::path shot = shoot(capture(display_, win_), GetParam() ? "jux-drop-during-paste.png" : "jux-drop-during-check.png");
    EXPECT_EQ(window_title(display_, win_), title) << "the dropped file was not loaded; see " << shot;

    // The text is the file's now.
    const auto is_the_files = [](const std::string& t) { return t.rfind("The dog Housse", 0) == 0; };
    const std::string copied = copy_text(kTextX, kTextY, is_the_files);
    EXPECT_TRUE(is_the_files(copied)) << copied.substr(0, 80);
    EXPECT_LT(copied.size(), 20u);
    close_and_expect_end();
}

TEST_F(XvfbStart, APastedBulgarianTextGetsTheProofReadersReportAndMarks) {
    start_driven({.name = "proof"});
    if (!ready()) return;

    // Every word is known, so whatever is coloured comes from the proof-reader: a dash glued to the
    // word before it and a comma, blank and dot.
    paste("Той каза— не, . Добре.");

    // Titles and the header magenta, finding contexts red, suggestions green in the left panel; the
    // marks red in the text: how many pixels of each there are at least.
    const auto magenta = [](int r, int g, int b) { return r >= 200 && g <= 70 && b >= 200; };
    const auto red = [](int r, int g, int b) { return r >= 200 && g <= 70 && b <= 90; };
    const struct {
        Area where;
        Colour is;
        size_t least;
        const char* missing;
    } kinds[] = {{kReport, magenta, 50, "no magenta header or titles in the left panel"},
                 {kReport, red, 20, "no red finding in the left panel"},
                 {kReport, report_green, 20, "no green suggestion in the left panel"},
                 {kText, red, 10, "no red mark in the text"}};
    const Picture pic = watch(win_, [&](const Picture& p) {
        for (const auto& k : kinds)
            if (count_pixels(p, k.where, k.is) < k.least) return false;
        return true;
    });
    const fs::path shot = shoot(pic, "jux-proof.png");
    for (const auto& k : kinds) EXPECT_GE(count_pixels(pic, k.where, k.is), k.least) << k.missing << "; see " << shot;

    // The left panel's text, copied by the user: the header, then the findings.
    const std::string left = copy_text(kReportX, kReportY);
    const size_t header = left.find("ПУНКТУАЦИОННИ И ДРУГИ ГРЕШКИ:");
    ASSERT_NE(header, std::string::npos) << left;
    EXPECT_GT(left.find(", . -> , (comma)"), header) << left;
    EXPECT_GT(left.find("слепено с предната дума m-тире"), header) << left;
    EXPECT_GT(left.find("каза—  -> каза —"), header) << left;
    close_and_expect_end();
}

TEST_F(XvfbStart, TheCheckersHelpMenuOpensItsPageInTheBrowser) {
    // The start folder as run.sh makes it: the lexicon and the help pages beside it.
    const fs::path start = folder("help");
    const fs::path pages = fs::path(JUX_DEMO_DIR).parent_path().parent_path() / "resources" / "help";
    for (const auto& page : fs::directory_iterator(pages)) fs::copy_file(page.path(), start / page.path().filename());
    // The desktop's opener is a script that notes what it was asked to open.
    const fs::path opened = dir_ / "opened.txt";
    start_driven({.name = "help", .env = noting_opener(opened)});
    if (!ready()) return;

    // "Файл" clicked on the menu bar, Left goes round to the last menu, "Помощ", which opens with its
    // first item active; Down reaches the second, "Помощ".
    const std::set<Window> before = viewable_windows(display_);
    click(15, 10);
    const std::set<Window> first_menu = new_windows(display_, before, 60s);
    ASSERT_FALSE(first_menu.empty()) << "no menu opened";
    std::set<Window> open = before;
    open.insert(first_menu.begin(), first_menu.end());
    key({"Left"});
    ASSERT_FALSE(new_windows(display_, open, 60s).empty()) << "the last menu did not open";
    key({"Down"});
    const fs::path shot = shoot(capture(display_, DefaultRootWindow(display_)), "jux-help-menu.png");
    key({"Return"});

    const std::string page = "file://" + (start / "help_spellchecker.html").string();
    wait_until([&] { return read_file(opened).find(page) != std::string::npos; }, 60s);
    EXPECT_EQ(read_file(opened), page + "\n") << "see " << shot << "; the program said: " << said();
    EXPECT_EQ(find_window(display_, "Oops!"), 0u);
    close_and_expect_end();
}

// Right clicks three pixels inside every edge of the checker's three panels open a menu at the
// cursor; on the window's surface three pixels outside them, none: there the click moves the
// boundary between the left panel and the others ten pixels right (the surface is their splitter),
// even where that brings a panel under the cursor. After each click the test waits until the
// window shows the panels where they must be now, so that the next click is aimed by what the
// program shows and not by a picture taken before it moved them. A picture of the menu open at
// each panel's bottom edge goes to the build folder.
TEST_F(XvfbStart, RightClicksNearEveryPanelEdgeOpenThatPanelsMenuOnly) {
    start_driven({.name = "right_clicks"});
    if (!ready()) return;
    using Boxes = std::vector<std::array<int, 4>>;
    Picture pic;
    Boxes now;
    // Waits until the window shows the panels as `expected` (three panels at all when empty).
    const auto shows = [&](const Boxes& expected) {
        return wait_until(
            [&] {
                pic = capture(display_, win_);
                now = panels_in(pic);
                return expected.empty() ? now.size() == 3 : now == expected;
            },
            60s, 50ms);
    };
    ASSERT_TRUE(shows({})) << "the checker does not show its three panels";
    int menus = 0;
    for (size_t p = 0; p < 3; ++p)
        for (int at = 0; at < 8; ++at) {  // the edges' middles: top, bottom, left, right; inside, then outside
            const Boxes layout = now;
            const auto [l, t, r, b] = layout[p];
            const int side = at / 2, by = at % 2 ? -3 : 3;
            const int x = side == 2 ? l + by : side == 3 ? r - by : (l + r) / 2;
            const int y = side == 0 ? t + by : side == 1 ? b - by : (t + b) / 2;
            const auto colour = pic.at(x, y);
            if (by < 0 && (!colour || (*colour)[0] != 239)) continue;  // not the window's bare surface
            const std::string where = "panel " + std::to_string(p) + " at " + std::to_string(x) + "," + std::to_string(y);
            const std::set<Window> before = viewable_windows(display_);
            click(x, y, win_, 3);
            Boxes expected = layout;
            if (by > 0) {
                const std::set<Window> shown = new_windows(display_, before, 60s);
                ASSERT_EQ(shown.size(), 1u) << "no menu opened at " << where;
                const Window menu = *shown.begin();
                ++menus;
                XWindowAttributes a;
                ASSERT_TRUE(XGetWindowAttributes(display_, menu, &a));
                // At the cursor: its top or bottom edge there (up where the screen has no room
                // below), the cursor over its width (it moves left at the screen's edge).
                const auto [sx, sy] = on_screen(display_, win_, x, y);
                EXPECT_TRUE(sx >= a.x - 2 && sx <= a.x + a.width + 2) << where;
                EXPECT_TRUE(std::abs(a.y - sy) <= 2 || std::abs(a.y + a.height - sy) <= 2) << where;
                if (at == 2)
                    shoot(capture(display_, DefaultRootWindow(display_)), "jux-right-click-" + std::to_string(p) + ".png");
                key({"Escape"});
                ASSERT_TRUE(wait_until([&] { return !viewable_windows(display_).count(menu); }, 60s, 50ms)) << where;
            } else {
                expected[0][2] += 10;  // the left panel's right edge
                expected[1][0] += 10;  // the other two panels' left edges
                expected[2][0] += 10;
            }
            // The panels where the click left them (a menu the click opened would show before
            // the moved panels are painted, since the program opens it first).
            ASSERT_TRUE(shows(expected)) << "the panels did not settle as expected after the click at " << where;
            if (by < 0) {
                EXPECT_EQ(viewable_windows(display_), before) << "a menu opened at " << where;
            }
        }
    EXPECT_EQ(menus, 12);
    close_and_expect_end();
}

// A text holding a run of four million letters without a blank (a blob of data), copied by another
// program while the clipboard watch is on (as the program starts), is pasted into the checker and
// marked as an unknown word; a click inside the run and Ctrl+A over the text each show the
// look-up's heading in the left panel cut short (its first 1,000 characters and an ellipsis fill
// the panel's upper part only); a letter typed into the run is in the text.
TEST_F(XvfbStart, ALongRunOfLettersIsPastedClickedTypedIntoAndSelected) {
    start_driven({.name = "long_run", .settings = "SPELL_CHECKER 1\r\nTRANSLATE_CLIPBOARD 1\r\n"});
    if (!ready()) return;
    const std::string run(4'000'000, 'q');
    paste("Start " + run + " end.");
    Picture pic = watch(win_, [&](const Picture& p) { return count_pixels(p, kText, unknown_word) >= 20; }, 100s);
    fs::path shot = shoot(pic, "jux-long-run.png");
    ASSERT_GE(count_pixels(pic, kText, unknown_word), 20u) << "the run is not marked; see " << shot;

    // The heading written across the left panel's middle, its lower part empty.
    const auto ink = [](int r, int g, int b) { return r + g + b < 450; };
    const auto cut_heading = [&](const Picture& p) {
        return count_pixels(p, {0.03, 0.40, 0.30, 0.45}, ink) >= 200 && count_pixels(p, {0.03, 0.40, 0.85, 0.95}, ink) == 0;
    };
    click(kTextX, kTextY);
    pic = watch(win_, cut_heading, 180s);
    shot = shoot(pic, "jux-long-run-click.png");
    EXPECT_TRUE(cut_heading(pic)) << "a click inside the run; see " << shot;

    // The letter typed at the click, copied with the letters before it on its line.
    type("x");
    std::string line;
    wait_until(
        [&] {
            key({"shift+Home", "ctrl+c"});
            line = clipboard_text(display_);
            return line.size() > 1 && line.back() == 'x' && line.find_first_not_of('q') == line.size() - 1;
        },
        180s, 500ms);
    EXPECT_TRUE(line.size() > 1 && line.substr(line.size() - 2) == "qx") << line.substr(0, 80);

    // Ctrl+A: the whole text shows selected, the heading is cut as well.
    const auto selected = [](int r, int g, int b) { return r <= 80 && g >= 100 && g <= 170 && b >= 150; };
    const auto all_selected = [&](const Picture& p) { return count_pixels(p, kText, selected) >= 20'000 && cut_heading(p); };
    key({"ctrl+a"});
    pic = watch(win_, all_selected, 180s);
    shot = shoot(pic, "jux-long-run-select-all.png");
    EXPECT_TRUE(all_selected(pic)) << "Ctrl+A; see " << shot;
    close_and_expect_end();
}
