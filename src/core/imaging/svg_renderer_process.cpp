#include "imaging/svg_renderer_process.h"

#include "base/error.h"
#include "base/messages.h"
#include "base/read_file.h"
#include "imaging/svg_render_protocol.h"
#include "imaging/svg_render_service.h"

#include <algorithm>
#include <array>
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
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
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

// Sends the two pieces, as one message where the socket takes them at once, so that the
// renderer wakes once.
bool sendAll(int fd, std::array<std::string_view, 2> pieces, Clock::time_point deadline) {
    std::size_t first = 0; // the first piece not sent whole
    while (first < pieces.size()) {
        std::array<iovec, 2> parts{};
        std::size_t count = 0;
        for (std::size_t i = first; i < pieces.size(); ++i)
            parts[count++] = {const_cast<char*>(pieces[i].data()), pieces[i].size()};
        msghdr message{};
        message.msg_iov = parts.data();
        message.msg_iovlen = count;
        const ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            auto left = static_cast<std::size_t>(sent);
            for (; first < pieces.size() && left >= pieces[first].size(); ++first)
                left -= pieces[first].size();
            if (first < pieces.size())
                pieces[first].remove_prefix(left);
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

// Reads `size` bytes from the start of the file.
bool readAt(int fd, std::uint8_t* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t got = ::pread(fd, data + done, size - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// The descriptor itself when it is at least `lowest`, else a copy of it there: what the renderer
// receives must not sit where its standard descriptors or its memory file go.
FileDescriptor atLeast(FileDescriptor fd, int lowest) {
    if (fd.get() >= lowest)
        return fd;
    return FileDescriptor(::fcntl(fd.get(), F_DUPFD_CLOEXEC, lowest));
}

// The renderer's environment: the program's, with one malloc arena for all its threads and 16 MiB
// kept at the top of the heap. Arenas of librsvg's worker threads would reserve address space of
// their own within the limit; a heap trimmed after every picture faults its pages in again for
// the next (that made drawing a blurred badge half as slow again).
std::vector<char*> rendererEnvironment() {
    static char arenas[] = "MALLOC_ARENA_MAX=1";
    static char topPad[] = "MALLOC_TOP_PAD_=16777216";
    std::vector<char*> variables{arenas, topPad};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string_view text(*variable);
        if (!text.starts_with("MALLOC_ARENA_MAX=") && !text.starts_with("MALLOC_TOP_PAD_="))
            variables.push_back(*variable);
    }
    variables.push_back(nullptr);
    return variables;
}

// One renderer: its process, the socket that is its standard input and output, and the memory
// file it draws into.
class RendererProcess {
public:
    static std::unique_ptr<RendererProcess> start(const std::string& program);
    RendererProcess(std::string program, pid_t pid, FileDescriptor socket, FileDescriptor pixels)
        : program_(std::move(program)), pid_(pid), socket_(std::move(socket)),
          pixels_(std::move(pixels)) {}
    RendererProcess(const RendererProcess&) = delete;
    RendererProcess& operator=(const RendererProcess&) = delete;
    ~RendererProcess() {
        end();
        if (map_ != nullptr)
            ::munmap(map_, mapped_);
    }

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
    // Copies the drawn picture out of the memory file; false when it does not hold it.
    bool copyPixels(const svgrender::Answer& answer, RgbaImage& image);

    std::string program_;
    pid_t pid_;
    FileDescriptor socket_;
    // The memory file can only grow (it is sealed so), so what is mapped of it stays readable;
    // it is mapped again when a picture needs more.
    FileDescriptor pixels_;
    void* map_ = nullptr;
    std::size_t mapped_ = 0;
};

std::unique_ptr<RendererProcess> RendererProcess::start(const std::string& program) {
    const auto missing = [&] {
        return SvgRendererMissing(
            format(msg::kSvgRendererMissing, program.empty() ? kRendererName : program));
    };
    int pair[2];
    if (program.empty() || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        throw missing();
    FileDescriptor ours(pair[0]);
    const FileDescriptor theirs = atLeast(FileDescriptor(pair[1]), STDERR_FILENO + 1);
    FileDescriptor pixels = atLeast(
        FileDescriptor(::memfd_create("kelmor-svg-pixels", MFD_CLOEXEC | MFD_ALLOW_SEALING)),
        svgrender::kPixelsDescriptor + 1);
    if (theirs.get() < 0 || pixels.get() < 0 ||
        ::fcntl(pixels.get(), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_SEAL) != 0)
        throw missing();
    SpawnSetup setup;
    posix_spawn_file_actions_adddup2(&setup.actions, theirs.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, theirs.get(), STDOUT_FILENO);
    // What librsvg prints on its way down is no message for the user; no other descriptor of
    // the caller's reaches the renderer.
    posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, pixels.get(), svgrender::kPixelsDescriptor);
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, svgrender::kPixelsDescriptor + 1);
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
    std::vector<char*> environment = rendererEnvironment();
    if (::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes, argv,
                      environment.data()) != 0)
        throw missing();
    return std::make_unique<RendererProcess>(program, pid, std::move(ours), std::move(pixels));
}

RendererProcess::Outcome RendererProcess::exchange(const svgrender::Request& request,
                                                   std::string_view document, Reply& reply) {
    const Clock::time_point deadline = Clock::now() + kAnswerTimeout;
    const int fd = socket_.get();
    svgrender::Answer& answer = reply.answer;
    const std::string_view record(reinterpret_cast<const char*>(&request), sizeof request);
    if (!sendAll(fd, {record, document}, deadline) ||
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
    } else {
        fits = answer.payloadBytes == 0 && copyPixels(answer, reply.image);
    }
    if (!fits)
        return end() ? Outcome::OutOfMemory : Outcome::Failed;
    return Outcome::Answered;
}

bool RendererProcess::copyPixels(const svgrender::Answer& answer, RgbaImage& image) {
    if (answer.width < 0 || answer.height < 0 || !withinImageLimits(answer.width, answer.height))
        return false;
    const std::size_t bytes = std::size_t(answer.width) * answer.height * 4;
    if (bytes == 0)
        return true;
    image.width = answer.width;
    image.height = answer.height;
    // A large picture is read rather than mapped: the program then holds its pixels once, not
    // also the renderer's pages (the renderer retires after it).
    if (bytes > svgrender::kRetireSharedBytes) {
        image.pixels.resize(bytes);
        return readAt(pixels_.get(), image.pixels.data(), bytes);
    }
    if (bytes > mapped_) {
        struct stat file {};
        if (::fstat(pixels_.get(), &file) != 0 || std::uint64_t(file.st_size) < bytes)
            return false;
        if (map_ != nullptr)
            ::munmap(map_, mapped_);
        mapped_ = static_cast<std::size_t>(file.st_size);
        map_ = ::mmap(nullptr, mapped_, PROT_READ, MAP_SHARED, pixels_.get(), 0);
        if (map_ == MAP_FAILED) {
            map_ = nullptr;
            mapped_ = 0;
            return false;
        }
    }
    const auto* const pixels = static_cast<const std::uint8_t*>(map_);
    image.pixels.assign(pixels, pixels + bytes);
    return true;
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
    // The program holds the drawn pixels once, beside the caller's own copies of them: the
    // memory budget bounds the picture's size before the renderer draws a pixel.
    const std::int64_t perPixel = 4 + limits.bytesPerPixelAfter;
    request.maxPixels = std::min(limits.maxImagePixels, limits.maxBytes / perPixel);
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
