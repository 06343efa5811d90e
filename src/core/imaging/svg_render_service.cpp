#include "imaging/svg_render_service.h"

#include "base/atomic_file.h"
#include "base/error.h"
#include "base/messages.h"
#include "imaging/svg.h"
#include "imaging/svg_render_protocol.h"

#include <cerrno>
#include <malloc.h>
#include <new>
#include <string>
#include <string_view>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELMOR_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KELMOR_ADDRESS_SANITIZER 1
#endif

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

// Draws or measures the document as the request asks; the pixels go into `image`.
Answer answer(const Request& request, std::string_view document, RgbaImage& image) {
    Answer answer;
    PictureSize intrinsic;
    switch (request.mode) {
    case Mode::Measure:
        intrinsic = measureSvg(document).size;
        break;
    case Mode::Render:
        image = renderSvg(document, {request.maxPixels, request.maxPixels});
        intrinsic = {image.width, image.height};
        break;
    case Mode::Fitted:
        image = renderSvgFitted(document, static_cast<int>(request.edge), &intrinsic);
        break;
    }
    answer.status = Status::Drawn;
    answer.intrinsicWidth = intrinsic.width;
    answer.intrinsicHeight = intrinsic.height;
    answer.width = image.width;
    answer.height = image.height;
    answer.payloadBytes = image.pixels.size();
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
Served serveOne(int in, int out, bool& retiring) {
    Request request;
    const std::size_t got = readUpTo(in, &request, sizeof request);
    if (got == 0)
        return Served::InputEnded;
    if (got < sizeof request || !validRequest(request))
        return Served::Broken;
    std::string document(request.documentBytes, '\0');
    if (readUpTo(in, document.data(), document.size()) < document.size())
        return Served::Broken;
    RgbaImage image;
    Answer reply;
    std::string message;
    limitCpuTime(kCpuSecondsPerDocument);
    try {
        reply = answer(request, document, image);
    } catch (const Error& error) {
        message = std::string(error.what()).substr(0, kMaxMessageBytes);
    } catch (const std::bad_alloc&) {
        // The address space limit refused the picture or what drawing it takes.
        message = msg::kImageTooLarge;
    }
    limitCpuTime(0);
    if (reply.status == Status::Refused)
        reply.payloadBytes = message.size();
    retiring = holdsMuchMemory();
    reply.retiring = retiring ? 1 : 0;
    const std::string_view payload =
        reply.status == Status::Drawn
            ? std::string_view(reinterpret_cast<const char*>(image.pixels.data()),
                               image.pixels.size())
            : std::string_view(message);
    const bool written =
        writeAllBytes(out, {reinterpret_cast<const char*>(&reply), sizeof reply}) &&
        writeAllBytes(out, payload);
    return written ? Served::Answered : Served::Broken;
}

} // namespace

void applyRendererLimits() {
    ::mallopt(M_ARENA_MAX, 2);
#ifndef KELMOR_ADDRESS_SANITIZER
    const rlimit addressSpace{kAddressSpaceBytes, kAddressSpaceBytes};
    ::setrlimit(RLIMIT_AS, &addressSpace);
#endif
    const rlimit core{0, 0};
    ::setrlimit(RLIMIT_CORE, &core);
    ::prctl(PR_SET_DUMPABLE, 0);
}

int serveRequests(int in, int out) {
    for (bool retiring = false; !retiring;) {
        switch (serveOne(in, out, retiring)) {
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
