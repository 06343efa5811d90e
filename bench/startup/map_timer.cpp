// Starts a program on the X display and prints the milliseconds from its start to
// the moment its first top-level window is mapped, then ends the program and prints
// the processor time it used (user and system), which a busy machine disturbs less.
//   startup-timer PROGRAM [ARGS...]    ->  "WALL_MS CPU_MS"
// The clock starts just before the program is forked and stops at the MapNotify
// that the X server sends for a new child of the root window (pop-ups, which set
// override-redirect, do not count).
#include <X11/Xlib.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 20000;

// Waits for the first top-level map; false when the program ended or the time ran out.
bool waitForMap(Display* display, pid_t child) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return true;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "startup-timer: the program ended before it showed a window\n");
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            std::fprintf(stderr, "startup-timer: no window within %d ms\n", kTimeoutMs);
            return false;
        }
        // Short slices, so that a program ending without a window is noticed.
        if (poll(&connection, 1, static_cast<int>(std::min<long>(left.count(), 50))) < 0 &&
            errno != EINTR)
            return false;
    }
}

double milliseconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

// Ends the program at once and returns the processor milliseconds it used.
double endProgram(pid_t child) {
    kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup-timer PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup-timer: cannot open the X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("startup-timer: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[1], argv + 1);
        std::perror("startup-timer: exec");
        _exit(127);
    }
    const bool mapped = waitForMap(display, child);
    const auto end = std::chrono::steady_clock::now();
    const double cpu = endProgram(child);
    XCloseDisplay(display);
    if (!mapped)
        return 1;
    std::printf("%.2f %.2f\n", std::chrono::duration<double, std::milli>(end - start).count(), cpu);
    return 0;
}
