#include "shell/memory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>

#include "platform/window.h"
#include "shell/files.h"
#include "shell/panels.h"
#include "shell/window_state.h"

namespace {

constexpr std::size_t kAlign = 16;
// Two header words in front of the block, rounded up to the alignment.
constexpr std::size_t kHeader = 2 * sizeof(void*) <= kAlign ? kAlign : 2 * sizeof(void*);

std::size_t alloc_limit = std::numeric_limits<std::size_t>::max();  // test seam, see header

constexpr std::string_view kLogText = "\r\nInsufficient memory, close some programs and try again\r\n\r\n";
constexpr std::string_view kBoxText =
    "Insufficient memory, do one of the following and try again:\r\n\r\n"
    "1. Close some programs and start the program again.\r\n"
    "2. Lower MAX_WORDS_IN_FILE and the MAX_TOKENS_IN_... options in settings.txt.\r\n"
    "3. Switch off the lists you do not need with the LOAD_... options in settings.txt.";

}  // namespace

void* jux_malloc(std::size_t size) {
    if (size > alloc_limit) return nullptr;
    if (size > std::numeric_limits<std::size_t>::max() - kHeader - kAlign) return nullptr;
    void* raw = std::malloc(size + kHeader + kAlign - 1);
    if (!raw) return nullptr;
    auto addr = reinterpret_cast<std::uintptr_t>(raw) + kHeader;
    addr = (addr + kAlign - 1) & ~static_cast<std::uintptr_t>(kAlign - 1);
    auto* block = reinterpret_cast<void*>(addr);
    static_cast<void**>(block)[-2] = raw;
    static_cast<std::size_t*>(block)[-1] = size;
    return block;
}

void jux_free(void* block) {
    if (!block) return;
    std::free(static_cast<void**>(block)[-2]);
}

std::size_t jux_msize(const void* block) {
    if (!block) return 0;
    return static_cast<const std::size_t*>(block)[-1];
}

std::string_view mallocexit_text() { return kBoxText; }

void mallocexit() {
    FILE* log = fl_stat ? fl_stat : stderr;
    std::fwrite(kLogText.data(), 1, kLogText.size(), log);
    std::fflush(log);
    try {
        JuxShowMessage(hMessagePanel, kLogText, 0);
    } catch (const std::bad_alloc&) {
        // Not even the line fits any more: the message box below still tells the user.
    }
    MessageBoxA(hMain, kBoxText, "Oops!", MB_OK | MB_ICONERROR);
    std::exit(1);
}

void* jux_malloc_or_exit(std::size_t size) {
    void* p = jux_malloc(size);
    if (!p) mallocexit();
    return p;
}

void jux_set_alloc_limit(std::size_t bytes) { alloc_limit = bytes; }

void reset_memory() { alloc_limit = std::numeric_limits<std::size_t>::max(); }
