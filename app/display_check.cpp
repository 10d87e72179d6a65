#include "app/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// Connects to a local X server's socket (the abstract one first, as Xvfb and Xorg offer both).
bool local_x_server_answers(int display) {
    const std::string path = "/tmp/.X11-unix/X" + std::to_string(display);
    for (bool abstract : {true, false}) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return true;  // cannot tell: let Qt try
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        size_t off = abstract ? 1 : 0;
        if (path.size() + off >= sizeof(addr.sun_path)) {
            ::close(fd);
            return true;
        }
        std::memcpy(addr.sun_path + off, path.data(), path.size());
        socklen_t len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + off + path.size() + (abstract ? 0 : 1));
        const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0;
        ::close(fd);
        if (ok) return true;
    }
    return false;
}

}  // namespace

std::string display_problem() {
    if (!env("QT_QPA_PLATFORM").empty()) return {};
    if (!env("WAYLAND_DISPLAY").empty()) return {};
    const std::string display = env("DISPLAY");
    if (display.empty())
        return "jux: no display: neither DISPLAY nor WAYLAND_DISPLAY is set; start it in a desktop session";
    // ":N" or ":N.S" is a local server whose socket we can try; other forms are left to Qt.
    if (display[0] == ':') {
        std::string_view num(display);
        num.remove_prefix(1);
        num = num.substr(0, num.find('.'));
        if (!num.empty() && num.size() < 6 && num.find_first_not_of("0123456789") == std::string_view::npos &&
            !local_x_server_answers(std::atoi(std::string(num).c_str())))
            return "jux: cannot open display " + display + ": no X server answers there";
    }
    return {};
}
