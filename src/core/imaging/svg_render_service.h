#pragma once

// The SVG renderer process's side (kelmor-svg-render): the limits it lives under and the loop
// that answers the program's requests (svg_render_protocol.h) with the drawing code of svg.h.

namespace kelmor::svgrender {

// The renderer's address space is limited (not under AddressSanitizer, which reserves terabytes
// of it), so that it and the program each stay under the 500 MB a command may take: the largest
// picture (256 MiB) and the libraries fit, a second picture-sized surface for a filter does not.
inline constexpr long long kAddressSpaceBytes = 448LL << 20;
// Each document may take this much CPU time: a timer on the process's CPU time ends it there
// (SIGPROF), and RLIMIT_CPU (SIGXCPU) soon after should the timer not.
inline constexpr double kCpuSecondsPerDocument = 1.5;
// A renderer whose resident memory once reached this retires after its answer, leaving what it
// kept of a large picture behind.
inline constexpr long long kRetireResidentBytes = kAddressSpaceBytes / 4;

// Sets the address space limit, no core file, and at most two malloc arenas, so that threads do
// not reserve the address space in arenas of their own.
void applyRendererLimits();

// Answers requests read from `in` on `out` until the input ends (exit status 0), a request is
// malformed (1), or the renderer retires (0).
int serveRequests(int in, int out);

} // namespace kelmor::svgrender
