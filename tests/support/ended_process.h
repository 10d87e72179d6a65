// A process number that no process runs any more, as a program killed while it wrote leaves in
// the names of its temporary files.
#pragma once

#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace jux_test {

// The number of a child that has ended and been reaped (as text, for file names).
inline std::string ended_process_id() {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    return std::to_string(gone);
}

}  // namespace jux_test
