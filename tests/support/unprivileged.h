// Runs a piece of a test with the rights of an ordinary user, so that permission bits hold (the
// tests may run as root, for whom every folder is writable).
#pragma once

#include <filesystem>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace jux_test {

inline constexpr uid_t kOrdinaryUser = 65534;  // "nobody"

// Gives `path` to the ordinary user when the tests run as root (so that the body can write there).
inline void give_to_ordinary_user(const std::filesystem::path& path) {
    if (getuid() == 0) [[maybe_unused]] int r = chown(path.c_str(), kOrdinaryUser, kOrdinaryUser);
}

// Runs `body` in a child process - as the ordinary user when the tests run as root - and returns
// its exit status (its result), or -1 when it did not end normally.
inline int run_unprivileged(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (getuid() == 0 && (setgid(kOrdinaryUser) != 0 || setuid(kOrdinaryUser) != 0)) _exit(125);
        _exit(body());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace jux_test
