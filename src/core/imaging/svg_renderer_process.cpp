#include "imaging/svg_renderer_process.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/svg_render_protocol.h"
#include "imaging/svg_render_service.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace kelmor {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr const char* kRendererName = "kelmor-svg-render";
// How long one answer may take in wall time; the renderer's own CPU limit comes first unless it
// is stuck without running.
constexpr auto kAnswerTimeout = std::chrono::seconds(10);
// Renderers kept for the next document, one per thread drawing at once.
constexpr std::size_t kKeptRenderers = 4;

// Waits until `fd` is ready for `events` (or hung up); false once the deadline has passed.
bool waitReady(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{fd, events, 0};
        const int count = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (count > 0)
            return true;
        if (count < 0 && errno != EINTR)
            return false;
    }
}

bool sendAll(int fd, const void* data, std::size_t size, Clock::time_point deadline) {
    const auto* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(fd, at, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            at += sent;
            size -= static_cast<std::size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && errno == EAGAIN && waitReady(fd, POLLOUT, deadline)) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

bool receiveAll(int fd, void* data, std::size_t size, Clock::time_point deadline) {
    auto* at = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::recv(fd, at, size, MSG_DONTWAIT);
        if (got > 0) {
            at += got;
            size -= static_cast<std::size_t>(got);
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else if (got < 0 && errno == EAGAIN && waitReady(fd, POLLIN, deadline)) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

// What came back for one request.
struct Reply {
    svgrender::Answer answer;
    RgbaImage image;
    std::string message;
};

// The spawn's file actions and attributes, released however the spawn ends.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// One renderer: its process and the socket that is its standard input and output.
class RendererProcess {
public:
    static std::unique_ptr<RendererProcess> start(const std::string& program);
    RendererProcess(std::string program, pid_t pid, FileDescriptor socket)
        : program_(std::move(program)), pid_(pid), socket_(std::move(socket)) {}
    RendererProcess(const RendererProcess&) = delete;
    RendererProcess& operator=(const RendererProcess&) = delete;
    ~RendererProcess() { end(); }

    enum class Outcome { Answered, Failed, OutOfMemory };
    // Sends the request and reads its answer in time. When the renderer fails (or answers what
    // was not asked) it is ended, and the outcome tells whether it ran out of memory.
    Outcome exchange(const svgrender::Request& request, std::string_view document, Reply& reply);
    // Whether the process has ended by itself since its last answer.
    bool ended();
    const std::string& program() const { return program_; }

private:
    // Ends the process; true when it had ended by running out of memory.
    bool end();

    std::string program_;
    pid_t pid_;
    FileDescriptor socket_;
};

std::unique_ptr<RendererProcess> RendererProcess::start(const std::string& program) {
    const auto missing = [&] {
        return SvgRendererMissing(
            format(msg::kSvgRendererMissing, program.empty() ? kRendererName : program));
    };
    int pair[2];
    if (program.empty() || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        throw missing();
    FileDescriptor ours(pair[0]), theirs(pair[1]);
    SpawnSetup setup;
    posix_spawn_file_actions_adddup2(&setup.actions, theirs.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, theirs.get(), STDOUT_FILENO);
    // What librsvg prints on its way down is no message for the user; no other descriptor of
    // the caller's reaches the renderer.
    posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1);
    // The renderer starts with no signal blocked and the default actions for the ones its
    // limits and its socket raise, whatever the calling thread had.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGPROF, SIGXCPU, SIGSEGV, SIGABRT})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string name = program;
    char* argv[] = {name.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes, argv, environ) != 0)
        throw missing();
    return std::make_unique<RendererProcess>(program, pid, std::move(ours));
}

RendererProcess::Outcome RendererProcess::exchange(const svgrender::Request& request,
                                                   std::string_view document, Reply& reply) {
    const Clock::time_point deadline = Clock::now() + kAnswerTimeout;
    const int fd = socket_.get();
    svgrender::Answer& answer = reply.answer;
    if (!sendAll(fd, &request, sizeof request, deadline) ||
        !sendAll(fd, document.data(), document.size(), deadline) ||
        !receiveAll(fd, &answer, sizeof answer, deadline) ||
        answer.magic != svgrender::kAnswerMagic)
        return end() ? Outcome::OutOfMemory : Outcome::Failed;
    bool fits = false;
    if (answer.status == svgrender::Status::Refused) {
        fits = answer.payloadBytes <= svgrender::kMaxMessageBytes;
        if (fits) {
            reply.message.resize(answer.payloadBytes);
            fits = receiveAll(fd, reply.message.data(), reply.message.size(), deadline);
        }
    } else if (answer.width >= 0 && answer.height >= 0 &&
               withinImageLimits(answer.width, answer.height) &&
               answer.payloadBytes == std::uint64_t(answer.width) * answer.height * 4) {
        reply.image = answer.width > 0 && answer.height > 0
                          ? RgbaImage::blank(answer.width, answer.height)
                          : RgbaImage{};
        fits = receiveAll(fd, reply.image.pixels.data(), answer.payloadBytes, deadline);
    }
    if (!fits)
        return end() ? Outcome::OutOfMemory : Outcome::Failed;
    return Outcome::Answered;
}

bool RendererProcess::ended() {
    int status = 0;
    if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_)
        pid_ = 0;
    return pid_ == 0;
}

bool RendererProcess::end() {
    if (pid_ <= 0)
        return false;
    ::kill(pid_, SIGKILL);
    int status = 0;
    rusage usage{};
    while (::wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    pid_ = 0;
    // librsvg, GLib and the C++ runtime abort (GLib through a breakpoint trap) when an
    // allocation fails; with most of the address space resident, that was the memory limit.
    const bool aborted =
        WIFSIGNALED(status) && (WTERMSIG(status) == SIGABRT || WTERMSIG(status) == SIGTRAP);
    return aborted && usage.ru_maxrss * 1024LL >= svgrender::kAddressSpaceBytes * 3 / 4;
}

// The renderers kept between documents. One of another program than the one now chosen (the
// environment changed) is let go.
class RendererPool {
public:
    std::unique_ptr<RendererProcess> take() {
        const std::string program = svgRendererProgram();
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            while (!kept_.empty()) {
                std::unique_ptr<RendererProcess> process = std::move(kept_.back());
                kept_.pop_back();
                if (process->program() == program && !process->ended())
                    return process;
            }
        }
        return RendererProcess::start(program);
    }
    void keep(std::unique_ptr<RendererProcess> process) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (kept_.size() < kKeptRenderers)
            kept_.push_back(std::move(process));
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<RendererProcess>> kept_;
};

// Never destroyed: the renderers it keeps end by themselves when the program's end closes
// their sockets, whatever threads still draw while static objects go.
RendererPool& pool() {
    static RendererPool* const renderers = new RendererPool;
    return *renderers;
}

Reply askRenderer(const svgrender::Request& request, std::string_view document,
                  const std::string& file) {
    if (document.size() > svgrender::kMaxDocumentBytes)
        throw Error(format(msg::kFileTooLarge, file));
    std::unique_ptr<RendererProcess> process = pool().take();
    Reply reply;
    switch (process->exchange(request, document, reply)) {
    case RendererProcess::Outcome::Answered:
        break;
    case RendererProcess::Outcome::Failed:
        throw Error(format(msg::kSvgNotValid, file));
    case RendererProcess::Outcome::OutOfMemory:
        throw Error(msg::kImageTooLarge);
    }
    if (reply.answer.retiring == 0)
        pool().keep(std::move(process));
    if (reply.answer.status == svgrender::Status::Refused)
        throw Error(reply.message);
    return reply;
}

svgrender::Request requestOf(svgrender::Mode mode, std::string_view document) {
    svgrender::Request request;
    request.mode = mode;
    request.documentBytes = document.size();
    return request;
}

} // namespace

