#include "imaging/svg_render_service.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/sanitizer_build.h"
#include "imaging/svg.h"
#include "imaging/svg_render_protocol.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <unistd.h>

namespace kelmor::svgrender {
namespace {

// Reads `size` bytes; fewer only when the input ends or fails.
std::size_t readUpTo(int fd, void* data, std::size_t size) {
    auto* const start = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, start + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

// Gives the next document `seconds` of CPU time from now; 0 disarms the timer.
void limitCpuTime(double seconds) {
    const auto microseconds = static_cast<long>(seconds * 1e6);
    itimerval timer{};
    timer.it_value = {microseconds / 1000000, microseconds % 1000000};
    ::setitimer(ITIMER_PROF, &timer, nullptr);
    if (seconds == 0)
        return;
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const rlim_t used = static_cast<rlim_t>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec);
    const rlimit cpu{used + static_cast<rlim_t>(seconds) + 2, RLIM_INFINITY};
    ::setrlimit(RLIMIT_CPU, &cpu);
}

bool holdsMuchMemory() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024LL >= kRetireResidentBytes;
}

// The memory shared with the program, grown to the largest picture drawn so far and mapped
// again only when it grows. Grown memory comes back as zero pages, which the system fills only
// where the drawing touches them, rather than cleared byte by byte; memory reused is cleared.
class SharedPixels {
public:
    explicit SharedPixels(int fd) : fd_(fd) {}
    ~SharedPixels() { unmap(); }
    SharedPixels(const SharedPixels&) = delete;
    SharedPixels& operator=(const SharedPixels&) = delete;

    std::uint8_t* place(std::size_t bytes) {
        if (bytes <= mapped_) {
            std::memset(map_, 0, bytes);
            return map_;
        }
        // The program's seal forbids shrinking: the used part becomes a hole instead.
        const auto used = static_cast<off_t>(mapped_);
        unmap();
        if ((used > 0 &&
             ::fallocate(fd_, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 0, used) != 0) ||
            ::ftruncate(fd_, static_cast<off_t>(bytes)) != 0)
            throw std::bad_alloc();
        void* map = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
        if (map == MAP_FAILED)
            throw std::bad_alloc();
        map_ = static_cast<std::uint8_t*>(map);
        mapped_ = bytes;
        return map_;
    }
    std::size_t size() const { return mapped_; }

private:
    void unmap() {
        if (map_ != nullptr)
            ::munmap(map_, mapped_);
        map_ = nullptr;
        mapped_ = 0;
    }
    int fd_;
    std::uint8_t* map_ = nullptr;
    std::size_t mapped_ = 0;
};

// Draws or measures the document as the request asks, the pixels into the shared memory.
Answer answer(const Request& request, std::string_view document, SharedPixels& shared) {
    Answer answer;
    PictureSize intrinsic, drawn;
    const auto place = [&](int width, int height) {
        return shared.place(std::size_t(width) * height * 4);
    };
    switch (request.mode) {
    case Mode::Measure:
        intrinsic = measureSvg(document).size;
        break;
    case Mode::Render:
        drawn = renderSvgInto(document, {request.maxPixels, request.maxPixels}, 0, place);
        intrinsic = drawn;
        break;
    case Mode::Fitted:
        drawn = renderSvgInto(document, {}, static_cast<int>(request.edge), place, &intrinsic);
        break;
    }
    answer.status = Status::Drawn;
    answer.intrinsicWidth = intrinsic.width;
    answer.intrinsicHeight = intrinsic.height;
    answer.width = static_cast<std::int32_t>(drawn.width);
    answer.height = static_cast<std::int32_t>(drawn.height);
    return answer;
}

bool validRequest(const Request& request) {
    const bool knownMode = request.mode == Mode::Measure || request.mode == Mode::Render ||
                           request.mode == Mode::Fitted;
    return request.magic == kRequestMagic && knownMode &&
           request.documentBytes <= kMaxDocumentBytes && request.maxPixels >= 0 &&
           (request.mode != Mode::Fitted || (request.edge >= 1 && request.edge <= 32767));
}

enum class Served { Answered, InputEnded, Broken };

// Reads one request and writes its answer. The input ending before a request is the program
// letting the renderer go.
Served serveOne(int in, int out, SharedPixels& shared, bool& retiring) {
    Request request;
    const std::size_t got = readUpTo(in, &request, sizeof request);
    if (got == 0)
        return Served::InputEnded;
    if (got < sizeof request || !validRequest(request))
        return Served::Broken;
    std::string document(request.documentBytes, '\0');
    if (readUpTo(in, document.data(), document.size()) < document.size())
        return Served::Broken;
    Answer reply;
    std::string message;
    limitCpuTime(kCpuSecondsPerDocument);
    try {
        reply = answer(request, document, shared);
    } catch (const Error& error) {
        message = std::string(error.what()).substr(0, kMaxMessageBytes);
    } catch (const std::bad_alloc&) {
        // The address space limit refused the picture or what drawing it takes.
        message = msg::kImageTooLarge;
    }
    limitCpuTime(0);
    reply.payloadBytes = message.size();
    retiring = holdsMuchMemory() || shared.size() > kRetireSharedBytes;
    reply.retiring = retiring ? 1 : 0;
    // One write, so that the program wakes once.
    std::string bytes(reinterpret_cast<const char*>(&reply), sizeof reply);
    bytes += message;
    return writeAllBytes(out, bytes) ? Served::Answered : Served::Broken;
}

} // namespace

void applyRendererLimits() {
#ifndef KELMOR_SANITIZER_SHADOW
    const rlimit addressSpace{kAddressSpaceBytes, kAddressSpaceBytes};
    ::setrlimit(RLIMIT_AS, &addressSpace);
#endif
    const rlimit core{0, 0};
    ::setrlimit(RLIMIT_CORE, &core);
    ::prctl(PR_SET_DUMPABLE, 0);
}

int serveRequests(int in, int out, int pixels) {
    SharedPixels shared(pixels);
    for (bool retiring = false; !retiring;) {
        switch (serveOne(in, out, shared, retiring)) {
        case Served::Answered:
            break;
        case Served::InputEnded:
            return 0;
        case Served::Broken:
            return 1;
        }
    }
    return 0;
}

} // namespace kelmor::svgrender
