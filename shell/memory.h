// shell/memory.h - the allocator of the program's large buffers and its one out-of-memory exit.
//
// Every large buffer (token stores, token-index tables, list texts) comes from jux_malloc and goes
// back through jux_free. A block is 16-byte aligned; the two machine words in front of it hold the
// raw pointer the system allocator returned and the requested size. jux_malloc answers null when
// memory is exhausted; its callers then call mallocexit, which tells the user and ends the process.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

// A 16-byte-aligned block of `size` bytes (uninitialised), or null when memory is exhausted.
// A request of 0 bytes gives a valid (empty) block.
void* jux_malloc(std::size_t size);
// Releases a block of jux_malloc; null is ignored.
void jux_free(void* block);
// The size that was requested for a block of jux_malloc (0 for null).
std::size_t jux_msize(const void* block);

// The out-of-memory exit: writes "\r\nInsufficient memory, close some programs and try again\r\n\r\n"
// to the statistics log and to the message panel (hMessagePanel, when a window set one), shows the
// "Oops!" message box with three remedies and ends the process with status 1.
[[noreturn]] void mallocexit();

// The text of the out-of-memory message box (code page 1251).
std::string_view mallocexit_text();

// jux_malloc that never answers null: exhaustion goes to mallocexit.
void* jux_malloc_or_exit(std::size_t size);

// Owning pointer for a jux_malloc block.
struct JuxFree {
    void operator()(void* p) const noexcept { jux_free(p); }
};
using JuxBlock = std::unique_ptr<char[], JuxFree>;

// Test seam: requests of more than `bytes` bytes answer null as if memory were exhausted
// (SIZE_MAX, the start value, lifts the limit). reset_memory() lifts it too.
void jux_set_alloc_limit(std::size_t bytes);
// The subsystem's reset for test fixtures.
void reset_memory();
