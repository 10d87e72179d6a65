// The fixture of the conformance suite: a fresh backend of the kind named by the test's parameter,
// one visible dialog with a rich-edit panel, a button and a check box, and a procedure that
// records every message it receives.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "support/temp_folder.h"
#include "tests/app/conformance/drivers.h"

class Conformance : public ::testing::TestWithParam<std::string> {
public:
    static constexpr int kPanel = 100;
    static constexpr int kButton = 101;
    static constexpr int kCheck = 102;

protected:
    void SetUp() override {
        current_ = this;
        driver = GetParam() == "qt" ? make_qt_driver() : make_headless_driver();
        driver->install();
        DialogTemplate t;
        t.caption = u"Проба";
        t.cx = 220;
        t.cy = 160;
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
        const DWORD panel = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE;
        t.controls.push_back(ControlTemplate{ControlKind::RichEdit, kPanel, u"", 5, 5, 210, 110, panel, 0});
        t.controls.push_back(ControlTemplate{ControlKind::PushButton, kButton, u"Go", 5, 125, 40, 14,
                                             WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0});
        t.controls.push_back(ControlTemplate{ControlKind::CheckBox, kCheck, u"Check", 50, 127, 60, 10,
                                             WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0});
        dlg = CreateDialogIndirect(t, {}, &Conformance::proc);
        ASSERT_TRUE(IsWindow(dlg));
        re = GetDlgItem(dlg, kPanel);
        ASSERT_TRUE(re);
    }

    void TearDown() override {
        platform_reset();
        qt_set_test_answers(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        temp_.reset();
        current_ = nullptr;
    }

    // ---- The recorded messages ----
    void clear_log() { log.clear(); }
    int count(UINT message, int id = -1, int code = -1) const {
        int n = 0;
        for (const Msg& m : log)
            if (m.message == message && (id < 0 || m.id == id) && (code < 0 || m.code == code)) ++n;
        return n;
    }
    const Msg* last_of(UINT message, int id = -1, int code = -1) const {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->message == message && (id < 0 || it->id == id) && (code < 0 || it->code == code)) return &*it;
        return nullptr;
    }

    // Runs `act` as the person's session inside PL_RunMessageLoop(accel, dlg): a posted message
    // starts it, and the loop ends when it is done.
    void run_in_loop(HACCEL accel, std::function<void()> act) {
        loop_action = std::move(act);
        Msg m = Msg::simple(WM_USER);
        ASSERT_TRUE(PostMessageW(dlg, m));
        EXPECT_EQ(PL_RunMessageLoop(accel, dlg), 7);
        loop_action = nullptr;
    }

    const std::filesystem::path& temp_dir() {
        if (!temp_) temp_.emplace("conformance");
        return temp_->path();
    }

    static INT_PTR proc(HWND h, const Msg& m) {
        Conformance* self = current_;
        if (!self) return 0;
        self->log.push_back(m);
        switch (m.message) {
            case WM_COMMAND:
                if (m.id == kPanel && m.code == EN_CHANGE && self->on_change) {
                    auto act = self->on_change;
                    act(m.from);
                }
                return 1;
            case WM_USER:
                if (self->loop_action) {
                    auto act = self->loop_action;
                    act();
                }
                PostQuitMessage(7);
                return 1;
            case WM_CLOSE:
                DestroyWindow(h);
                return 1;
            default:
                return 0;
        }
    }

    std::unique_ptr<Driver> driver;
    HWND dlg{};
    HWND re{};
    std::vector<Msg> log;
    std::function<void(HWND)> on_change;    // runs when the panel reports EN_CHANGE
    std::function<void()> loop_action;       // runs inside the message loop

private:
    static inline Conformance* current_ = nullptr;
    std::optional<jux_test::TempFolder> temp_;  // made when a test asks for it
};