RgbaImage renderSvgApart(std::string_view bytes, const std::string& file,
                         const ImageLimits& limits) {
    svgrender::Request request = requestOf(svgrender::Mode::Render, bytes);
    request.maxPixels = limits.maxImagePixels;
    return std::move(askRenderer(request, bytes, file).image);
}

RgbaImage renderSvgFittedApart(std::string_view bytes, const std::string& file, int edge,
                               PictureSize* intrinsic) {
    svgrender::Request request = requestOf(svgrender::Mode::Fitted, bytes);
    request.edge = edge;
    Reply reply = askRenderer(request, bytes, file);
    if (intrinsic != nullptr)
        *intrinsic = {reply.answer.intrinsicWidth, reply.answer.intrinsicHeight};
    return std::move(reply.image);
}

PictureFileSize measureSvgApart(std::string_view bytes, const std::string& file) {
    const Reply reply = askRenderer(requestOf(svgrender::Mode::Measure, bytes), bytes, file);
    const PictureSize size{reply.answer.intrinsicWidth, reply.answer.intrinsicHeight};
    return {size, size.width * size.height};
}

std::string svgRendererProgram() {
    if (const char* chosen = std::getenv("KELMOR_SVG_RENDERER"); chosen && *chosen)
        return chosen;
    std::error_code error;
    const fs::path programFolder = fs::read_symlink("/proc/self/exe", error).parent_path();
    if (error)
        return {};
    for (const fs::path& folder :
         {programFolder, programFolder / KELMOR_SVG_RENDERER_FROM_PROGRAM}) {
        const fs::path candidate = folder / kRendererName;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.lexically_normal().string();
    }
    return {};
}

} // namespace kelmor
