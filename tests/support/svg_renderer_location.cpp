// Linked into every test and benchmark program: they live under the build's tests/ and bench/
// folders, not beside kelmor-svg-render, so they name the one this build made, unless
// KELMOR_SVG_RENDERER already names another. The variable also reaches the programs they run.
#include <cstdlib>

namespace {

[[maybe_unused]] const int kRendererNamed =
    ::setenv("KELMOR_SVG_RENDERER", KELMOR_BUILT_SVG_RENDERER, 0);

} // namespace
