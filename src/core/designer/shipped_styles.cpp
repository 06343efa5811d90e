#include "designer/shipped_styles.h"

namespace kelmor {

std::span<const ShippedStyle> shippedStyles() {
    // One {name, text} entry per data/styles/*.ini file, written by CMake.
    static constexpr ShippedStyle styles[] = {
#include "shipped_styles.inc"
    };
    return styles;
}

} // namespace kelmor
