#pragma once

// The SVG renderer process's side (kelmor-svg-render): the limits it lives under and the loop
// that answers the program's requests (svg_render_protocol.h) with the drawing code of svg.h.

#include <cstddef>

namespace kelmor::svgrender {

// The renderer's address space is limited (not under AddressSanitizer or ThreadSanitizer, which
// reserve terabytes of it), so that it and the program each stay under the 500 MB a command may
// take: the largest picture (256 MiB) and the libraries fit, a second picture-sized surface for a
// filter does not.
inline constexpr long long kAddressSpaceBytes = 448LL << 20;
// Each document may take this much CPU time: a timer on the process's CPU time ends it there
// (SIGPROF), and RLIMIT_CPU (SIGXCPU) soon after should the timer not.
inline constexpr double kCpuSecondsPerDocument = 1.5;
// A renderer whose resident memory once reached this, or whose shared memory holds a picture
// past the second figure, retires after its answer, leaving what it kept of a large picture
// behind.
inline constexpr long long kRetireResidentBytes = kAddressSpaceBytes / 4;
inline constexpr std::size_t kRetireSharedBytes = std::size_t{16} << 20;

// Sets the address space limit and no core file.
void applyRendererLimits();

// Answers requests read from `in` on `out` until the input ends (exit status 0), a request is
// malformed (1), or the renderer retires (0). Pictures are drawn into the memory file `pixels`
// shared with the program.
int serveRequests(int in, int out, int pixels);

} // namespace kelmor::svgrender
