// Helpers shared by the platform tests: a dialog procedure that records what it receives (and
// can react through a hook), a fixture that installs the headless backend, and a small template.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/headless.h"
#include "platform/window.h"

struct Received {
    HWND hwnd;
    Msg msg;
};

inline std::vector<Received> g_received;                      // every message, in order
inline std::function<INT_PTR(HWND, const Msg&)> g_on_message;  // the test's reaction, if any

inline INT_PTR RecordingProc(HWND h, const Msg& m) {
    g_received.push_back(Received{h, m});
    auto react = g_on_message;  // a reaction may replace the hook
    return react ? react(h, m) : 0;
}

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        hs = &headless_install();
        g_received.clear();
        g_on_message = nullptr;
    }
    void TearDown() override {
        platform_reset();
        g_on_message = nullptr;
    }

    // The messages of one kind received so far.
    static std::vector<Received> received(UINT message) {
        std::vector<Received> out;
        for (const Received& r : g_received)
            if (r.msg.message == message) out.push_back(r);
        return out;
    }

    HeadlessState* hs = nullptr;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// A visible dialog with a button 101, a check box 102 and a rich-edit panel 103.
inline DialogTemplate small_template(int id = 500) {
    DialogTemplate t;
    t.id = id;
    t.caption = u"Test";
    t.cx = 200;
    t.cy = 100;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    t.controls = {
        {ControlKind::PushButton, 101, u"OK", 10, 10, 40, 14, kChild | WS_TABSTOP},
        {ControlKind::CheckBox, 102, u"On", 10, 30, 40, 10, kChild | WS_TABSTOP},
        {ControlKind::RichEdit, 103, u"", 60, 10, 100, 60, kChild | ES_MULTILINE | WS_VSCROLL},
    };
    return t;
}
