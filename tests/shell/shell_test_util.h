// Helpers of the shell tests: a fixture that starts every test from the subsystem's reset state with
// a fresh headless backend and a temporary folder (the shared helpers of tests/support).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/headless.h"
#include "platform/text.h"
#include "shell/reset.h"
#include "support/temp_folder.h"
#include "support/text.h"

using jux_test::cat;
using jux_test::cp;
using TempDir = jux_test::TempFolder;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_install();
        reset_shell();
    }
    void TearDown() override { reset_shell(); }
    TempDir dir;
};
